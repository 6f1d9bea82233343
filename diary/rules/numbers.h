#pragma once

#include "store/schema.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>

// Numbers as the program shows and reads them: in the system's locale,
// rounded once where a whole number is stored or shown. Every field, list
// and picture reads its numbers through here.
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

// A digit "0" ... "9"; the digits of other scripts are none.
bool isDigit(QChar c);
// True when every character of `text` is such a digit: the empty text too.
bool allDigits(QStringView text);

// A key typed into a field of whole numbers: a digit or backspace as it is,
// any other key the null character (discarded).
QChar integerKey(QChar typed);

// The text as a whole number, as an integer field reads it: optional sign
// and digits, blanks around allowed. False when it is none.
bool parseInteger(const QString& text, qint64& value);

// The text as a decimal number: digits with the locale's decimal separator,
// an optional sign and exponent, blanks around allowed, and no group
// separators, so that "1.070" under a German locale is no number (neither
// 1070 nor 1,07). Nothing when the text is empty, not such a number, or not
// finite. The one reading of a decimal that a user typed or pasted or a
// list of the program shows.
std::optional<double> readDecimal(const QString& text, const QLocale& locale = QLocale());

} // namespace numbers

// The units of the diary's numbers. Energies are stored in kJ and shown in
// kJ or kcal; conversions are exact and rounded once.
namespace units {

// 1 kcal = 4.1868 kJ, the exact fraction 41868 / 10000.
constexpr qint64 kKjPerKcalNumerator = 41868;
constexpr qint64 kKjPerKcalDenominator = 10000;

// The largest energy a field of the tables holds, in kJ (99999): a
// catalogue entry's, a diary entry's and a day's total alike.
constexpr qint64 kLargestEnergy = store::largestWhole(store::kEnergyWidth);

// The energy goal fields take at most 5 (kJ) and 4 (kcal) typed characters.
// A goal set by the program is shown whole, however long.
constexpr int kKjGoalLength = 5;
constexpr int kKcalGoalLength = 4;

// The unit an energy is shown in: "kcal" or "kJ".
QString energyUnit(bool kcal);
// A stored kJ value as shown: in kJ, or in kcal rounded with halves to the
// even neighbour.
qint64 energyShown(qint64 kj, bool kcal);
// The same with its unit: "2390 kJ", "571 kcal".
QString energyText(qint64 kj, bool kcal);
// A stored kJ value shown in kcal.
qint64 kcalShown(qint64 kj);
// A kcal input stored in kJ: the exact product, rounded with halves to the
// even neighbour.
qint64 kjFromKcal(qint64 kcal);

// The energy goal field converted when the settings are loaded and saved:
// the integer value times the factor, rounded with halves away from zero;
// "0" when the text is not an integer (50000 kJ gives 11942 kcal, which
// gives 49999 kJ).
QString kcalGoalFromKj(const QString& kjText);
QString kjGoalFromKcal(const QString& kcalText);

// The energy goal field converted at a switch of the display unit. To kcal
// the product is rounded with halves to even (8000 kJ gives 1911 kcal); to
// kJ with halves away from zero (1911 kcal gives 8001 kJ), as on saving.
// "0" when the text is not an integer.
QString kcalGoalAtSwitch(const QString& kjText);
QString kjGoalAtSwitch(const QString& kcalText);

// The quantity kinds of the food catalogue's unit codes (NRGME).
enum QuantityKind { NoQuantity = 0, Grams = 1, Millilitres = 2, Pieces = 3 };

// The kind of a unit code: grams, millilitres or pieces, NoQuantity for any
// other code (the placeholder row carries 0).
int quantityKind(qint64 unitCode);
// The unit of a booked amount as the food diary stores it (NTBME): "g",
// "ml", "St."; "g" for a code of no kind.
QString quantityUnit(qint64 unitCode);
// What a catalogue value refers to: "100g", "100ml", "St."; "St." for a
// code of no kind.
QString referenceQuantity(qint64 unitCode);

// The lists of the personal data: body height item i (1 ... 71) is 139 + i
// cm, desired weight item i (1 ... 101) 39 + i kg; item 0 is "?". Nothing
// for an item outside the list.
constexpr int kHeightItems = 71;
constexpr int kDesiredWeightItems = 101;
std::optional<int> heightCm(int item);
std::optional<int> desiredWeightKg(int item);

} // namespace units
