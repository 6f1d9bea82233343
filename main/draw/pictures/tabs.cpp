// The folder tab labels and the frame of the horizontal nutrient tubes.

#include "main/draw/pictures/drawing.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pixels.h"

#include <QPainter>
#include <QPainterPath>

namespace pictures {
namespace {

using detail::drawText;

constexpr int kIcon = 24;

void target(QPainter& p)
{
    const QColor red(205, 30, 30);
    const QColor rings[] = {red, Qt::white, red, Qt::white, red};
    for (int i = 0; i < 5; ++i) {
        const double r = 11 - 2.2 * i;
        p.setPen(i == 0 ? QPen(QColor(120, 10, 10), 1) : Qt::NoPen);
        p.setBrush(rings[i]);
        p.drawEllipse(QPointF(11.5, 12.5), r, r);
    }
    // An arrow in the bull's eye, its shaft coming from the top right.
    p.setPen(QPen(QColor(70, 50, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(21.5, 2.5));
    p.setPen(QPen(QColor(30, 120, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 2.5), QPointF(23, 0.8));
    p.drawLine(QPointF(21.5, 4), QPointF(23.2, 1.5));
    p.drawLine(QPointF(18.6, 2), QPointF(21.5, 0.5));
    p.drawLine(QPointF(21.8, 5.4), QPointF(23.5, 3));
}

void notepad(QPainter& p)
{
    p.setPen(QPen(QColor(120, 100, 40), 1));
    p.setBrush(QColor(255, 240, 140));
    p.drawRect(QRectF(3.5, 3.5, 16, 19));
    p.setPen(QPen(QColor(90, 130, 200), 1));
    for (int y = 9; y <= 19; y += 3)
        p.drawLine(QPointF(6, y + 0.5), QPointF(17, y + 0.5));
    // Spiral binding across the top.
    p.setPen(QPen(QColor(90, 90, 100), 1.2));
    p.setBrush(Qt::NoBrush);
    for (int x = 6; x <= 17; x += 3)
        p.drawEllipse(QRectF(x - 0.5, 1.5, 2, 4));
    // A pencil lying across the page.
    p.save();
    p.translate(17, 15);
    p.rotate(-50);
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(QColor(240, 170, 30));
    p.drawRect(QRectF(-2, -9, 4, 13));
    p.setBrush(QColor(240, 200, 160));
    p.drawPolygon(QPolygonF{{-2, 4}, {2, 4}, {0, 8}});
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-2, -11, 4, 2));
    p.restore();
}

void apple(QPainter& p)
{
    QPainterPath body;
    body.moveTo(12, 7);
    body.cubicTo(16, 3.5, 22.5, 5, 22, 12.5);
    body.cubicTo(21.5, 19, 17, 23.5, 14, 22.5);
    body.cubicTo(13, 22.2, 11, 22.2, 10, 22.5);
    body.cubicTo(7, 23.5, 2.5, 19, 2, 12.5);
    body.cubicTo(1.5, 5, 8, 3.5, 12, 7);
    QRadialGradient shade(QPointF(8, 10), 14);
    shade.setColorAt(0, QColor(255, 120, 100));
    shade.setColorAt(0.5, QColor(220, 30, 30));
    shade.setColorAt(1, QColor(140, 10, 10));
    p.setPen(QPen(QColor(110, 10, 10), 1));
    p.setBrush(shade);
    p.drawPath(body);
    p.setPen(QPen(QColor(100, 60, 20), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 7), QPointF(13.5, 1.5));
    QPainterPath leaf;
    leaf.moveTo(13.5, 3.5);
    leaf.cubicTo(15.5, 0, 20, 0.5, 21, 2);
    leaf.cubicTo(19, 4.5, 15.5, 5, 13.5, 3.5);
    p.setPen(QPen(QColor(30, 100, 30), 0.8));
    p.setBrush(QColor(70, 170, 50));
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(5.5, 9, 3, 5));
}

void wheel(QPainter& p)
{
    // A running wheel on its stand.
    const QPointF hub(12, 11);
    p.setPen(QPen(QColor(90, 90, 100), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hub, QPointF(5, 23));
    p.drawLine(hub, QPointF(19, 23));
    p.drawLine(QPointF(3, 23), QPointF(21, 23));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 90, 170), 2.2));
    p.drawEllipse(hub, 9.5, 9.5);
    p.setPen(QPen(QColor(30, 90, 170), 1));
    p.drawEllipse(hub, 6.5, 6.5);
    p.setPen(QPen(QColor(120, 160, 210), 1));
    for (int i = 0; i < 12; ++i) {
        QTransform t;
        t.translate(hub.x(), hub.y());
        t.rotate(30 * i);
        p.drawLine(t.map(QPointF(6.5, 0)), t.map(QPointF(9.5, 0)));
    }
    p.setPen(QPen(QColor(60, 60, 70), 1));
    for (int i = 0; i < 4; ++i) {
        QTransform t;
        t.translate(hub.x(), hub.y());
        t.rotate(45 + 90 * i);
        p.drawLine(t.map(QPointF(0, 0)), t.map(QPointF(6.5, 0)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 150, 20));
    p.drawEllipse(hub, 2, 2);
}

void chart(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRect(3, 2, 20, 20));
    const struct
    {
        int x, top;
        QColor colour;
    } bars[] = {{6, 13, QColor(40, 90, 200)}, {11, 8, QColor(220, 40, 40)}, {16, 11, QColor(40, 90, 200)}};
    for (const auto& b : bars) {
        p.setBrush(b.colour);
        p.drawRect(QRect(b.x, b.top, 4, 21 - b.top));
        p.setBrush(b.colour.lighter(150));
        p.drawRect(QRect(b.x, b.top, 1, 21 - b.top));
    }
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawLine(2, 2, 2, 22);
    p.drawLine(2, 22, 23, 22);
    p.setPen(QPen(QColor(20, 140, 40), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{4, 12}, {8.5, 9}, {13, 4.5}, {18, 7}, {22, 3}});
}

