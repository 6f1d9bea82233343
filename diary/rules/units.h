#pragma once

#include <QString>

// Energies are stored in kJ and shown in kJ or kcal; 1 kcal = 4.1868 kJ.
// Conversions are exact (10000 kJ = 41868 * 10000 / 41868 kcal) and rounded
// once.
namespace units {

// 1 / 4.1868 as an extended-precision constant.
constexpr long double kKcalPerKj = 0.23884589662749593962L;
constexpr long double kKjPerKcal = 4.1868L;

// The energy goal fields take at most 5 (kJ) and 4 (kcal) typed characters.
// A goal set by the program is shown whole, however long.
constexpr int kKjGoalLength = 5;
constexpr int kKcalGoalLength = 4;

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

// A stored kJ value shown in kcal: rounded with halves to the even neighbour.
qint64 kcalShown(qint64 kj);

} // namespace units

namespace units {

// A kcal input stored in kJ: the exact product with 4.1868, rounded with
// halves to the even neighbour.
qint64 kjFromKcal(qint64 kcal);

} // namespace units
