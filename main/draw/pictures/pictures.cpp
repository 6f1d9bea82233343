#include "main/draw/pictures/pictures.h"

#include "controls/rules/contrast.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>

namespace pictures {
namespace {

constexpr int kGlyph = 30;

QColor readable(const QColor& designed, const Inks& inks, double minimum)
{
    return QColor::fromRgb(contrast::readableInk(designed.rgb() & 0xffffff, inks.background.rgb() & 0xffffff,
                                                 inks.paletteText.rgb() & 0xffffff, minimum));
}

// Paints its picture afresh for every size asked, so that a screen of any
// ratio gets it at its own resolution.
class DrawnIconEngine : public QIconEngine
{
public:
    DrawnIconEngine(QSize size, std::function<void(QPainter&)> draw) : m_size(size), m_draw(std::move(draw))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), shown);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        QPixmap drawn(size);
        drawn.fill(Qt::transparent);
        {
            QPainter p(&drawn);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(static_cast<double>(size.width()) / m_size.width(),
                    static_cast<double>(size.height()) / m_size.height());
            m_draw(p);
        }
        if (mode == QIcon::Disabled && QApplication::style()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(QIcon::Disabled, drawn, &option);
        }
        return drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new DrawnIconEngine(m_size, m_draw); }

private:
    QSize m_size;
    std::function<void(QPainter&)> m_draw;
};

void drawHelp(QPainter& p)
{
    // A blue disc with a white question mark.
    QRadialGradient shade(QPointF(11, 10), 16);
    shade.setColorAt(0, QColor(110, 160, 240));
    shade.setColorAt(1, QColor(20, 70, 170));
    p.setPen(QPen(QColor(10, 40, 110), 1));
    p.setBrush(shade);
    p.drawEllipse(QRectF(2.5, 2.5, 25, 25));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1));
    // Paper fed in at the back.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 2.5, 13, 11));
    // Body with a darker top.
    QLinearGradient body(0, 11, 0, 24);
    body.setColorAt(0, QColor(200, 200, 205));
    body.setColorAt(1, QColor(120, 120, 130));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 11.5, 25, 12), 2, 2);
    // Printed sheet coming out at the front, with lines.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 19.5, 15, 8));
    p.setPen(QColor(90, 90, 90));
    p.drawLine(QPointF(10, 22.5), QPointF(20, 22.5));
    p.drawLine(QPointF(10, 25), QPointF(17, 25));
    // A green lamp.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 200, 60));
    p.drawEllipse(QRectF(22, 14, 3, 3));
}

void drawTools(QPainter& p)
{
    // A wrench lying across a screwdriver.
    p.save();
    p.translate(15, 15);
    p.rotate(45);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(230, 180, 30));
    p.drawRoundedRect(QRectF(-2.5, -2, 5, 14), 1.5, 1.5); // handle
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(-1, -13, 2, 11)); // blade
    p.restore();
    p.save();
    p.translate(15, 15);
    p.rotate(-45);
    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-2, -6, 4, 19), 1.5, 1.5);
    QPainterPath head;
    head.addEllipse(QPointF(0, -9), 5.5, 5.5);
    QPainterPath jaw;
    jaw.addRect(QRectF(-2, -16, 4, 8));
    wrench = wrench.united(head).subtracted(jaw);
    p.setPen(QPen(QColor(40, 40, 50), 1));
    QLinearGradient steel(-5, 0, 5, 0);
    steel.setColorAt(0, QColor(235, 235, 240));
    steel.setColorAt(1, QColor(130, 130, 145));
    p.setBrush(steel);
    p.drawPath(wrench);
    p.restore();
}

void drawExit(QPainter& p)
{
    // An open door with an arrow leading out.
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(4.5, 3.5, 13, 24)); // frame
    p.setBrush(QColor(40, 30, 20));
    p.drawRect(QRectF(6.5, 5.5, 9, 21)); // dark opening
    QPolygonF door{{6.5, 5.5}, {12.5, 8.5}, {12.5, 28.5}, {6.5, 26.5}};
    p.setBrush(QColor(190, 130, 70));
    p.drawPolygon(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 30, 30));
    QPolygonF arrow{{15, 13}, {22, 13}, {22, 9}, {28.5, 15.5}, {22, 22}, {22, 18}, {15, 18}};
    p.drawPolygon(arrow);
}

} // namespace

QColor Inks::text(const QColor& designed) const
{
    return readable(designed, *this, contrast::kTextContrast);
}

QColor Inks::mark(const QColor& designed) const
{
    return readable(designed, *this, contrast::kMarkContrast);
}

Inks inksOn(const QPalette& palette, bool window)
{
    return window ? Inks{palette.color(QPalette::Window), palette.color(QPalette::WindowText)}
                  : Inks{palette.color(QPalette::Button), palette.color(QPalette::ButtonText)};
}

QIcon drawnIcon(QSize size, std::function<void(QPainter&)> draw)
{
    return QIcon(new DrawnIconEngine(size, std::move(draw)));
}

QIcon buttonGlyph(Button which)
{
    return drawnIcon(QSize(kGlyph, kGlyph), [which](QPainter& p) {
        switch (which) {
        case Button::Help:
            drawHelp(p);
            break;
        case Button::Printer:
            drawPrinter(p);
            break;
        case Button::Tools:
            drawTools(p);
            break;
        case Button::Exit:
            drawExit(p);
            break;
        }
    });
}

QIcon zoomGlyph(bool plus, const Inks& inks)
{
    const QColor handle = inks.mark(QColor(60, 40, 20));
    return drawnIcon(QSize(13, 13), [plus, handle](QPainter& p) {
        p.setPen(QPen(QColor(30, 30, 30), 1.4));
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QRectF(1, 1, 8, 8));
        p.setPen(QPen(handle, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.3, 8.3), QPointF(11.5, 11.5));
        p.setPen(QPen(Qt::black, 1.4));
        p.drawLine(QPointF(3, 5), QPointF(7, 5));
        if (plus)
            p.drawLine(QPointF(5, 3), QPointF(5, 7));
    });
}

QIcon smoothingGlyph(bool smooth, const Inks& inks)
{
    const QColor curve = inks.mark(QColor(20, 60, 170));
    return drawnIcon(QSize(13, 13), [smooth, curve](QPainter& p) {
        p.setPen(QPen(curve, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (smooth) {
            QPainterPath path(QPointF(1, 9));
            path.cubicTo(QPointF(4, 2), QPointF(8, 11), QPointF(12, 4));
            p.drawPath(path);
        } else {
            const QPointF jagged[] = {{1, 9}, {3, 3}, {5, 10}, {7, 2}, {9, 9}, {12, 4}};
            p.drawPolyline(jagged, 6);
        }
    });
}

} // namespace pictures
