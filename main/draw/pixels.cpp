#include "main/draw/pixels.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace draw {
namespace {

int edge(int logical, qreal ratio)
{
    return qRound(logical * ratio);
}

// The device pixels of a line across logical pixels first ... last.
std::pair<int, int> lineSpan(int first, int last, qreal ratio)
{
    const int width = std::max(1, static_cast<int>(std::floor(ratio + 1e-9)));
    return {edge(first, ratio), edge(last, ratio) + width};
}

} // namespace

QRect deviceRect(const QRect& logical, qreal ratio)
{
    return QRect(QPoint(edge(logical.left(), ratio), edge(logical.top(), ratio)),
                 QPoint(edge(logical.right() + 1, ratio) - 1, edge(logical.bottom() + 1, ratio) - 1));
}

void pixelLine(QPainter& p, QPoint from, QPoint to, const QColor& colour)
{
    const QRect line = QRect(from, to).normalized();
    const qreal ratio = p.device()->devicePixelRatio();
    if (ratio == std::floor(ratio)) {
        p.fillRect(line, colour);
        return;
    }
    const auto [left, right] = lineSpan(line.left(), line.right(), ratio);
    const auto [top, bottom] = lineSpan(line.top(), line.bottom(), ratio);
    p.fillRect(QRectF(left / ratio, top / ratio, (right - left) / ratio, (bottom - top) / ratio), colour);
}

void pixelPoints(QPainter& p, const QPolygon& points, const QColor& colour)
{
    for (const QPoint& point : points)
        pixelLine(p, point, point, colour);
}

void pixelFrame(QPainter& p, const QRect& r, const QColor& colour)
{
    pixelLine(p, r.topLeft(), r.topRight(), colour);
    pixelLine(p, r.bottomLeft(), r.bottomRight(), colour);
    pixelLine(p, r.topLeft(), r.bottomLeft(), colour);
    pixelLine(p, r.topRight(), r.bottomRight(), colour);
}

} // namespace draw
