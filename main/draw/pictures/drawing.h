#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

class QPainter;
class QRect;

// What the pictures of the frame have in common: the face, the sixteen
// colours of the sprite sheet and a crisp text.
namespace pictures::detail {

// The sixteen colours of the classic palette, by their usual names.
namespace vga {
inline const QColor black{0x00, 0x00, 0x00};
inline const QColor maroon{0x80, 0x00, 0x00};
inline const QColor green{0x00, 0x80, 0x00};
inline const QColor olive{0x80, 0x80, 0x00};
inline const QColor navy{0x00, 0x00, 0x80};
inline const QColor purple{0x80, 0x00, 0x80};
inline const QColor teal{0x00, 0x80, 0x80};
inline const QColor grey{0x80, 0x80, 0x80};
inline const QColor silver{0xC0, 0xC0, 0xC0};
inline const QColor red{0xFF, 0x00, 0x00};
inline const QColor lime{0x00, 0xFF, 0x00};
inline const QColor yellow{0xFF, 0xFF, 0x00};
inline const QColor blue{0x00, 0x00, 0xFF};
inline const QColor fuchsia{0xFF, 0x00, 0xFF};
inline const QColor aqua{0x00, 0xFF, 0xFF};
inline const QColor white{0xFF, 0xFF, 0xFF};
} // namespace vga

// A transparent picture of `width` × `height` logical pixels, drawn at
// `ratio` device pixels to the logical one.
QImage blank(int width, int height, double ratio = 1);
QFont arial(int pixelSize, bool bold);
// `text` in `rect` with the alignment `flags`, fully hinted.
void drawText(QPainter& p, const QRect& rect, int flags, const QString& text, const QColor& colour,
              int pixelSize, bool bold);

} // namespace pictures::detail
