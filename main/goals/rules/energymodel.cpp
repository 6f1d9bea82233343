#include "main/goals/rules/energymodel.h"

#include "diary/rules/numbers.h"

namespace goals {
namespace {

// Schofield's coefficients, by age group 1 ... 4.
constexpr BasalCoefficients kMale[] = {{74, 2754}, {63, 2896}, {48, 3653}, {49, 2459}};
constexpr BasalCoefficients kFemale[] = {{56, 2898}, {62, 2036}, {34, 3538}, {38, 2755}};

// Single-precision on purpose: the recommendations are rounded from the
// energy computed with these very values.
constexpr float kWorkFactors[] = {1.3f, 1.5f, 1.8f, 2.1f};

// 1 / (50 * 4.1868), with 50 * 4.1868 rounded as the literal 209.34 is.
constexpr long double kPerKcal50 = 1.0L / (50.0L * units::kKjPerKcalNumerator / units::kKjPerKcalDenominator);

QString range(qint64 kj, qint64 lowerDivisor, qint64 upperDivisor)
{
    return QStringLiteral("%1 ... %2").arg(kj / lowerDivisor * 5).arg(kj / upperDivisor * 5);
}

} // namespace

std::optional<int> normGewicht(int geschlecht, int hoehe)
{
    const std::optional<int> height = units::heightCm(hoehe);
    if (!height)
        return std::nullopt;
    switch (geschlecht) {
    case 1:
        return *height - 100;
    case 2:
        return 9 * (*height - 100) / 10;
    default:
        return std::nullopt;
    }
}

std::optional<BasalCoefficients> basalCoefficients(int geschlecht, int alter)
{
    if (alter < 1 || alter > 4)
        return std::nullopt;
    switch (geschlecht) {
    case 1:
        return kMale[alter - 1];
    case 2:
        return kFemale[alter - 1];
    default:
        return std::nullopt;
    }
}

Checked<BasalCoefficients> dailyCoefficients(int geschlecht, int alter)
{
    const std::optional<BasalCoefficients> c = basalCoefficients(geschlecht, alter);
    if (!c)
        return Checked<BasalCoefficients>::refused(
            QStringLiteral("Diese Aktion kann nicht durchgeführt werden.\r"
                           "Tragen Sie bitte zuerst im Ordner \"Ziele\" ihre\r"
                           "persönlichen Daten zu Geschlecht und Alter ein!"));
    return *c;
}

std::optional<float> workFactor(int beruf)
{
    if (beruf < 1 || beruf > 4)
        return std::nullopt;
    return kWorkFactors[beruf - 1];
}

long double energyNeed(int weightKg, BasalCoefficients basal, float factor)
{
    return (static_cast<long double>(weightKg) * basal.a + basal.b) * static_cast<long double>(factor);
}

EnergyAdvice adviceFor(long double energyKj)
{
    EnergyAdvice advice;
    advice.kj = numbers::roundHalfEven(energyKj * 0.01L) * 100;
    advice.kcal = numbers::roundHalfEven(energyKj * kPerKcal50) * 50;
    advice.protein = range(advice.kj, 708, 566);
    advice.kohlenh = range(advice.kj, 155, 142);
    advice.fett = range(advice.kj, 740, 617);
    return advice;
}

std::optional<Recommendation> recommend(const PersonalData& data)
{
    const std::optional<int> norm = normGewicht(data.geschlecht, data.hoehe);
    const std::optional<BasalCoefficients> basal = basalCoefficients(data.geschlecht, data.alter);
    const std::optional<float> factor = workFactor(data.beruf);
    const std::optional<int> desired = units::desiredWeightKg(data.gewicht);
    if (!norm || !basal || !factor || !desired)
        return std::nullopt;
    Recommendation r;
    r.normGewicht = *norm;
    r.atNormal = adviceFor(energyNeed(*norm, *basal, *factor));
    r.atDesired = adviceFor(energyNeed(*desired, *basal, *factor));
    return r;
}

} // namespace goals
