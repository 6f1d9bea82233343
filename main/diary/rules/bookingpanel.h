#pragma once

#include <array>

// The booking panels of the food and activity folders (350 x 539 each): the
// symbols in a column on the left, their press bands and home places, the
// inner margin and the drop area over the day list.
namespace booking {

struct QuantitySymbol
{
    double gramFactor;  // amount / 100
    double litreFactor; // millilitres / 100
    double pieces;      // amount = factor
};

// Quantity symbols 1 ... 11 from the top of the food panel; element 0 is
// unused. The eighth of a piece is 0.13, as the symbol's amount is written.
inline constexpr std::array<QuantitySymbol, 12> kQuantitySymbols = {{
    {0, 0, 0},
    {5, 15, 10},
    {3, 10, 8},
    {2.5, 7, 6},
    {2, 5, 5},
    {1.5, 3.3, 4},
    {1.25, 2.5, 3},
    {1, 2, 2},
    {0.5, 1, 1},
    {0.25, 0.5, 0.5},
    {0.1, 0.1, 0.25},
    {0.05, 0.05, 0.13},
}};

constexpr int kSymbolLeft = 13;
constexpr int kSymbolTop = 11;
constexpr int kSymbolPitch = 43;
constexpr int kPressLeft = 14;
constexpr int kPressRight = 42;
constexpr int kPressBottom = 483;

// The left edge of the symbol pictures that shows the frame of a quantity
// kind (units::QuantityKind); 100 leaves the holders empty.
int frameLeft(int kind);

// The symbol whose press band holds (x, y), 1 ... 11; 0 outside the column.
int symbolAt(int x, int y);
// The factor of quantity symbol k for a quantity kind; 0 for k = 0 or no
// kind.
double symbolFactor(int k, int kind);
// The home position of symbol k.
int symbolHomeTop(int k);
// True when the pointer has left the panel's inner margin (the symbols snap home).
bool outsideMargin(int x, int y, int width, int height);
// True when a release there books the dragged symbol.
bool inDropArea(int x, int y, int width, int height);

} // namespace booking

namespace activity {

// Minutes of the duration symbols 1 ... 11 of the activity panel; element 0
// is unused.
inline constexpr std::array<int, 12> kSymbolMinutes = {0, 180, 120, 60, 45, 30, 20, 15, 10, 5, 2, 1};

// The symbol whose press band holds (x, y), 1 ... 11; 0 outside: the bands
// of the food panel's symbols.
int symbolAt(int x, int y);

} // namespace activity
