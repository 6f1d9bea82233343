#include "main/goals/units.h"

#include "main/numbers.h"

#include <algorithm>

namespace units {
namespace {

// The largest and the smallest whole number that `length` characters hold.
QString fitted(qint64 value, int length)
{
    qint64 largest = 1;
    for (int i = 0; i < length; ++i)
        largest *= 10;
    return QString::number(std::clamp(value, -(largest / 10 - 1), largest - 1));
}

enum class Rounding { HalfEven, HalfAway };

QString converted(const QString& text, long double factor, Rounding rounding, int length)
{
    qint64 value = 0;
    if (!numbers::parseInteger(text, value))
        return QStringLiteral("0");
    const long double product = value * factor;
    return fitted(rounding == Rounding::HalfEven ? numbers::roundHalfEven(product)
                                                 : numbers::roundHalfAway(product),
                  length);
}

} // namespace

QString kcalGoalFromKj(const QString& kjText)
{
    return converted(kjText, kKcalPerKj, Rounding::HalfAway, kKcalGoalLength);
}

QString kjGoalFromKcal(const QString& kcalText)
{
    return converted(kcalText, kKjPerKcal, Rounding::HalfAway, kKjGoalLength);
}

QString kcalGoalAtSwitch(const QString& kjText)
{
    return converted(kjText, kKcalPerKj, Rounding::HalfEven, kKcalGoalLength);
}

QString kjGoalAtSwitch(const QString& kcalText)
{
    return converted(kcalText, kKjPerKcal, Rounding::HalfAway, kKjGoalLength);
}

qint64 kcalShown(qint64 kj)
{
    return numbers::roundHalfEven(kj * kKcalPerKj);
}

} // namespace units

namespace units {

qint64 kjFromKcal(qint64 kcal)
{
    // 4.1868 = 41868 / 10000, so the product is exact in ten-thousandths.
    const qint64 scaled = kcal * 41868;
    qint64 whole = scaled / 10000;
    const qint64 rest = scaled % 10000;
    const qint64 magnitude = rest < 0 ? -rest : rest;
    if (magnitude > 5000 || (magnitude == 5000 && whole % 2 != 0))
        whole += scaled < 0 ? -1 : 1;
    return whole;
}

} // namespace units
