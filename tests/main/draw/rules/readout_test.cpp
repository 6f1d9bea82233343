// Where a press on the right-hand picture counts, what it reads and where
// the read-out goes.

#include "main/draw/rules/readout.h"
#include "main/goals/rules/weightrules.h"
#include "support/locale.h"

#include <QLocale>
#include <optional>

#include <gtest/gtest.h>

using namespace draw;

namespace {

class Readout : public ::testing::Test
{
protected:
    void german() { m_locale.emplace(QLocale(QLocale::German, QLocale::Germany)); }
    void english() { m_locale.emplace(QLocale(QLocale::English, QLocale::UnitedStates)); }

private:
    std::optional<testing_support::LocaleScope> m_locale;
};

diary::DayTotals day()
{
    diary::DayTotals t;
    t.energy = 10467; // 2499.97 kcal
    t.fitness = 2093; // 499.90 kcal
    t.fat = 71;
    t.protein = 88;
    t.carbohydrate = 312;
    return t;
}

} // namespace

TEST_F(Readout, HitAreasIncludeTheirEdges)
{
    EXPECT_EQ(hitArea({9, 203}), HitArea::FoodEnergy);
    EXPECT_EQ(hitArea({18, 289}), HitArea::FoodEnergy);
    EXPECT_EQ(hitArea({19, 250}), HitArea::None);
    EXPECT_EQ(hitArea({9, 202}), HitArea::None);
    EXPECT_EQ(hitArea({61, 203}), HitArea::ActivityEnergy);
    EXPECT_EQ(hitArea({70, 290}), HitArea::None);
    EXPECT_EQ(hitArea({11, 331}), HitArea::Fat);
    EXPECT_EQ(hitArea({94, 342}), HitArea::Fat);
    EXPECT_EQ(hitArea({95, 335}), HitArea::None);
    EXPECT_EQ(hitArea({50, 380}), HitArea::Protein);
    EXPECT_EQ(hitArea({50, 392}), HitArea::None);
    EXPECT_EQ(hitArea({50, 432}), HitArea::Carbohydrate);
    EXPECT_EQ(hitArea({50, 444}), HitArea::Carbohydrate);
    EXPECT_EQ(hitArea({50, 445}), HitArea::None);
    EXPECT_EQ(hitArea({47, 90}), HitArea::BodyMassIndex);
    EXPECT_EQ(hitArea({57, 102}), HitArea::BodyMassIndex);
    EXPECT_EQ(hitArea({58, 96}), HitArea::None);
    EXPECT_EQ(hitArea({40, 160}), HitArea::None);
}

TEST_F(Readout, TextsInKilojoules)
{
    german();
    EXPECT_EQ(barReadout(HitArea::FoodEnergy, day(), false), " 10467 kJ");
    EXPECT_EQ(barReadout(HitArea::ActivityEnergy, day(), false), " 2093 kJ");
    EXPECT_EQ(barReadout(HitArea::Fat, day(), false), " 71 g ");
    EXPECT_EQ(barReadout(HitArea::Protein, day(), false), " 88 g ");
    EXPECT_EQ(barReadout(HitArea::Carbohydrate, day(), false), " 312 g ");
    EXPECT_EQ(barReadout(HitArea::None, day(), false), "");
    EXPECT_EQ(barReadout(HitArea::BodyMassIndex, day(), false), "");
}

TEST_F(Readout, TextsInKilocaloriesAreRoundedToTheNearestWhole)
{
    english();
    EXPECT_EQ(barReadout(HitArea::FoodEnergy, day(), true), " 2500 kcal");
    EXPECT_EQ(barReadout(HitArea::ActivityEnergy, day(), true), " 500 kcal");
    // Grams read the same in either unit.
    EXPECT_EQ(barReadout(HitArea::Fat, day(), true), " 71 g ");
    diary::DayTotals t;
    t.energy = 1; // 0.239 kcal
    EXPECT_EQ(barReadout(HitArea::FoodEnergy, t, true), " 0 kcal");
    t.energy = 2; // 0.478
    EXPECT_EQ(barReadout(HitArea::FoodEnergy, t, true), " 0 kcal");
    t.energy = 3; // 0.717
    EXPECT_EQ(barReadout(HitArea::FoodEnergy, t, true), " 1 kcal");
}

TEST_F(Readout, BodyMassIndexInTheLocalesNotation)
{
    german();
    EXPECT_EQ(goals::bmiText("80", 41).value_or("none"), " BMI 24,7");   // 180 cm: 24.69
    EXPECT_EQ(goals::bmiText("72,5", 36).value_or("none"), " BMI 23,7"); // 175 cm: 23.67
    EXPECT_EQ(goals::bmiText("0", 41).value_or("none"), " BMI 0,0");
    EXPECT_FALSE(goals::bmiText("80", 0).has_value()) << "no height chosen";
    EXPECT_FALSE(goals::bmiText("", 41).has_value());
    EXPECT_FALSE(goals::bmiText(",", 41).has_value());
    EXPECT_FALSE(goals::bmiText("72.5", 36).has_value()) << "not a number with the decimal comma";
    english();
    EXPECT_EQ(goals::bmiText("72.5", 36).value_or("none"), " BMI 23.7");
    // 100 kg at 200 cm is exactly 25.
    EXPECT_EQ(goals::bmiText("100", 61).value_or("none"), " BMI 25.0");
}

TEST_F(Readout, PlacedBelowThePressAndInsideThePanel)
{
    EXPECT_EQ(readoutPlace({14, 250}, 50, 115), QPoint(19, 268));
    EXPECT_EQ(readoutPlace({55, 96}, 50, 115), QPoint(60, 114));
    EXPECT_EQ(readoutPlace({56, 96}, 50, 115), QPoint(41, 114));
    EXPECT_EQ(readoutPlace({65, 250}, 50, 115), QPoint(50, 268));
    // Far right, a wide read-out is moved left to stay readable.
    EXPECT_EQ(readoutPlace({94, 440}, 45, 115), QPoint(70, 458));
    EXPECT_EQ(readoutPlace({11, 335}, 200, 115), QPoint(0, 353));
}
