#include "main/diary/rules/bookingpanel.h"

#include "diary/rules/numbers.h"

namespace booking {

int frameLeft(int kind)
{
    return kind == units::NoQuantity ? 100 : -30 * (kind - 1);
}

int symbolAt(int x, int y)
{
    if (x < kPressLeft || x > kPressRight || y < kSymbolTop || y > kPressBottom)
        return 0;
    return (y - kSymbolTop) / kSymbolPitch + 1;
}

double symbolFactor(int k, int kind)
{
    if (k < 1 || k > 11)
        return 0;
    switch (kind) {
    case units::Grams:
        return kQuantitySymbols[k].gramFactor;
    case units::Millilitres:
        return kQuantitySymbols[k].litreFactor;
    case units::Pieces:
        return kQuantitySymbols[k].pieces;
    default:
        return 0;
    }
}

int symbolHomeTop(int k)
{
    return kSymbolTop + kSymbolPitch * (k - 1);
}

bool outsideMargin(int x, int y, int width, int height)
{
    return x > width - 14 || x < 14 || y < 20 || y > height - 20;
}

bool inDropArea(int x, int y, int width, int height)
{
    return x > 72 && x < width - 18 && y > 35 && y < height - 32;
}

} // namespace booking

namespace activity {

int symbolAt(int x, int y)
{
    return booking::symbolAt(x, y);
}

} // namespace activity
