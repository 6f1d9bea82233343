// The booking rules on plain values.

#include "diary/rules/booking.h"
#include "main/diary/rules/bookingpanel.h"
#include "support/locale.h"

#include <QLocale>

#include <optional>

#include <gtest/gtest.h>

using namespace booking;
using namespace units;

TEST(Booking, PressBandsAndFactorsOfTheSymbols)
{
    EXPECT_EQ(symbolAt(14, 11), 1);
    EXPECT_EQ(symbolAt(42, 53), 1);
    EXPECT_EQ(symbolAt(28, 54), 2);
    EXPECT_EQ(symbolAt(28, 483), 11);
    EXPECT_EQ(symbolAt(28, 10), 0);
    EXPECT_EQ(symbolAt(28, 484), 0);
    EXPECT_EQ(symbolAt(13, 200), 0);
    EXPECT_EQ(symbolAt(43, 200), 0);
    EXPECT_DOUBLE_EQ(symbolFactor(7, Grams), 1);
    EXPECT_DOUBLE_EQ(symbolFactor(5, Millilitres), 3.3);
    EXPECT_DOUBLE_EQ(symbolFactor(11, Pieces), 0.13);
    EXPECT_DOUBLE_EQ(symbolFactor(1, NoQuantity), 0);
    EXPECT_DOUBLE_EQ(symbolFactor(0, Grams), 0);
    EXPECT_EQ(symbolHomeTop(11), 441);
}

TEST(Booking, TheUnitCodeChoosesTheSymbolFrame)
{
    EXPECT_EQ(frameLeft(quantityKind(1)), 0);
    EXPECT_EQ(frameLeft(quantityKind(2)), -30);
    EXPECT_EQ(frameLeft(quantityKind(3)), -60);
    EXPECT_EQ(quantityKind(0), NoQuantity);
    EXPECT_EQ(quantityKind(4), NoQuantity);
    EXPECT_EQ(frameLeft(NoQuantity), 100);
}

TEST(Booking, MarginAndDropArea)
{
    EXPECT_FALSE(outsideMargin(14, 20, 350, 539));
    EXPECT_TRUE(outsideMargin(13, 200, 350, 539));
    EXPECT_TRUE(outsideMargin(337, 200, 350, 539));
    EXPECT_TRUE(outsideMargin(200, 520, 350, 539));
    EXPECT_TRUE(inDropArea(73, 36, 350, 539));
    EXPECT_FALSE(inDropArea(72, 200, 350, 539));
    EXPECT_FALSE(inDropArea(332, 200, 350, 539));
    EXPECT_FALSE(inDropArea(200, 507, 350, 539));
}

TEST(Booking, ValuesAreRoundedOnceWithHalvesToEven)
{
    const FoodRow food{QStringLiteral("Testkäse"), Grams, 1500, 2.5, 4.8, 3.5};
    const Entry e = bookedEntry(food, Grams, 1, std::nullopt);
    EXPECT_DOUBLE_EQ(e.amount, 100);
    EXPECT_EQ(e.unit, "g");
    EXPECT_EQ(e.energy, 1500);
    EXPECT_EQ(e.protein, 2);
    EXPECT_EQ(e.carbohydrate, 5);
    EXPECT_EQ(e.fat, 4);

    const Entry twice = bookedEntry(food, Grams, 1, e);
    EXPECT_DOUBLE_EQ(twice.amount, 200);
    EXPECT_EQ(twice.protein, 4) << "stored 2 plus 2.5 gives 4.5, which goes to 4";
    EXPECT_EQ(twice.fat, 8) << "stored 4 plus 3.5 gives 7.5, which goes to 8";
}

TEST(Booking, SumsAndNewEntriesStopAtTheFieldLimits)
{
    const FoodRow huge{QStringLiteral("Riesenportion"), Pieces, 60000, 6000, 0, 1};
    const Entry first = bookedEntry(huge, Pieces, 10, std::nullopt);
    EXPECT_EQ(first.energy, 99999);
    EXPECT_EQ(first.protein, 9999);
    EXPECT_EQ(first.fat, 10);
    Entry existing = first;
    existing.amount = 9995;
    const Entry sum = bookedEntry(huge, Pieces, 10, existing);
    EXPECT_DOUBLE_EQ(sum.amount, 9999);
    EXPECT_EQ(sum.fat, 20);
}

TEST(Booking, TheUnitTextAndTheNameComeFromTheCatalogue)
{
    const FoodRow juice{QStringLiteral("Apfelsaft"), Millilitres, 200, 0.1, 11, 0.1};
    const Entry old{250, QStringLiteral("g"), QStringLiteral("apfelsaft"), 500, 0, 28, 0};
    const Entry e = bookedEntry(juice, Millilitres, 3.3, old);
    EXPECT_EQ(e.name, "Apfelsaft");
    EXPECT_EQ(e.unit, "ml");
    EXPECT_DOUBLE_EQ(e.amount, 580);
    EXPECT_EQ(quantityUnit(3), "St.");
    EXPECT_EQ(quantityUnit(7), "g");
}

TEST(Booking, CatalogueRowsAreReadInTheLocale)
{
    std::optional<testing_support::LocaleScope> locale{std::in_place,
                                                       QLocale(QLocale::German, QLocale::Germany)};
    auto row = readFoodRow("Brot", {"1", "900", "6,5", "40", "1,2"});
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row->protein, 6.5);
    EXPECT_EQ(
        readFoodRow("Brot", {"1", "900", "6,5", "vierzig", "1,2"}).message(),
        "Der Katalogwert \"vierzig\" von \"Brot\" ist keine Zahl.\rDie Buchung wurde nicht ausgeführt.");
    locale.emplace(QLocale(QLocale::English, QLocale::UnitedStates));
    row = readFoodRow("Brot", {"1", "900", "6.5", "40", "1.2"});
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row->fat, 1.2);
}
