#pragma once

#include <array>

// Where the five folder tabs of the left strip lie for each open folder. The
// open folder's category panel hangs below its tab, so the tabs after the
// open one move down below it.
namespace draw {

struct TabPlace
{
    int pictureTop; // top row of the 100 × 30 label picture, drawn at x = 6
    int labelTop;   // top row of the 110 × 38 click label, at x = 3
};

// Rows first ... last, both included.
struct RowSpan
{
    int first;
    int last;
};

constexpr int kTabPictureX = 6;
constexpr int kTabLabelX = 3;
constexpr int kTabLabelWidth = 110;
constexpr int kTabLabelHeight = 38;
// A drawn tab starts this many rows above its label picture; a closed tab
// is kClosedTabRows high.
constexpr int kTabAbovePicture = 3;
constexpr int kClosedTabRows = 37;

// Places of tabs 1 ... 5 (indexes 0 ... 4) while folder `openFolder` is open.
// A folder outside 1 ... 5 counts as folder 1.
//
// The click labels follow the pictures except with folder 3 open, where the
// labels of tabs 4 and 5 sit 16 rows above their pictures: the lowest rows
// of drawn tab 4 then select folder 5.
std::array<TabPlace, 5> tabPlaces(int openFolder);

// The rows of the open tab, its category panel included.
RowSpan openTabRows(int openFolder);

// The rows of drawn tab `tab` (1 ... 5) while it is closed.
RowSpan closedTabRows(int openFolder, int tab);

} // namespace draw
