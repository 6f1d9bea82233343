#include "res/icon/appicon.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace appicon {
namespace {

Shape rect(double x, double y, double w, double h, QColor fill, double radius = 0)
{
    Shape s;
    s.rect = QRectF(x, y, w, h);
    s.radius = radius;
    s.fill = fill;
    return s;
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

const std::vector<Shape>& shapes()
{
    static const std::vector<Shape> all = [] {
        const QColor cover(0x2e, 0x7d, 0x4f);
        const QColor spine(0x1b, 0x4f, 0x31);
        const QColor page(0xfb, 0xf8, 0xee);
        const QColor ring(0xa0, 0xa8, 0xb0);
        const QColor heading(0x1c, 0x3a, 0x78);
        const QColor bar(0xe8, 0x76, 0x2c);
        const QColor goal(0xc6, 0x28, 0x28);
        return std::vector<Shape>{
            rect(1, 1, 14, 14, spine, 2), rect(3, 1, 12, 14, cover, 2), rect(4, 2, 10, 12, page),
            rect(2, 4, 3, 1, ring),       rect(2, 7, 3, 1, ring),       rect(2, 10, 3, 1, ring),
            rect(5, 3, 8, 1, heading),    rect(5, 5, 2, 8, bar),        rect(8, 8, 2, 5, bar),
            rect(11, 10, 2, 3, bar),      rect(4, 9, 10, 1, goal),
        };
    }();
    return all;
}

void paint(QPainter& painter, int size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / double(kGrid), size / double(kGrid));
    painter.setPen(Qt::NoPen);
    for (const Shape& s : shapes()) {
        painter.setBrush(s.fill);
        if (s.radius > 0)
            painter.drawRoundedRect(s.rect, s.radius, s.radius);
        else
            painter.drawRect(s.rect);
    }
    painter.restore();
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, size);
    painter.end();
    return image;
}

QIcon icon()
{
    QIcon result;
    for (int size : kSizes)
        result.addPixmap(QPixmap::fromImage(render(size)));
    return result;
}

QString svg()
{
    QString out;
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    out +=
        QStringLiteral(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 %1 %1\">\n")
            .arg(kGrid);
    for (const Shape& s : shapes()) {
        out +=
            QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                .arg(number(s.rect.x()), number(s.rect.y()), number(s.rect.width()), number(s.rect.height()));
        if (s.radius > 0)
            out += QStringLiteral(" rx=\"%1\" ry=\"%1\"").arg(number(s.radius));
        out += QStringLiteral(" fill=\"%1\"/>\n").arg(s.fill.name(QColor::HexRgb));
    }
    out += QStringLiteral("</svg>\n");
    return out;
}

} // namespace appicon
