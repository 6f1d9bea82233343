#pragma once

#include "diary/rules/checked.h"

#include <QString>
#include <optional>

// The energy model of the goals folder: normal weight, daily energy need and
// the recommended energy and nutrient ranges. Plain arithmetic on the item
// indexes of the folder's combo boxes, where item 0 is "?".
namespace goals {

// The personal data as the goals folder holds it. An index outside the
// stated range (0, or -1 for a box without a current item) means that the
// datum is missing.
struct PersonalData
{
    int geschlecht = 0; // 1 "männlich", 2 "weiblich"
    int alter = 0;      // 1 ... 4: the age groups 10-18, 19-30, 31-60, over 60
    int beruf = 0;      // 1 ... 4: light, moderate, heavy, very heavy work
    int hoehe = 0;      // 1 ... 71: body height (units::heightCm)
    int gewicht = 0;    // 1 ... 101: desired weight (units::desiredWeightKg)
};

// The normal weight in whole kg: height - 100 for men, 9 * (height - 100)
// div 10 for women (truncated: 165 cm gives 58). nullopt when sex or height
// is missing.
std::optional<int> normGewicht(int geschlecht, int hoehe);

// The basal rate in kJ per day is weight (kg) * a + b, by sex and age group.
struct BasalCoefficients
{
    int a = 0;
    int b = 0;
};
std::optional<BasalCoefficients> basalCoefficients(int geschlecht, int alter);
// The same for the whole-day entry of the activity folder: refused, with
// the message that asks for them, while sex or age is missing.
Checked<BasalCoefficients> dailyCoefficients(int geschlecht, int alter);

// The work factor as a single-precision number (1.3f is 1.2999999523...).
std::optional<float> workFactor(int beruf);

// E(W) = (W * a + b) * f in extended precision, in kJ per day.
long double energyNeed(int weightKg, BasalCoefficients basal, float factor);

// What the folder shows for one body weight. The energies are whole
// numbers: kJ to the nearest 100 and kcal to the nearest 50, both with
// halves to even. The ranges are whole grams in steps of 5, derived from the
// shown kJ value by whole-number division, written "lower ... upper".
struct EnergyAdvice
{
    qint64 kj = 0;
    qint64 kcal = 0;
    QString protein;
    QString kohlenh;
    QString fett;
};
EnergyAdvice adviceFor(long double energyKj);

// The recommendations at the normal and at the desired weight; nullopt when
// any of the five data is missing.
struct Recommendation
{
    int normGewicht = 0;
    EnergyAdvice atNormal;
    EnergyAdvice atDesired;
};
std::optional<Recommendation> recommend(const PersonalData& data);

} // namespace goals
