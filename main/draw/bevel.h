#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

// The bevel pieces that every drawn frame of the main window is copied from,
// and the frames made of them. The sheet is 6 × 42:
//
//   rows  0 ...  4  top left corner of a raised frame (6 × 5)
//   rows  5 ...  9  bottom left corner
//   rows 10 ... 14  top right corner
//   rows 15 ... 19  bottom right corner
//   rows 20 ... 30  top left corner of a folder tab (6 × 11)
//   rows 31 ... 41  bottom left corner of a folder tab
//
// Straight edges are single rows or columns of the corners stretched along
// the edge: the top and bottom edges from column 4 of their corners, the
// left edge from row 3, the right edge from row 14, the tab's top and bottom
// edges from column 5 of its corners and its left edge from row 30.
namespace bevel {

struct Colours
{
    QColor face;
    QColor shadow;
};

constexpr int kSheetWidth = 6;
constexpr int kSheetHeight = 42;

// The sheet in the given colours, with white and black.
QImage drawSheet(const Colours& colours);

// A raised frame with rounded corners on the rows and columns of `frame`
// (its right and bottom edges included); the inside is face from the sheet
// for the five outer rows and columns and untouched further in. At least
// 12 × 10.
void raisedFrame(QPainter& p, const QImage& sheet, const QRect& frame);

// A folder tab on `rows` (first and last included) from x = `left` to
// `right`, rounded on the left and open on the right. At least 22 rows.
void tab(QPainter& p, const QImage& sheet, int left, int right, int firstRow, int lastRow);

// A separator line: shadow on (from, to), white one unit lower and to the
// right.
void separator(QPainter& p, const QColor& shadow, QPoint from, QPoint to);

} // namespace bevel
