#pragma once

#include <QColor>
#include <QPoint>
#include <QPolygon>
#include <QRect>

class QPainter;

// Lines of whole pixels for the drawn pictures. A pen is centred on its
// line, so on a picture of twice the ratio a line drawn with it falls half
// a pixel off the fills and copied pieces beside it; these fill the line's
// pixels instead, which every whole ratio maps onto whole device pixels. At
// a ratio of 1 they give the pixels of a one-pixel pen.
//
// At a fractional ratio (1.25) a logical pixel covers one device pixel or
// two. A line there is as wide as at the whole ratio below (one device pixel
// from 1 to 2) and starts at the first device pixel of its logical one, so
// that every line has the same width and one colour; its length runs to the
// end of such a line across its last pixel, so that lines meet at corners.
// Fills and copied pieces cover all device pixels of theirs.
namespace draw {

// The device pixels that a painter's fill of `logical` covers at `ratio`:
// each edge rounded to the nearest device pixel.
QRect deviceRect(const QRect& logical, qreal ratio);

// The horizontal or vertical line from `from` to `to`, both included.
void pixelLine(QPainter& p, QPoint from, QPoint to, const QColor& colour);
// Single pixels.
void pixelPoints(QPainter& p, const QPolygon& points, const QColor& colour);
// The border pixels of `r`: its top and bottom rows, left and right columns.
void pixelFrame(QPainter& p, const QRect& r, const QColor& colour);

} // namespace draw
