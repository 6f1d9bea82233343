#include "controls/accessibility.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace accessibility {
namespace {

struct Entry
{
    QAccessible::Role role = QAccessible::Window; // windows
    std::function<bool()> selected;               // page tabs
    std::function<void()> press;
    std::function<QString()> describe; // pictures
    QString told;                      // the description the tools last heard of
};

QHash<const QObject*, Entry>& registry()
{
    static QHash<const QObject*, Entry> entries;
    return entries;
}

const Entry* entryOf(const QObject* object)
{
    const auto it = registry().constFind(object);
    return it == registry().cend() ? nullptr : &it.value();
}

class PageTab : public QAccessibleWidget
{
public:
    explicit PageTab(QWidget* widget) : QAccessibleWidget(widget, QAccessible::PageTab) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        const Entry* entry = entryOf(object());
        s.selected = entry && entry->selected();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        const Entry* entry = entryOf(object());
        if (name == pressAction() && entry)
            entry->press();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

class Picture : public QAccessibleWidget
{
public:
    explicit Picture(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override
    {
        const Entry* entry = entryOf(object());
        if (t == QAccessible::Description && entry)
            return entry->describe();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    const Entry* entry = entryOf(object);
    if (!entry || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (entry->describe)
        return new Picture(widget);
    if (entry->selected)
        return new PageTab(widget);
    return new QAccessibleWidget(widget, entry->role);
}

// Tells the tools of a changed description after the picture was painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !QAccessible::isActive())
            return false;
        auto it = registry().find(watched);
        if (it == registry().end() || !it->describe)
            return false;
        const QString now = it->describe();
        if (now != it->told) {
            it->told = now;
            QAccessibleEvent changed(watched, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        }
        return false;
    }
};

void enter(QWidget* widget, Entry entry)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    if (!registry().contains(widget))
        QObject::connect(widget, &QObject::destroyed, [widget] { registry().remove(widget); });
    registry().insert(widget, std::move(entry));
    // An interface the toolkit made before (on a change of the widget's
    // text, for instance) gives way to this one; none of its roles is one of
    // these.
    QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(widget);
    if (cached && cached->role() != registry().value(widget).role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
}

} // namespace

void makePageTab(QWidget* widget, std::function<bool()> selected, std::function<void()> press)
{
    enter(widget, {QAccessible::PageTab, std::move(selected), std::move(press), {}, {}});
}

void makePicture(QWidget* widget, std::function<QString()> describe)
{
    const bool watched = registry().contains(widget);
    enter(widget, {QAccessible::Graphic, {}, {}, std::move(describe), {}});
    if (!watched)
        new PaintWatch(widget);
}

void makeWindow(QWidget* window)
{
    enter(window, {QAccessible::Window, {}, {}, {}, {}});
}

void pageTabChanged(QWidget* widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State selected;
    selected.selected = true;
    QAccessibleStateChangeEvent change(widget, selected);
    QAccessible::updateAccessibility(&change);
}

} // namespace accessibility
