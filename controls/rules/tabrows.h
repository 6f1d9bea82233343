#pragma once

#include <QList>
#include <QRect>

// Geometry of a tab control whose tabs wrap into several rows above its page.
namespace help {

struct TabRows
{
    QList<QRect> tabs; // one per tab, in the control's coordinates
    int rows = 0;
    int height = 0; // of all rows together: the page begins below
};

// Lays out tabs of the given natural widths (pixels) in rows `width` pixels
// wide and `rowHeight` high, starting at the control's top edge:
// - tabs fill a row from the left in their order; a tab that no longer fits
//   begins the next row; a tab wider than a row gets a row of its own and is
//   cut to the row's width;
// - with more than one row, every row is stretched to the full width, its
//   spare pixels shared evenly by its tabs (the leftmost get one more when
//   they do not divide evenly); a single row keeps the natural widths;
// - the row holding tab `selected` lies at the bottom, next to the page; the
//   rows after it follow upwards and then the rows before it, so the rows
//   keep their cyclic order. With `selected` out of range the first row lies
//   at the bottom.
// No tabs give no rows.
TabRows layoutTabRows(const QList<int>& widths, int width, int rowHeight, int selected);

} // namespace help
