#pragma once

#include <QColor>
#include <QPixmap>

// The quantity symbols of the food folder and the waste bins, drawn in code
// at `ratio` device pixels to the logical one; sizes are logical. The labels
// are drawn in `ink`.
namespace symbols {

// The picture strip of quantity symbol k (1 ... 11), 90 x 41: x 0-29 the
// weight (grams), x 30-59 the glass (millilitres), x 60-89 the fruit or
// cheese (pieces), each with its label.
QPixmap quantityStrip(int k, const QColor& ink = Qt::black, double ratio = 1);

// The picture of duration symbol k (1 ... 11): a stopwatch whose dial is
// filled for the minutes, with its label, 30 x 41. Symbol 1 is a strip of
// 60 x 41: x 0-29 the 180 minutes, x 30-59 a sun labelled 24 h for the
// whole-day entry.
QPixmap durationPicture(int k, const QColor& ink = Qt::black, double ratio = 1);

// A waste bin, 32 x 32, closed or with its lid lifted.
QPixmap bin(bool open, double ratio = 1);

} // namespace symbols
