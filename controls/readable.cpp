#include "controls/readable.h"

#include "controls/rules/contrast.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOption>
#include <QTextCharFormat>

#include <initializer_list>

namespace readable {
namespace {

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive};
constexpr double kSmoothed = 0.5;

std::uint32_t rgb(const QColor& colour)
{
    return colour.rgb() & 0xffffff;
}

// `colour` shaded until it stands out from each of `grounds`, which lie on
// one side of it.
QColor shade(const QColor& colour, std::initializer_list<QColor> grounds,
             double minimum = contrast::kTextContrast)
{
    std::uint32_t shaded = rgb(colour);
    for (const QColor& ground : grounds) {
        if (contrast::contrastRatio(shaded, rgb(ground)) < minimum)
            shaded = contrast::readableShade(shaded, rgb(ground), minimum + kSmoothed);
    }
    return QColor::fromRgb(shaded);
}

class Follower : public QObject
{
public:
    Follower(QWidget& widget, std::function<void(QWidget&)> fit) : QObject(&widget), m_fit(std::move(fit))
    {
        widget.installEventFilter(this);
        m_fit(widget);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            m_fit(*static_cast<QWidget*>(watched));
        return false;
    }

private:
    std::function<void(QWidget&)> m_fit;
};

void correctApplicationPalette()
{
    const QPalette now = QApplication::palette();
    const QPalette readable = corrected(now);
    if (readable != now)
        QApplication::setPalette(readable);
}

class PaletteKeeper : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
            correctApplicationPalette();
        return false;
    }
};

// Draws the style's ring of a radio button again, on the circle the style
// draws it, in a shade that stands out from the window.
class RingStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element != PE_IndicatorRadioButton)
            return;
        const QColor window = option->palette.color(QPalette::Window);
        const QRect rect = option->rect;
        const qreal radius = (rect.width() + (rect.width() + 1) % 2) / 2.0 - 1;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(shade(window.darker(150), {window}, contrast::kMarkContrast));
        painter->drawEllipse(QPointF(rect.center() + QPoint(1, 1)), radius, radius);
        painter->restore();
    }
};

} // namespace

QPalette corrected(const QPalette& palette)
{
    QPalette readable = palette;
    for (const QPalette::ColorGroup group : kGroups) {
        for (const auto [text, ground] : {std::pair{QPalette::WindowText, QPalette::Window},
                                          {QPalette::ButtonText, QPalette::Button},
                                          {QPalette::Text, QPalette::Base}}) {
            const QColor ink = shade(palette.color(group, text), {palette.color(group, ground)});
            if (ink != palette.color(group, text))
                readable.setColor(group, text, ink);
        }
        // The style lays a tint of the selection over the text of a focused
        // cell (white becomes #e6f0f5 on #29769f): half a point more.
        const QColor selection =
            shade(palette.color(group, QPalette::Highlight),
                  {palette.color(group, QPalette::HighlightedText)}, contrast::kTextContrast + 0.5);
        if (selection != palette.color(group, QPalette::Highlight))
            readable.setColor(group, QPalette::Highlight, selection);
    }
    return readable;
}

void keepApplicationPalette()
{
    static PaletteKeeper* keeper = nullptr;
    if (keeper)
        return;
    keeper = new PaletteKeeper;
    keeper->setParent(qApp);
    qApp->installEventFilter(keeper);
    correctApplicationPalette();
}

void follow(QWidget& widget, std::function<void(QWidget&)> fit)
{
    new Follower(widget, std::move(fit));
}

void keepCaption(QWidget& button, const QColor& designed)
{
    follow(button, [designed](QWidget& w) {
        QPalette palette = w.palette();
        for (const QPalette::ColorGroup group : kGroups) {
            const QColor face = palette.color(group, QPalette::Button);
            palette.setColor(group, QPalette::ButtonText, shade(designed, {face, face.lighter(150)}));
        }
        if (palette != w.palette())
            w.setPalette(palette);
    });
}

void keepCalendar(QCalendarWidget& calendar)
{
    follow(calendar, [&calendar](QWidget&) {
        QPalette palette = calendar.palette();
        const std::initializer_list<QColor> grounds = {palette.color(QPalette::Base),
                                                       palette.color(QPalette::AlternateBase)};
        const QColor otherMonths = shade(palette.color(QPalette::Disabled, QPalette::Text), grounds);
        if (otherMonths != palette.color(QPalette::Disabled, QPalette::Text)) {
            palette.setColor(QPalette::Disabled, QPalette::Text, otherMonths);
            calendar.setPalette(palette);
        }
        for (const Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
            QTextCharFormat weekend = calendar.weekdayTextFormat(day);
            weekend.setForeground(shade(Qt::red, grounds));
            calendar.setWeekdayTextFormat(day, weekend);
        }
    });
}

void ringReadably(QRadioButton& button)
{
    auto* style = new RingStyle;
    style->setParent(&button);
    button.setStyle(style);
}

} // namespace readable
