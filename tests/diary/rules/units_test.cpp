// The energy goal converted between kJ and kcal, at a unit switch and when
// the settings are loaded and saved.

#include "diary/rules/numbers.h"

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

TEST(EnergyGoalUnits, AConvertedGoalIsNeverCut)
{
    // 50000 kJ is 11942.29 kcal, and 11942 kcal 49998.77 kJ.
    EXPECT_EQ(units::kcalGoalFromKj("50000"), "11942");
    EXPECT_EQ(units::kjGoalFromKcal("11942"), "49999");
    EXPECT_EQ(units::kcalGoalAtSwitch("99999"), "23884");
    EXPECT_EQ(units::kcalGoalFromKj("123456"), "29487");
    EXPECT_EQ(units::kjGoalFromKcal("29487"), "123456");
    EXPECT_EQ(units::kcalGoalAtSwitch("-9999"), "-2388");
    EXPECT_EQ(units::kjGoalFromKcal("99999999"), "418679996");
    EXPECT_EQ(units::kcalShown(99999), 23884);
}
