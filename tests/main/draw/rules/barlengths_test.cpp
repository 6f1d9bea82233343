// Lengths, colours and goal marks of the day bars.

#include "main/draw/rules/barlengths.h"

#include <gtest/gtest.h>

using namespace draw;

namespace {

GoalTexts goals(const char* kj, const char* kcal, const char* fat = "0", const char* protein = "0",
                const char* carbohydrate = "0")
{
    return {QString::fromUtf8(kj), QString::fromUtf8(kcal), QString::fromUtf8(fat),
            QString::fromUtf8(protein), QString::fromUtf8(carbohydrate)};
}

} // namespace

TEST(BarLengths, ValuesAreDividedAsWholeNumbers)
{
    diary::DayTotals t;
    t.energy = 9999;      // 39.996 units
    t.fitness = 249;      // just short of one unit
    t.fat = 61;           // 24.4 units of 2.5 g
    t.protein = 3;        // 1.2
    t.carbohydrate = 319; // 31.9 units of 10 g
    const DayBars bars = dayBars(t, goals("0", "0"), false);
    EXPECT_EQ(bars.food.length, 39);
    EXPECT_EQ(bars.activity.length, 0);
    EXPECT_EQ(bars.fat.length, 24);
    EXPECT_EQ(bars.protein.length, 1);
    EXPECT_EQ(bars.carbohydrate.length, 31);
}

TEST(BarLengths, GoalsFollowTheDisplayUnit)
{
    const GoalTexts g = goals("10000", "2399", "100", "62", "305");
    const DayBars kj = dayBars({}, g, false);
    EXPECT_EQ(kj.food.goalMark, 40);                   // 10000 div 250
    EXPECT_EQ(dayBars({}, g, true).food.goalMark, 39); // 2399 div 60
    EXPECT_EQ(kj.fat.goalMark, 40);                    // 1000 div 25
    EXPECT_EQ(kj.protein.goalMark, 24);                // 620 div 25
    EXPECT_EQ(kj.carbohydrate.goalMark, 30);           // 305 div 10
    EXPECT_EQ(kj.activity.goalMark, 0);
}

TEST(BarLengths, LongBarsAreClippedButColouredFromTheirFullLength)
{
    diary::DayTotals t;
    t.energy = 21250; // exactly 85 units: the tube is full
    t.fitness = 30000;
    t.fat = 400; // 160 units
    const DayBars bars = dayBars(t, goals("25000", "0", "300"), false);
    EXPECT_EQ(bars.food.length, 85);
    EXPECT_FALSE(bars.food.overGoal) << "85 units against a goal of 100";
    EXPECT_EQ(bars.activity.length, 85);
    EXPECT_FALSE(bars.activity.overGoal);
    EXPECT_EQ(bars.fat.length, 78);
    EXPECT_TRUE(bars.fat.overGoal);

    t.energy = 21249; // one kJ short: 84 units
    EXPECT_EQ(dayBars(t, goals("0", "0"), false).food.length, 84);
}

TEST(BarLengths, AValueAtTheGoalIsOverIt)
{
    diary::DayTotals t;
    t.energy = 8000;      // 32 units
    t.carbohydrate = 250; // 25 units
    EXPECT_TRUE(dayBars(t, goals("8000", "0", "0", "0", "250"), false).food.overGoal);
    EXPECT_TRUE(dayBars(t, goals("8000", "0", "0", "0", "250"), false).carbohydrate.overGoal);
    // 8249 kJ is still 32 units: the goal counts in whole units too.
    EXPECT_TRUE(dayBars(t, goals("8249", "0"), false).food.overGoal);
    EXPECT_FALSE(dayBars(t, goals("8250", "0"), false).food.overGoal);
    // In kcal the goal is 1920 div 60 = 32 units.
    EXPECT_TRUE(dayBars(t, goals("0", "1920"), true).food.overGoal);
    EXPECT_FALSE(dayBars(t, goals("0", "1980"), true).food.overGoal);
}

