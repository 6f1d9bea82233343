#include "diary/rules/units.h"

#include "diary/rules/exact.h"
#include "diary/rules/numbers.h"

namespace units {
namespace {

// 1 kcal = 41868 / 10000 kJ.
constexpr qint64 kKjPart = 41868;
constexpr qint64 kKcalPart = 10000;

enum class Rounding { HalfEven, HalfAway };

QString converted(const QString& text, qint64 times, qint64 per, Rounding rounding)
{
    qint64 value = 0;
    if (!numbers::parseInteger(text, value))
        return QStringLiteral("0");
    const __int128 product = __int128(value) * times;
    return QString::number(rounding == Rounding::HalfEven ? exact::quotientHalfEven(product, per)
                                                          : exact::quotientHalfAway(product, per));
}

} // namespace

QString kcalGoalFromKj(const QString& kjText)
{
    return converted(kjText, kKcalPart, kKjPart, Rounding::HalfAway);
}

QString kjGoalFromKcal(const QString& kcalText)
{
    return converted(kcalText, kKjPart, kKcalPart, Rounding::HalfAway);
}

QString kcalGoalAtSwitch(const QString& kjText)
{
    return converted(kjText, kKcalPart, kKjPart, Rounding::HalfEven);
}

QString kjGoalAtSwitch(const QString& kcalText)
{
    return converted(kcalText, kKjPart, kKcalPart, Rounding::HalfAway);
}

qint64 kcalShown(qint64 kj)
{
    return exact::quotientHalfEven(__int128(kj) * kKcalPart, kKjPart);
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
