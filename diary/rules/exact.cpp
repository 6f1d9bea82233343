#include "diary/rules/exact.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace exact {
namespace {

constexpr long double kLargest = 1e14L;

enum class Halves { ToEven, AwayFromZero };

qint64 quotient(__int128 n, __int128 d, Halves halves)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    __int128 q = n / d;
    const __int128 r = n % d; // carries the sign of n
    const __int128 twice = 2 * (r < 0 ? -r : r);
    const bool up = twice > d || (twice == d && (halves == Halves::AwayFromZero || q % 2 != 0));
    if (up)
        q += n < 0 ? -1 : 1;
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    constexpr qint64 highest = std::numeric_limits<qint64>::max();
    if (q < lowest)
        return lowest;
    if (q > highest)
        return highest;
    return static_cast<qint64>(q);
}

} // namespace

qint64 scaled(double value)
{
    if (std::isnan(value))
        return 0;
    // Up to 10^9 the double is within 2 * 10^-7 of the decimal it was read
    // from, so the product lies within a hundredth of the whole number sought.
    const long double v = std::clamp(static_cast<long double>(value), -kLargest, kLargest);
    return static_cast<qint64>(std::llroundl(v * kScale));
}

qint64 quotientHalfEven(__int128 numerator, __int128 denominator)
{
    return quotient(numerator, denominator, Halves::ToEven);
}

qint64 quotientHalfAway(__int128 numerator, __int128 denominator)
{
    return quotient(numerator, denominator, Halves::AwayFromZero);
}

} // namespace exact
