#pragma once

#include <QString>

// Numbers and dates as the program shows and reads them: in the system's
// locale, rounded once where a whole number is stored or shown.
namespace numbers {

// Nearest whole number, halves to the even neighbour.
qint64 roundHalfEven(double value);
qint64 roundHalfEven(long double value);
// Nearest whole number, halves away from zero.
qint64 roundHalfAway(double value);
qint64 roundHalfAway(long double value);

// The shortest decimal form of a value, with the locale's decimal separator
// and no group separators ("80,5", "0,25", "1500").
QString shortest(double value);

// The locale's short date format with a four-digit year ("dd.MM.yyyy").
QString shortDateFormat();

// The text as a whole number, as an integer field reads it: optional sign
// and digits, blanks around allowed. False when it is none.
bool parseInteger(const QString& text, qint64& value);

} // namespace numbers
