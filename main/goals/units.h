#pragma once

#include <QString>

// Energies are stored in kJ and shown in kJ or kcal; 1 kcal = 4.1868 kJ.
namespace units {

// 1 / 4.1868 as an extended-precision constant.
constexpr long double kKcalPerKj = 0.23884589662749593962L;
constexpr long double kKjPerKcal = 4.1868L;

// The energy goal field converted when the settings are loaded and saved:
// the integer value times the factor, rounded with halves away from zero;
// "0" when the text is not an integer.
QString kcalGoalFromKj(const QString& kjText);
QString kjGoalFromKcal(const QString& kcalText);

} // namespace units

namespace units {

// A stored kJ value shown in kcal: rounded with halves to the even neighbour.
qint64 kcalShown(qint64 kj);

} // namespace units
