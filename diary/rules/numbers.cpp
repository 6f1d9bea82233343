#include "diary/rules/numbers.h"

#include "diary/rules/exact.h"

#include <algorithm>
#include <cmath>

namespace numbers {

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}

qint64 roundHalfEven(long double value)
{
    return static_cast<qint64>(std::nearbyintl(value));
}

qint64 roundHalfAway(double value)
{
    return static_cast<qint64>(std::round(value));
}

qint64 roundHalfAway(long double value)
{
    return static_cast<qint64>(std::roundl(value));
}

QString shortest(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

QString shortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

QChar integerKey(QChar typed)
{
    return typed == u'\b' || isDigit(typed) ? typed : QChar();
}

bool parseInteger(const QString& text, qint64& value)
{
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    if (!ok)
        value = 0;
    return ok;
}

std::optional<double> readDecimal(const QString& text, const QLocale& locale)
{
    QLocale reader = locale;
    reader.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = reader.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace numbers

namespace units {
namespace {

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

QString energyUnit(bool kcal)
{
    return kcal ? QStringLiteral("kcal") : QStringLiteral("kJ");
}

qint64 energyShown(qint64 kj, bool kcal)
{
    return kcal ? kcalShown(kj) : kj;
}

QString energyText(qint64 kj, bool kcal)
{
    return QString::number(energyShown(kj, kcal)) + u' ' + energyUnit(kcal);
}

qint64 kcalShown(qint64 kj)
{
    return exact::quotientHalfEven(__int128(kj) * kKjPerKcalDenominator, kKjPerKcalNumerator);
}

qint64 kjFromKcal(qint64 kcal)
{
    return exact::quotientHalfEven(__int128(kcal) * kKjPerKcalNumerator, kKjPerKcalDenominator);
}

QString kcalGoalFromKj(const QString& kjText)
{
    return converted(kjText, kKjPerKcalDenominator, kKjPerKcalNumerator, Rounding::HalfAway);
}

QString kjGoalFromKcal(const QString& kcalText)
{
    return converted(kcalText, kKjPerKcalNumerator, kKjPerKcalDenominator, Rounding::HalfAway);
}

QString kcalGoalAtSwitch(const QString& kjText)
{
    return converted(kjText, kKjPerKcalDenominator, kKjPerKcalNumerator, Rounding::HalfEven);
}

QString kjGoalAtSwitch(const QString& kcalText)
{
    return converted(kcalText, kKjPerKcalNumerator, kKjPerKcalDenominator, Rounding::HalfAway);
}

int quantityKind(qint64 unitCode)
{
    return unitCode >= Grams && unitCode <= Pieces ? static_cast<int>(unitCode) : NoQuantity;
}

QString quantityUnit(qint64 unitCode)
{
    switch (quantityKind(unitCode)) {
    case Millilitres:
        return QStringLiteral("ml");
    case Pieces:
        return QStringLiteral("St.");
    default:
        return QStringLiteral("g");
    }
}

QString referenceQuantity(qint64 unitCode)
{
    switch (quantityKind(unitCode)) {
    case Grams:
    case Millilitres:
        return QStringLiteral("100") + quantityUnit(unitCode);
    default:
        return quantityUnit(Pieces);
    }
}

std::optional<int> heightCm(int item)
{
    if (item < 1 || item > kHeightItems)
        return std::nullopt;
    return 139 + item;
}

std::optional<int> desiredWeightKg(int item)
{
    if (item < 1 || item > kDesiredWeightItems)
        return std::nullopt;
    return 39 + item;
}

} // namespace units
