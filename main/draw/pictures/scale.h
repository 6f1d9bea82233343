#pragma once

#include <QImage>
#include <QPoint>

class QPainter;

// The bathroom scale of the right-hand panel, the scale pictures of
// ImageList45x45: 45 x 45 tiles, transparent around the drawing.
namespace pictures {

// Tiles 16 ... 19 are the four quarters of the face (upper left, upper
// right, lower left, lower right) with the class bands mager, dünn, normal,
// dick and fett; tiles 0 ... 15 are the needle at rest and in its fifteen
// readings from lightest to heaviest, each with the hub in the corner that
// lies on the face's centre. Other indexes give an empty tile. The tile is
// drawn at `ratio` device pixels to the logical one.
const QImage& scaleTile(int index, int ratio = 1);

// The face put together from its quarters with its upper left corner at
// `face`, and the needle tile `needle` at `needlePlace`, at the device pixel
// ratio of what `painter` draws on.
void drawScale(QPainter& painter, QPoint face, int needle, QPoint needlePlace);

// The position of the face's quarters in the right-hand picture.
constexpr QPoint kScaleFace{8, 51};

} // namespace pictures