TEST(BarLengths, GoalMarksOnlyBelowTheLimit)
{
    EXPECT_EQ(makeBar(0, 84, 85, 85).goalMark, 84);
    EXPECT_EQ(makeBar(0, 85, 85, 85).goalMark, 0);
    EXPECT_EQ(makeBar(0, 0, 85, 85).goalMark, 0);
    EXPECT_EQ(dayBars({}, goals("21000", "0"), false).food.goalMark, 84);
    EXPECT_EQ(dayBars({}, goals("21250", "0"), false).food.goalMark, 0);
    EXPECT_EQ(dayBars({}, goals("0", "0", "197"), false).fat.goalMark, 78);
    EXPECT_EQ(dayBars({}, goals("0", "0", "198"), false).fat.goalMark, 0); // 79 units
    EXPECT_EQ(dayBars({}, goals("0", "0", "0", "0", "789"), false).carbohydrate.goalMark, 78);
    EXPECT_EQ(dayBars({}, goals("0", "0", "0", "0", "790"), false).carbohydrate.goalMark, 0);
}

TEST(BarLengths, AGoalThatIsNoNumberCountsAsOneUnit)
{
    diary::DayTotals t;
    t.fat = 3; // 1 unit
    t.energy = 250;
    for (const char* text : {"", "abc", "12a", "1,5"}) {
        SCOPED_TRACE(text);
        const DayBars bars = dayBars(t, goals(text, text, text), false);
        EXPECT_EQ(bars.fat.goalMark, 1);
        EXPECT_TRUE(bars.fat.overGoal);
        EXPECT_EQ(bars.food.goalMark, 1);
        EXPECT_EQ(dayBars(t, goals("0", text), true).food.goalMark, 1);
    }
    // Blanks around digits are still a number.
    EXPECT_EQ(dayBars({}, goals(" 500 ", "0"), false).food.goalMark, 2);
}

TEST(BarLengths, EmptyOrNegativeTotalsDrawNothing)
{
    diary::DayTotals t;
    t.energy = -500;
    const DayBars bars = dayBars(t, goals("8000", "0"), false);
    EXPECT_EQ(bars.food.length, 0);
    EXPECT_FALSE(bars.food.overGoal);
    EXPECT_TRUE(tubeRect(BarId::FoodEnergy, 0).isEmpty());
}

TEST(BarLengths, RectanglesOfTroughsTubesAndMarks)
{
    EXPECT_EQ(troughRect(BarId::FoodEnergy), QRect(9, 204, 9, 85));
    EXPECT_EQ(troughRect(BarId::ActivityEnergy), QRect(61, 204, 9, 85));
    EXPECT_EQ(troughRect(BarId::Fat), QRect(13, 333, 78, 9));
    EXPECT_EQ(troughRect(BarId::Protein), QRect(13, 382, 78, 9));
    EXPECT_EQ(troughRect(BarId::Carbohydrate), QRect(13, 434, 78, 9));

    EXPECT_EQ(tubeRect(BarId::FoodEnergy, 1), QRect(9, 288, 9, 1));
    EXPECT_EQ(tubeRect(BarId::ActivityEnergy, 85), troughRect(BarId::ActivityEnergy));
    EXPECT_EQ(tubeRect(BarId::Protein, 5), QRect(13, 382, 5, 9));

    // A mark covers the last two units of a bar of the goal's length.
    EXPECT_EQ(goalMarkRect(BarId::FoodEnergy, 32), QRect(9, 257, 9, 2));
    EXPECT_EQ(goalMarkRect(BarId::Carbohydrate, 30), QRect(41, 434, 2, 9));
    EXPECT_EQ(goalMarkRect(BarId::Fat, 1), QRect(12, 333, 2, 9));
    EXPECT_TRUE(goalMarkRect(BarId::Fat, 0).isEmpty());
}
