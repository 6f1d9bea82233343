#include "main/goals/units.h"

#include "main/numbers.h"

namespace units {

QString kcalGoalFromKj(const QString& kjText)
{
    qint64 kj = 0;
    if (!numbers::parseInteger(kjText, kj))
        return QStringLiteral("0");
    return QString::number(numbers::roundHalfAway(kj * kKcalPerKj));
}

QString kjGoalFromKcal(const QString& kcalText)
{
    qint64 kcal = 0;
    if (!numbers::parseInteger(kcalText, kcal))
        return QStringLiteral("0");
    return QString::number(numbers::roundHalfAway(kcal * kKjPerKcal));
}

} // namespace units

namespace units {

qint64 kcalShown(qint64 kj)
{
    return numbers::roundHalfEven(kj * kKcalPerKj);
}

} // namespace units
