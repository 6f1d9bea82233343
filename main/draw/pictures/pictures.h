#pragma once

#include "main/draw/rules/chart.h"

#include "main/draw/pictures/imagelist.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRect>

#include <functional>

class QPainter;

// Pictures of the program, drawn in code. Those that hold texts or marks
// lying on the window's face are drawn in Inks readable on it; every picture
// is drawn at the device pixel ratio it is asked for, and the icons at
// whatever size a screen asks of them.
namespace pictures {

// The colours of the texts and marks drawn on a background of the palette.
// Each keeps its designed colour where that stands out enough from the
// background (4.5 : 1 for text, 3 : 1 for marks) and otherwise takes the
// palette's own text colour.
struct Inks
{
    QColor background{0xef, 0xef, 0xef};
    QColor paletteText{0x00, 0x00, 0x00};

    QColor caption() const { return text(QColor(0x1c, 0x3a, 0x78)); }
    QColor body() const { return text(QColor(0x20, 0x20, 0x20)); }
    QColor scale() const { return text(QColor(0x40, 0x40, 0x40)); }
    QColor text(const QColor& designed) const;
    QColor mark(const QColor& designed) const;
};
// On the button face of `palette` (ButtonText its text) or, for `window`,
// on its window colour (WindowText).
Inks inksOn(const QPalette& palette, bool window = false);

// An icon that `draw` paints on a `size` square of logical pixels, scaled
// to the size asked for; the disabled form is the style's.
QIcon drawnIcon(QSize size, std::function<void(QPainter&)> draw);

// The glyphs of the four program buttons of the right-hand panel, 30 × 30.
enum class Button { Help, Printer, Tools, Exit };
QIcon buttonGlyph(Button which);

// The 13 x 13 glyphs of the chart's small buttons: a magnifier with a plus
// or a minus, and a smooth or a jagged curve for smoothing on or off.
QIcon zoomGlyph(bool plus, const Inks& inks = {});
QIcon smoothingGlyph(bool smooth, const Inks& inks = {});

// 100 × 30: the folder tab labels, an icon and the folder's word (0 Ziele,
// 1 Notizen, 2 Nahrung, 3 Aktivität, 4 Statistik), and 5, the frame of a
// horizontal nutrient tube with its tick marks (placed 3 units left of and
// 7 rows above the trough).
ImageList imageList100x30(const Inks& inks = {}, double ratio = 1);

// 96 × 13: captions and scales of the signs. 0 Tagesdatum, 1 Tagesgewicht,
// 2 and 3 the two lines of the column heads (Nah-/rung over the food column
// at x 0 ... 41, Akti-/vität over the activity column at 44 ... 94), 4 the
// gram scale 0 ... 150 g and 5 the scale 0 ... 600 g (marks at x 5, 25, 45,
// 65), 6 kcal and 7 MJ under each energy column (drawn at x 3 and 5 of the
// sign), 8 Energiebilanz, 9 Fett, 10 Protein, 11 Kohlenhydrat.
ImageList imageList96x13(const Inks& inks = {}, double ratio = 1);

// 45 × 45: pictures 20 and 21, the upper and lower half of a vertical energy
// tube frame with its marks in MJ, and 22 and 23 the same in kcal; the tube
// holds 250 kJ per unit with its bottom at row 42 of the lower half. Pictures
// 0 ... 19 are left blank for the scale of the weight sign.
ImageList imageList45x45(const Inks& inks = {}, double ratio = 1);

// The 86 × 13 word picture of a category button of the side bar, in `ink`.
QIcon categoryWord(const QString& word, const QColor& ink = QColor(0x20, 0x20, 0x20));

// The sprite sheet of the bars and the chart, 78 × 10, in the sixteen classic
// colours. Its pieces, as source rectangles:
QImage balkenSprite();

namespace balken {

// From the corners, right and bottom exclusive.
constexpr QRect piece(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Vertical pieces are 9 columns across the tube, stretched along it;
// horizontal ones are 9 rows across, stretched to the right.
constexpr QRect kTroughVertical = piece(21, 7, 30, 9);
constexpr QRect kTroughHorizontal = piece(18, 1, 19, 10);
constexpr QRect kActivityTube = piece(21, 1, 30, 3);
constexpr QRect kFoodTube = piece(31, 1, 40, 3);
constexpr QRect kFoodTubeOver = piece(31, 7, 40, 9);
constexpr QRect kHorizontalTube = piece(1, 1, 3, 10);
constexpr QRect kFatTubeOver = piece(7, 1, 9, 10);
constexpr QRect kNutrientTubeOver = piece(11, 1, 13, 10);
constexpr QRect kGoalMarkVertical = piece(21, 4, 30, 6);
constexpr QRect kGoalMarkHorizontal = piece(14, 1, 15, 10);
// Chart pieces: the weight dot, the normal and the highlighted bar, and the
// week pattern of time-axis level 1 ... 3.
constexpr QRect kWeightDot = chart::pieceSource(chart::Piece::Dot);
constexpr QRect kChartBar = chart::pieceSource(chart::Piece::NormalBar);
constexpr QRect kChartBarOver = chart::pieceSource(chart::Piece::HighlightBar);
constexpr QRect weekPattern(int level)
{
    return chart::pieceSource(level == 1   ? chart::Piece::Week1
                              : level == 2 ? chart::Piece::Week2
                                           : chart::Piece::Week3);
}

} // namespace balken

} // namespace pictures
