#include "main/draw/pictures/drawing.h"
#include "main/draw/pictures/pictures.h"

#include <QPainter>

namespace pictures {
namespace {

using namespace detail::vga;

// Cross-sections of the tubes, from left to right (vertical tubes) or top
// to bottom (horizontal ones).
const QColor kTrough[9] = {grey, silver, silver, white, white, white, silver, silver, grey};
const QColor kActivity[9] = {green, teal, teal, silver, lime, silver, teal, teal, black};
const QColor kBlue[9] = {navy, navy, blue, blue, silver, blue, blue, blue, navy};
const QColor kRed[9] = {purple, red, red, red, fuchsia, yellow, red, red, purple};
const QColor kFuchsia[9] = {purple, fuchsia, fuchsia, fuchsia, yellow, fuchsia, fuchsia, red, purple};
const QColor kMark[9] = {black, black, black, black, grey, black, black, black, black};

void across(QImage& sheet, const QRect& piece, const QColor (&colours)[9])
{
    const bool vertical = piece.width() == 9;
    for (int x = piece.left(); x <= piece.right(); ++x) {
        for (int y = piece.top(); y <= piece.bottom(); ++y) {
            const int i = vertical ? x - piece.left() : y - piece.top();
            sheet.setPixelColor(x, y, colours[i]);
        }
    }
}

void weekColumns(QImage& sheet, int level, const char* columns)
{
    const QRect r = balken::weekPattern(level);
    const auto colour = [](char c) {
        switch (c) {
        case 'W':
            return white;
        case 'S':
            return silver;
        case 'G':
            return grey;
        default:
            return black;
        }
    };
    for (int i = 0; i < 28; ++i) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            sheet.setPixelColor(r.left() + i, y, colour(columns[i]));
    }
}

} // namespace

QImage balkenSprite()
{
    QImage sheet(78, 10, QImage::Format_RGB32);
    sheet.fill(silver);
    across(sheet, balken::kTroughVertical, kTrough);
    across(sheet, balken::kTroughHorizontal, kTrough);
    across(sheet, balken::kActivityTube, kActivity);
    across(sheet, balken::kFoodTube, kBlue);
    across(sheet, balken::kFoodTubeOver, kRed);
    across(sheet, balken::kHorizontalTube, kBlue);
    across(sheet, balken::kFatTubeOver, kRed);
    across(sheet, balken::kNutrientTubeOver, kFuchsia);
    across(sheet, balken::kGoalMarkVertical, kMark);
    across(sheet, balken::kGoalMarkHorizontal, kMark);

    // The weight dot, shaded from the top left: B blue, N navy.
    const char* dot[4] = {"BBBN", "BBNN", "BNNN", "NNNN"};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            sheet.setPixelColor(40 + x, y, dot[y][x] == 'B' ? blue : navy);
    }

    weekColumns(sheet, 1, "GWWWWWSGWWWWWSGWWWWWSGWWWWWS");
    weekColumns(sheet, 2, "SGWSWSWSWSWSSSSGWSWSWSWSWSSS");
    weekColumns(sheet, 3, "SSSKWWWSWWWSWWWSWWWSWWWSSSSG");
    return sheet;
}

} // namespace pictures
