#pragma once

#include <QString>

// Energies are stored in kJ and shown in kJ or kcal; 1 kcal = 4.1868 kJ.
namespace units {

// 1 / 4.1868 as an extended-precision constant.
constexpr long double kKcalPerKj = 0.23884589662749593962L;
constexpr long double kKjPerKcal = 4.1868L;

// The energy goal fields hold at most 5 (kJ) and 4 (kcal) characters. A
// converted goal is kept inside what its field can hold, so that a large
// goal is never cut to its first digits: the kcal goal lies in -999 ... 9999,
// the kJ goal in -9999 ... 99999.
constexpr int kKjGoalLength = 5;
constexpr int kKcalGoalLength = 4;

// The energy goal field converted when the settings are loaded and saved:
// the integer value times the factor, rounded with halves away from zero;
// "0" when the text is not an integer.
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
