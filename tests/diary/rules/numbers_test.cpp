// Numbers as the program reads them, and the energy goal converted between
// kJ and kcal at a unit switch and when the settings are loaded and saved.

#include "diary/rules/activity.h"
#include "diary/rules/booking.h"
#include "diary/rules/numbers.h"

#include "support/locale.h"
#include "support/printers.h"

#include <gtest/gtest.h>

TEST(Numbers, ADecimalIsReadWithTheLocalesSeparatorAndWithoutGroups)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const struct
    {
        const char* text;
        const QLocale& locale;
        std::optional<double> value;
    } cases[] = {
        {"72,5", german, 72.5}, {" 80 ", german, 80},   {"-0,25", german, -0.25}, {"72.5", english, 72.5},
        {"1.070", german, {}},  {"1,070", english, {}}, {"1.070,5", german, {}},  {"72.5", german, {}},
        {"", german, {}},       {"7 2", german, {}},    {"1e999", german, {}},    {"zwölf", german, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numbers::readDecimal(c.text, c.locale), c.value)
            << c.text << " " << c.locale.name().toStdString();
}

// The fields and lists that read a decimal refuse "1.070" under a German
// locale as no number, neither 1070 nor 1,07.
TEST(Numbers, EveryReaderRefusesADecimalWithAGroupSeparator)
{
    testing_support::LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
    const QString notANumber = "Der Katalogwert \"1.070\" von \"Brot\" ist keine Zahl.\r"
                               "Die Buchung wurde nicht ausgeführt.";
    EXPECT_EQ(booking::readFoodRow("Brot", {"1", "1.070", "6,5", "40", "1,2"}).message(), notANumber);
    EXPECT_EQ(activity::readListValue("Brot", "1.070").message(), notANumber);
    EXPECT_EQ(activity::bookingWeight("1.070").message(),
              "Das Tagesgewicht \"1.070\" ist keine Zahl.\rDie Buchung wurde nicht ausgeführt.");
}

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
