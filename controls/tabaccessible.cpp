// The tab control as assistive tools see it: a page tab list whose tabs are
// page tabs with their captions, the selected one marked, each with a press
// action that selects it as a click does; the page's controls follow them.

#include "controls/tabcontrol.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace {

class PageTab : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PageTab(TabControl* control, int index) : m_control(control), m_index(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override { return m_control && m_index < m_control->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_control ? m_control->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_control); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_control->tabText(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_control->tabRect(m_index);
        return QRect(m_control->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const bool current = m_control->currentIndex() == m_index;
        s.selectable = true;
        s.focusable = true;
        s.selected = current;
        s.focused = current && m_control->hasFocus();
        s.invisible = !m_control->isVisible();
        s.disabled = !m_control->isEnabled();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            m_control->activate(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TabControl> m_control;
    int m_index;
};

class TabList : public QAccessibleWidget
{
public:
    explicit TabList(TabControl* control) : QAccessibleWidget(control, QAccessible::PageTabList) {}
    ~TabList() override
    {
        for (QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return control()->count() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0)
            return nullptr;
        if (index < control()->count())
            return tab(index);
        return QAccessibleWidget::child(index - control()->count());
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < control()->count() ? it.key() : -1;
        }
        const int page = QAccessibleWidget::indexOfChild(child);
        return page < 0 ? -1 : control()->count() + page;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int index = control()->tabAt(control()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? tab(index) : QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface* focusChild() const override
    {
        if (control()->hasFocus() && control()->currentIndex() >= 0)
            return tab(control()->currentIndex());
        return QAccessibleWidget::focusChild();
    }

private:
    TabControl* control() const { return static_cast<TabControl*>(widget()); }

    QAccessibleInterface* tab(int index) const
    {
        if (const auto it = m_tabs.constFind(index); it != m_tabs.cend())
            return QAccessible::accessibleInterface(it.value());
        auto* tab = new PageTab(control(), index);
        m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }

    mutable QHash<int, QAccessible::Id> m_tabs;
};

QAccessibleInterface* tabControlFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TabControl") && object && object->isWidgetType())
        return new TabList(static_cast<TabControl*>(object));
    return nullptr;
}

} // namespace

void TabControl::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(tabControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void TabControl::notifySelection(int previous)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State selected;
    selected.selected = true;
    for (int index : {previous, m_current}) {
        if (index < 0)
            continue;
        QAccessibleStateChangeEvent change(this, selected);
        change.setChild(index);
        QAccessible::updateAccessibility(&change);
    }
    if (hasFocus() && m_current >= 0) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_current);
        QAccessible::updateAccessibility(&focus);
    }
}
