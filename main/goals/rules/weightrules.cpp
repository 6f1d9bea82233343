#include "main/goals/rules/weightrules.h"

#include "diary/rules/numbers.h"
#include "main/goals/rules/energymodel.h"

#include <algorithm>
#include <cmath>

namespace goals {
namespace {

using numbers::isDigit;

// Digits, at least one.
bool someDigits(const QString& text)
{
    return !text.isEmpty() && numbers::allDigits(text);
}

// A 48-bit real keeps 40 significant bits.
long double asReal48(long double value)
{
    if (value == 0 || !std::isfinite(value))
        return value;
    int exponent = 0;
    const long double mantissa = std::frexp(value, &exponent);
    return std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
}

// Each band reaches up to the next one's lower bound; the last up to 1.60
// inclusive. Compared in extended precision, so that a single-precision
// ratio just below or above a decimal bound falls on its own side.
constexpr long double kBounds[] = {0.70L, 0.86L, 0.89L, 0.92L, 0.95L, 1.05L, 1.08L, 1.11L,
                                   1.14L, 1.17L, 1.20L, 1.23L, 1.26L, 1.29L, 1.33L};
constexpr long double kUpperBound = 1.60L;

} // namespace

QChar weightKey(QChar typed, const QString& text, int selectionStart, int selectionLength,
                const QLocale& locale)
{
    if (typed == u'\b')
        return typed;
    selectionStart = std::clamp(selectionStart, 0, static_cast<int>(text.size()));
    QString rest = text;
    rest.remove(selectionStart, selectionLength);
    const auto fitting = [&](QChar key) {
        return weightFits(QString(rest).insert(selectionStart, key), locale) ? key : QChar();
    };
    if (isDigit(typed))
        return fitting(typed);
    if (typed != u',' && typed != u'.')
        return {};
    if (!someDigits(rest) || selectionStart == 0)
        return {};
    if (typed == u',' && !numbers::readDecimal(QStringLiteral("1,1"), locale))
        return fitting(u'.');
    if (typed == u'.' && !numbers::readDecimal(QStringLiteral("1.1"), locale))
        return fitting(u',');
    return fitting(typed);
}

bool weightFits(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return true;
    if (text.size() > kWeightLength)
        return false;
    const qsizetype separator = text.indexOf(locale.decimalPoint());
    const QString whole = separator < 0 ? text : text.left(separator);
    const QString decimals = separator < 0 ? QString() : text.mid(separator + locale.decimalPoint().size());
    if (!numbers::allDigits(whole) || !numbers::allDigits(decimals))
        return false;
    if (whole.isEmpty() && decimals.isEmpty())
        return false;
    if (decimals.size() > 1)
        return false;
    const std::optional<float> weight = readWeight(text, locale);
    return weight && storableWeight(*weight) == *weight;
}

bool weightKeyPassesLimit(QChar typed, const QString& text, int selectionStart, int selectionLength,
                          const QLocale& locale)
{
    if (!isDigit(typed) || !weightKey(typed, text, selectionStart, selectionLength, locale).isNull())
        return false;
    selectionStart = std::clamp(selectionStart, 0, static_cast<int>(text.size()));
    const QString after = QString(text).remove(selectionStart, selectionLength).insert(selectionStart, typed);
    const qsizetype separator = after.indexOf(locale.decimalPoint());
    QString digits = after;
    if (separator > 0)
        digits.remove(separator, locale.decimalPoint().size());
    return separator != 0 && someDigits(digits);
}

QString weightLimitText(const QLocale& locale)
{
    return QStringLiteral("Das Tagesgewicht kann höchstens %1 kg mit einer Nachkommastelle betragen.")
        .arg(locale.toString(kHeaviestWeight, 'f', 1));
}

bool showsNoWeight(const QString& text)
{
    return text == QLatin1String("0");
}

std::optional<float> readWeight(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return 0.0f;
    const std::optional<double> value = numbers::readDecimal(text, locale);
    if (!value)
        return std::nullopt;
    return static_cast<float>(*value);
}

float storableWeight(float weightKg)
{
    // Also turns -0 and the infinities of a huge text into 0.
    if (!(weightKg > 0.0f) || weightKg > kHeaviestWeight)
        return 0.0f;
    return weightKg;
}

std::optional<float> scaleNormalWeight(int geschlecht, int hoehe)
{
    const std::optional<int> height = units::heightCm(hoehe);
    if (!height)
        return std::nullopt;
    switch (geschlecht) {
    case 1:
        return static_cast<float>(*height - 100);
    case 2:
        return static_cast<float>((*height - 100) * 0.9L);
    default:
        return std::nullopt;
    }
}

int needleTile(float ratio)
{
    const long double c = ratio;
    if (!(c >= kBounds[0]) || c > kUpperBound)
        return 0;
    int tile = 1;
    while (tile < 15 && c >= kBounds[tile])
        ++tile;
    return tile;
}

NeedleReadings needleReadings(int tile)
{
    tile = std::clamp(tile, 1, 15);
    return {static_cast<double>(kBounds[tile - 1]),
            static_cast<double>(tile < 15 ? kBounds[tile] : kUpperBound)};
}

QPoint needlePlace(int tile)
{
    if (tile >= 4 && tile <= 7)
        return {16, 59};
    if (tile >= 8 && tile <= 11)
        return {45, 59};
    if (tile >= 12 && tile <= 15)
        return {45, 88};
    return {16, 88};
}

int needleFor(float weightKg, int geschlecht, int hoehe)
{
    const std::optional<float> normal = scaleNormalWeight(geschlecht, hoehe);
    if (!normal || !(weightKg > 0.0f))
        return 0;
    const float ratio = weightKg / *normal;
    return needleTile(ratio);
}

QString weightClass(int tile)
{
    if (tile < 1 || tile > 15)
        return {};
    const NeedleReadings r = needleReadings(tile);
    const double middle = (r.lower + r.upper) / 2;
    for (const WeightClass& c : kWeightClasses) {
        if (middle < c.to)
            return QString::fromUtf8(c.name);
    }
    return QString::fromUtf8(kWeightClasses.back().name);
}

std::optional<QString> bmiText(const QString& weightText, int hoehe, const QLocale& locale)
{
    const std::optional<int> height = units::heightCm(hoehe);
    const std::optional<double> weight = numbers::readDecimal(weightText, locale);
    if (!height || !weight)
        return std::nullopt;
    const long double metres = *height * 0.01L;
    const long double bmi = asReal48(*weight / (metres * metres));
    // Four significant digits with one decimal: from 1000 on the decimal is
    // always 0, and from 10000 on there is no room.
    if (!(std::fabs(bmi) < 9999.5L))
        return std::nullopt;
    const qint64 tenths = std::fabs(bmi) >= 1000.0L ? static_cast<qint64>(std::round(bmi)) * 10
                                                    : static_cast<qint64>(std::round(bmi * 10.0L));
    const qint64 magnitude = tenths < 0 ? -tenths : tenths;
    return QStringLiteral(" BMI ") + (tenths < 0 ? locale.negativeSign() : QString()) +
           QString::number(magnitude / 10) + locale.decimalPoint() + QString::number(magnitude % 10);
}

} // namespace goals
