// What the pictures and symbols of the main window say to a screen reader,
// on plain values.

#include "main/rules/spoken.h"

#include "diary/rules/numbers.h"
#include "support/locale.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace {

class Spoken : public ::testing::Test
{
protected:
    testing_support::LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
};

} // namespace

TEST_F(Spoken, SymbolsSayTheAmountsTheyBookAsTheDayListShowsThem)
{
    const struct
    {
        int k;
        int kind;
        const char* text;
    } cases[] = {
        {1, units::Grams, "500 g"},
        {3, units::Grams, "250 g"},
        {11, units::Grams, "5 g"},
        {1, units::Millilitres, "1500 ml"},
        {5, units::Millilitres, "330 ml"},
        {11, units::Millilitres, "5 ml"},
        {1, units::Pieces, "10 St."},
        {9, units::Pieces, "0,5 St."},
        {10, units::Pieces, "0,25 St."},
        {11, units::Pieces, "0,13 St."},
        {7, units::NoQuantity, ""},
        {0, units::Grams, ""},
        {12, units::Grams, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spoken::quantitySymbol(c.k, c.kind), QString::fromUtf8(c.text)) << c.k << " " << c.kind;

    EXPECT_EQ(spoken::durationSymbol(1, false), "180 min");
    EXPECT_EQ(spoken::durationSymbol(5, false), "30 min");
    EXPECT_EQ(spoken::durationSymbol(11, true), "1 min");
    EXPECT_EQ(spoken::durationSymbol(1, true), "24 h");
    EXPECT_EQ(spoken::durationSymbol(0, false), QString());
}

TEST_F(Spoken, TheDaysTotalsAgainstTheGoalsFollowTheBarsColours)
{
    const diary::DayTotals totals{
        .energy = 2390, .protein = 60, .carbohydrate = 250, .fat = 65, .fitness = 1200};
    // Goals met exactly turn the bar over its goal; a goal that is not a
    // number is none.
    EXPECT_EQ(spoken::dayTotals(totals, {"9000", "2150", "60", "61", "abc"}, false),
              "Nahrung 2390 kJ, Ziel 9000 kJ, unter dem Ziel; Aktivität 1200 kJ; "
              "Fett 65 g, Ziel 60 g, Ziel erreicht; Protein 60 g, Ziel 61 g, Ziel erreicht; "
              "Kohlenhydrate 250 g, kein Ziel");
    // kcal: the kcal goal at 60 kcal per unit; 2390 kJ are 571 kcal.
    EXPECT_EQ(spoken::dayTotals(totals, {"9000", "500", "100", "100", "300"}, true),
              "Nahrung 571 kcal, Ziel 500 kcal, Ziel erreicht; Aktivität 287 kcal; "
              "Fett 65 g, Ziel 100 g, unter dem Ziel; Protein 60 g, Ziel 100 g, unter dem Ziel; "
              "Kohlenhydrate 250 g, Ziel 300 g, unter dem Ziel");
    EXPECT_EQ(spoken::dayTotals({}, {"", "", "", "", ""}, false),
              "Nahrung 0 kJ, kein Ziel; Aktivität 0 kJ; Fett 0 g, kein Ziel; Protein 0 g, kein Ziel; "
              "Kohlenhydrate 0 g, kein Ziel");
}

TEST_F(Spoken, TheWeightWithItsClassAndIndex)
{
    constexpr int kMann = 1, kFrau = 2, k180cm = 41;
    EXPECT_EQ(spoken::weight("80", kMann, k180cm), "Tagesgewicht 80 kg, Gewichtsklasse normal, BMI 24,7");
    EXPECT_EQ(spoken::weight("72,5", kFrau, k180cm), "Tagesgewicht 72,5 kg, Gewichtsklasse normal, BMI 22,4");
    EXPECT_EQ(spoken::weight("110", kMann, k180cm), "Tagesgewicht 110 kg, Gewichtsklasse fett, BMI 34,0");
    // Outside the scale the needle rests; without a height there is no index.
    EXPECT_EQ(spoken::weight("150", kMann, k180cm), "Tagesgewicht 150 kg, BMI 46,3");
    EXPECT_EQ(spoken::weight("80", 0, 0), "Tagesgewicht 80 kg");
    EXPECT_EQ(spoken::weight("0", kMann, k180cm), "kein Tagesgewicht");
    EXPECT_EQ(spoken::weight("", kMann, k180cm), "kein Tagesgewicht");
}

TEST_F(Spoken, TheChartsValueOfTheDayAsItsReadoutReadsIt)
{
    const QDate day(2005, 3, 5);
    EXPECT_EQ(spoken::chartDay("Gewicht", 1, 72.5, false, day), "Gewicht am 05.03.2005: 72,5 kg");
    EXPECT_EQ(spoken::chartDay("Fett", 3, 65, false, day), "Fett am 05.03.2005: 65 g");
    EXPECT_EQ(spoken::chartDay("Nahrung", 2, 8374, true, day), "Nahrung am 05.03.2005: 2000 kcal");
    EXPECT_EQ(spoken::chartDay("Energiebilanz", 7, -1200, false, day),
              "Energiebilanz am 05.03.2005: -1200 kJ");
    EXPECT_EQ(spoken::chartDay("Gewicht", 1, 0, false, day), "Gewicht am 05.03.2005: kein Wert");
}
