#include "main/draw/pixels.h"

#include <QPainter>

namespace draw {

void pixelLine(QPainter& p, QPoint from, QPoint to, const QColor& colour)
{
    p.fillRect(QRect(from, to).normalized(), colour);
}

void pixelPoints(QPainter& p, const QPolygon& points, const QColor& colour)
{
    for (const QPoint& point : points)
        p.fillRect(QRect(point, QSize(1, 1)), colour);
}

void pixelFrame(QPainter& p, const QRect& r, const QColor& colour)
{
    pixelLine(p, r.topLeft(), r.topRight(), colour);
    pixelLine(p, r.bottomLeft(), r.bottomRight(), colour);
    pixelLine(p, r.topLeft(), r.bottomLeft(), colour);
    pixelLine(p, r.topRight(), r.bottomRight(), colour);
}

} // namespace draw
