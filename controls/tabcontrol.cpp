#include "controls/tabcontrol.h"

#include <QChildEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionTab>

#include <algorithm>

namespace {

// Blank pixels left and right of a caption.
constexpr int kCaptionPadding = 6;

} // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent)
{
    installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    const auto step = [this](int delta) {
        if (count() > 0)
            select((m_current + delta + count()) % count(), true);
    };
    auto* next = new QShortcut(QKeySequence::NextChild, this);
    next->setContext(Qt::WindowShortcut);
    connect(next, &QShortcut::activated, this, [step] { step(1); });
    auto* previous = new QShortcut(QKeySequence::PreviousChild, this);
    previous->setContext(Qt::WindowShortcut);
    connect(previous, &QShortcut::activated, this, [step] { step(-1); });
}

void TabControl::setTabs(const QStringList& captions)
{
    m_captions = captions;
    m_current = captions.isEmpty() ? -1 : 0;
    m_hot = -1;
    relayout();
}

void TabControl::setCurrentIndex(int index)
{
    if (index >= 0 && index < count())
        select(index, false);
}

void TabControl::activate(int index)
{
    if (index >= 0 && index < count())
        select(index, true);
}

int TabControl::tabAt(const QPoint& pos) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_layout.tabs[i].contains(pos))
            return i;
    }
    return -1;
}

QRect TabControl::pageRect() const
{
    // The selected tab stands on the page's top edge, so the two join.
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = std::max(0, m_layout.height - overlap);
    return QRect(0, top, width(), height() - top);
}

int TabControl::rowHeight() const
{
    return fontMetrics().height() + 7;
}

void TabControl::relayout()
{
    QList<int> widths;
    widths.reserve(count());
    for (const QString& caption : m_captions)
        widths.append(fontMetrics().horizontalAdvance(caption) + 2 * kCaptionPadding);
    m_layout = help::layoutTabRows(widths, width(), rowHeight(), m_current);
    update();
}

void TabControl::select(int index, bool byUser)
{
    if (index == m_current)
        return;
    const int previous = m_current;
    m_current = index;
    relayout();
    notifySelection(previous);
    // The rows may have moved under a resting mouse.
    setHot(underMouse() ? tabAt(mapFromGlobal(QCursor::pos())) : -1);
    if (byUser)
        emit changed();
}

void TabControl::setHot(int index)
{
    if (index == m_hot)
        return;
    m_hot = index;
    update();
}

void TabControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);

    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = pageRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarRect = tabRect(m_current);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);

    const auto rowEdge = [this](int i) { return i < 0 || i >= count() ? -1 : m_layout.tabs[i].y(); };
    const auto drawTab = [&](int i) {
        const QRect rect = m_layout.tabs[i];
        const bool selected = i == m_current;
        const bool firstInRow = rowEdge(i - 1) != rect.y();
        const bool lastInRow = rowEdge(i + 1) != rect.y();

        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (selected)
            tab.state |= QStyle::State_Selected;
        if (i == m_hot)
            tab.state |= QStyle::State_MouseOver;
        tab.shape = QTabBar::RoundedNorth;
        tab.rect = rect;
        tab.position = firstInRow && lastInRow ? QStyleOptionTab::OnlyOneTab
                       : firstInRow            ? QStyleOptionTab::Beginning
                       : lastInRow             ? QStyleOptionTab::End
                                               : QStyleOptionTab::Middle;
        if (!firstInRow && i - 1 == m_current)
            tab.selectedPosition = QStyleOptionTab::PreviousIsSelected;
        else if (!lastInRow && i + 1 == m_current)
            tab.selectedPosition = QStyleOptionTab::NextIsSelected;
        style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);

        QRect textRect = rect.adjusted(kCaptionPadding / 2, 0, -kCaptionPadding / 2, 0);
        if (!selected)
            textRect.translate(0, style()->pixelMetric(QStyle::PM_TabBarTabShiftVertical, &tab, this));
        const QString caption = fontMetrics().elidedText(m_captions[i], Qt::ElideRight, textRect.width());
        painter.setPen(palette().color(i == m_hot ? QPalette::Highlight : QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, caption);

        if (selected && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = textRect.adjusted(0, 3, 0, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    };
    // The selected tab last, over its neighbours and the page's edge.
    for (int i = 0; i < count(); ++i) {
        if (i != m_current)
            drawTab(i);
    }
    if (m_current >= 0)
        drawTab(m_current);
}

void TabControl::mousePressEvent(QMouseEvent* event)
{
    const int index = event->button() == Qt::LeftButton ? tabAt(event->position().toPoint()) : -1;
    if (index < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    select(index, true);
}

void TabControl::mouseMoveEvent(QMouseEvent* event)
{
    setHot(tabAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TabControl::leaveEvent(QEvent* event)
{
    setHot(-1);
    QWidget::leaveEvent(event);
}

void TabControl::keyPressEvent(QKeyEvent* event)
{
    if (count() == 0 || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        select(std::max(m_current - 1, 0), true);
        break;
    case Qt::Key_Right:
        select(std::min(m_current + 1, count() - 1), true);
        break;
    case Qt::Key_Home:
        select(0, true);
        break;
    case Qt::Key_End:
        select(count() - 1, true);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TabControl::resizeEvent(QResizeEvent* event)
{
    relayout();
    QWidget::resizeEvent(event);
}

void TabControl::childEvent(QChildEvent* event)
{
    // A pointer that moves from a tab straight onto a child on the page never
    // leaves this control, so the children report their enter events.
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    else if (event->removed())
        event->child()->removeEventFilter(this);
    QWidget::childEvent(event);
}

bool TabControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        setHot(-1);
    return QWidget::eventFilter(watched, event);
}

void TabControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        relayout();
    QWidget::changeEvent(event);
}
