// The energy model on plain values: normal weight, energy need and the
// recommendations with their roundings.

#include "main/goals/rules/energymodel.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using goals::PersonalData;

namespace {

// Item indexes of the goals folder's combo boxes.
constexpr int kMann = 1, kFrau = 2;
int heightItem(int cm)
{
    return cm - 139;
}
int weightItem(int kg)
{
    return kg - 39;
}

} // namespace

TEST(EnergyModel, AManIsAdvisedAtHisNormalAndHisDesiredWeight)
{
    const PersonalData data{kMann, 3, 1, heightItem(180), weightItem(75)};
    EXPECT_NEAR(static_cast<double>(goals::energyNeed(80, {48, 3653}, 1.3f)), 9740.9, 0.001);
    const auto r = goals::recommend(data);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->normGewicht, 80);
    EXPECT_EQ(r->atNormal.kj, 9700);
    EXPECT_EQ(r->atNormal.kcal, 2350);
    EXPECT_EQ(r->atNormal.protein, "65 ... 85");
    EXPECT_EQ(r->atNormal.kohlenh, "310 ... 340");
    EXPECT_EQ(r->atNormal.fett, "65 ... 75");
    EXPECT_EQ(r->atDesired.kj, 9400);
    EXPECT_EQ(r->atDesired.kcal, 2250);
    EXPECT_EQ(r->atDesired.protein, "65 ... 80");
    EXPECT_EQ(r->atDesired.kohlenh, "300 ... 330");
    EXPECT_EQ(r->atDesired.fett, "60 ... 75");
}

TEST(EnergyModel, AWomansNormalWeightIsTruncatedAndHerAdviceRounded)
{
    const PersonalData data{kFrau, 2, 2, heightItem(165), weightItem(55)};
    const auto r = goals::recommend(data);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->normGewicht, 58) << "9 * 65 div 10 truncates";
    EXPECT_EQ(goals::energyNeed(58, {62, 2036}, 1.5f), 8448.0L);
    EXPECT_EQ(r->atNormal.kj, 8400);
    EXPECT_EQ(r->atNormal.kcal, 2000);
    EXPECT_EQ(r->atNormal.protein, "55 ... 70");
    EXPECT_EQ(r->atNormal.kohlenh, "270 ... 295");
    EXPECT_EQ(r->atNormal.fett, "55 ... 65");
    EXPECT_EQ(r->atDesired.kj, 8200);
    EXPECT_EQ(r->atDesired.kcal, 1950);
    EXPECT_EQ(r->atDesired.kohlenh, "260 ... 285");
}

TEST(EnergyModel, NormalWeight)
{
    EXPECT_EQ(goals::normGewicht(kFrau, heightItem(141)), 36) << "(9 * 41) div 10";
    EXPECT_EQ(goals::normGewicht(kFrau, heightItem(165)), 58);
    EXPECT_EQ(goals::normGewicht(kMann, heightItem(140)), 40);
    EXPECT_EQ(goals::normGewicht(kMann, heightItem(210)), 110);
    EXPECT_EQ(goals::normGewicht(0, heightItem(180)), std::nullopt);
    EXPECT_EQ(goals::normGewicht(kMann, 0), std::nullopt);
    EXPECT_EQ(goals::normGewicht(kMann, 72), std::nullopt) << "past 210 cm";
}

TEST(EnergyModel, TheWorkFactorsAreSinglePrecision)
{
    EXPECT_EQ(goals::workFactor(1), 1.3f);
    EXPECT_NE(static_cast<double>(*goals::workFactor(1)), 1.3);
    EXPECT_EQ(goals::workFactor(4), 2.1f);
    EXPECT_EQ(goals::workFactor(0), std::nullopt);
    EXPECT_EQ(goals::workFactor(5), std::nullopt);
    // (80 * 48 + 3653) * 1.3f is 9740.8996..., not 9740.9.
    EXPECT_LT(goals::energyNeed(80, {48, 3653}, 1.3f), 9740.9L);
}

TEST(EnergyModel, BasalCoefficientsBySexAndAge)
{
    EXPECT_EQ(goals::basalCoefficients(kMann, 1)->a, 74);
    EXPECT_EQ(goals::basalCoefficients(kMann, 1)->b, 2754);
    EXPECT_EQ(goals::basalCoefficients(kMann, 4)->b, 2459);
    EXPECT_EQ(goals::basalCoefficients(kFrau, 2)->a, 62);
    EXPECT_EQ(goals::basalCoefficients(kFrau, 3)->b, 3538);
    EXPECT_EQ(goals::basalCoefficients(kFrau, 0), std::nullopt);
    EXPECT_EQ(goals::basalCoefficients(3, 1), std::nullopt);
}

TEST(EnergyModel, HalvesOfAHundredKilojoulesGoToTheEvenNeighbour)
{
    // weiblich, 31 ... 60, moderate work, 93 kg: (93 * 34 + 3538) * 1.5 = 10050.
    const auto even = goals::recommend({kFrau, 3, 2, heightItem(170), weightItem(93)});
    ASSERT_TRUE(even);
    EXPECT_EQ(even->atDesired.kj, 10000);
    // männlich, 10 ... 18, moderate work, 129 kg: 18450 kJ.
    const auto down = goals::recommend({kMann, 1, 2, heightItem(170), weightItem(129)});
    ASSERT_TRUE(down);
    EXPECT_EQ(down->atDesired.kj, 18400);
    // weiblich, 19 ... 30, moderate work, 72 kg: 9750 kJ rounds up to even.
    const auto up = goals::recommend({kFrau, 2, 2, heightItem(170), weightItem(72)});
    ASSERT_TRUE(up);
    EXPECT_EQ(up->atDesired.kj, 9800);
}

TEST(EnergyModel, RangesComeFromTheShownKilojoules)
{
    const goals::EnergyAdvice a = goals::adviceFor(9740.0L);
    EXPECT_EQ(a.kj, 9700);
    // 9700 div 708 = 13, 9700 div 566 = 17.
    EXPECT_EQ(a.protein, "65 ... 85");
    const goals::EnergyAdvice small = goals::adviceFor(40.0L);
    EXPECT_EQ(small.kj, 0);
    EXPECT_EQ(small.kcal, 0);
    EXPECT_EQ(small.fett, "0 ... 0");
}

TEST(EnergyModel, AnyMissingDatumGivesNoRecommendation)
{
    const PersonalData full{kMann, 3, 1, heightItem(180), weightItem(75)};
    ASSERT_TRUE(goals::recommend(full));
    for (int field = 0; field < 5; ++field) {
        for (int missing : {0, -1}) {
            PersonalData data = full;
            int* items[] = {&data.geschlecht, &data.alter, &data.beruf, &data.hoehe, &data.gewicht};
            *items[field] = missing;
            EXPECT_FALSE(goals::recommend(data)) << "field " << field << " = " << missing;
        }
    }
    EXPECT_FALSE(goals::recommend({kMann, 3, 1, heightItem(180), 102})) << "past 140 kg";
}
