#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

class QIcon;
class QPainter;

// The program's icon: a green diary with rings, its page showing three
// falling bars under a red goal line, the weight going down to the goal. It
// is drawn on a grid of 16 units, so that every edge falls on a whole pixel
// at 16, 32, 48 … 256 pixels; the same shapes give the pictures and the
// scalable file.
namespace appicon {

// A filled rectangle, in grid units, with rounded corners when radius > 0.
struct Shape
{
    QRectF rect;
    double radius = 0;
    QColor fill;
};

inline constexpr int kGrid = 16;

// The shapes, back to front.
const std::vector<Shape>& shapes();

// Paints the icon into the square (0, 0, size, size) of `painter`.
void paint(QPainter& painter, int size);
// The icon as a picture of size × size pixels with a transparent ground.
QImage render(int size);
// The icon in every size of the desktop's icon theme.
QIcon icon();
// The icon as a scalable vector graphic.
QString svg();

// The sizes installed as pictures.
inline const std::vector<int> kSizes{16, 22, 24, 32, 48, 64, 128, 256};

} // namespace appicon
