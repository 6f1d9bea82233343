#pragma once

#include <QtGlobal>

// Exact decimal arithmetic. Every value the diary stores or lists is a
// decimal with few places (whole kJ, grams with one place, amounts with two),
// and binary floating point lands an exact half a hair to either side. Values
// are therefore held as whole numbers of ten-thousandths and quotients are
// rounded once, exactly.
namespace exact {

// Ten-thousandths per unit.
constexpr qint64 kScale = 10000;

// The value in ten-thousandths: the decimal with four places nearest to it.
// A number read from a table field or a list cell is a decimal with at most
// that many places, so this is the decimal it was written as (for values up
// to 10^9 in size; values beyond +-10^14 are held at that bound).
qint64 scaled(double value);

// numerator / denominator rounded to the nearest whole number, halves to the
// even neighbour, or halves away from zero. The denominator must not be 0.
// Results beyond the range of qint64 are held at its bounds.
qint64 quotientHalfEven(__int128 numerator, __int128 denominator);
qint64 quotientHalfAway(__int128 numerator, __int128 denominator);

} // namespace exact
