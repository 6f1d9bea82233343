// The energy goal converted between kJ and kcal, at a unit switch and when
// the settings are loaded and saved.

#include "main/goals/units.h"

#include "support/printers.h"

#include <gtest/gtest.h>

TEST(EnergyGoalUnits, TheSwitchThereAndBack)
{
    EXPECT_EQ(units::kcalGoalAtSwitch("8000"), "1911");
    EXPECT_EQ(units::kjGoalAtSwitch("1911"), "8001");
    EXPECT_EQ(units::kcalGoalAtSwitch("8374"), "2000");
    EXPECT_EQ(units::kjGoalAtSwitch("2000"), "8374");
    EXPECT_EQ(units::kcalGoalAtSwitch("0"), "0");
}

TEST(EnergyGoalUnits, KilojoulesFromKilocaloriesRoundHalvesAwayFromZero)
{
    // 3750 * 4.1868 = 15700.5 exactly.
    EXPECT_EQ(units::kjGoalAtSwitch("3750"), "15701");
    EXPECT_EQ(units::kjGoalFromKcal("3750"), "15701");
    EXPECT_EQ(units::kjGoalAtSwitch("1250"), "5234");
    EXPECT_EQ(units::kjGoalAtSwitch("-1250"), "-5234");
}

TEST(EnergyGoalUnits, AGoalThatIsNotAWholeNumberBecomesZero)
{
    for (const char* text : {"", "abc", "12.5", "12,5", "1e3", "-", "8000x"}) {
        EXPECT_EQ(units::kcalGoalAtSwitch(text), "0") << text;
        EXPECT_EQ(units::kjGoalAtSwitch(text), "0") << text;
        EXPECT_EQ(units::kcalGoalFromKj(text), "0") << text;
        EXPECT_EQ(units::kjGoalFromKcal(text), "0") << text;
    }
    EXPECT_EQ(units::kcalGoalAtSwitch(" 8000 "), "1911") << "blanks around a number are allowed";
}

TEST(EnergyGoalUnits, AConvertedGoalAlwaysFitsItsField)
{
    // 41863 kJ is 9999 kcal; more would not fit the four places of the kcal
    // field and must not be cut to its first digits.
    EXPECT_EQ(units::kcalGoalAtSwitch("41863"), "9999");
    EXPECT_EQ(units::kcalGoalAtSwitch("41870"), "9999");
    EXPECT_EQ(units::kcalGoalAtSwitch("99999"), "9999");
    EXPECT_EQ(units::kcalGoalFromKj("50000"), "9999");
    EXPECT_EQ(units::kcalGoalAtSwitch("-9999"), "-999");
    EXPECT_EQ(units::kjGoalAtSwitch("9999"), "41864");
    EXPECT_EQ(units::kjGoalAtSwitch("-999"), "-4183");
    EXPECT_EQ(units::kjGoalFromKcal("99999999"), "99999");
}
