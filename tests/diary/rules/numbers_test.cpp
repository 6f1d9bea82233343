// A decimal as the program reads it, in every field and list.

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