QImage tab(void (*icon)(QPainter&), const char* word, const Inks& inks, double ratio)
{
    QImage image = detail::blank(100, 30, ratio);
    QPainter p(&image);
    {
        QImage glyph = detail::blank(kIcon, kIcon, ratio);
        QPainter g(&glyph);
        g.setRenderHint(QPainter::Antialiasing);
        icon(g);
        g.end();
        p.drawImage(2, 3, glyph);
    }
    drawText(p, QRect(31, 0, 69, 30), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(word), inks.body(),
             13, true);
    return image;
}

// The sunken frame of a nutrient trough, one pixel around it, with marks
// below every 10 units and longer ones every 20 where the scale is labelled.
QImage horizontalTubeFrame(const Inks& inks, double ratio)
{
    QImage image = detail::blank(100, 30, ratio);
    QPainter p(&image);
    const QRect trough(3, 7, 78, 9);
    const QColor shadow(0x80, 0x80, 0x80);
    using draw::pixelLine;
    pixelLine(p, {trough.left() - 1, trough.top() - 1}, {trough.right() + 1, trough.top() - 1}, shadow);
    pixelLine(p, {trough.left() - 1, trough.top() - 1}, {trough.left() - 1, trough.bottom() + 1}, shadow);
    pixelLine(p, {trough.left(), trough.bottom() + 1}, {trough.right() + 1, trough.bottom() + 1}, Qt::white);
    pixelLine(p, {trough.right() + 1, trough.top()}, {trough.right() + 1, trough.bottom() + 1}, Qt::white);
    for (int unit = 0; unit <= 70; unit += 10) {
        const int x = trough.left() + unit;
        const int length = unit % 20 == 0 ? 4 : 2;
        pixelLine(p, {x, trough.bottom() + 3}, {x, trough.bottom() + 2 + length}, inks.scale());
    }
    return image;
}

} // namespace

ImageList imageList100x30(const Inks& inks, double ratio)
{
    ImageList list(QSize(100, 30), ratio);
    list.set(0, tab(target, "Ziele", inks, ratio));
    list.set(1, tab(notepad, "Notizen", inks, ratio));
    list.set(2, tab(apple, "Nahrung", inks, ratio));
    list.set(3, tab(wheel, "Aktivität", inks, ratio));
    list.set(4, tab(chart, "Statistik", inks, ratio));
    list.set(5, horizontalTubeFrame(inks, ratio));
    return list;
}

} // namespace pictures
