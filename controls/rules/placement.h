#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of fixed size opens on its screen, and how large the
// program may draw itself there.
namespace placement {

struct Placement
{
    double scale;        // logical to device pixels
    QPoint frameTopLeft; // top left of the window manager's frame
};

// All lengths but `client` in one unit: device pixels while the program's
// scale is being chosen, logical pixels once it is set (desiredScale 1).
// `available` is the screen without its panels and docks, `frame` the
// window manager's frame (title bar included) around the client area of
// `client` logical pixels.
//
// The scale is `desiredScale` (the desktop's) where the framed window fits
// at it; otherwise the largest that fits, in hundredths, but never below 1
// (nor below a desired scale that is itself below 1). The framed window is
// centred in the available area; where it is larger than the area, its top
// left corner (the title bar) stays inside.
Placement place(QRect available, QSize client, QMargins frame, double desiredScale);

} // namespace placement
