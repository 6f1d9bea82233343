// The one rule for a day's totals: the entries' values summed as decimals,
// each sum capped at 99999, then truncated.

#include "diary/rules/daytotals.h"

#include <gtest/gtest.h>

#include <vector>

using diary::DayTotals;

TEST(DayTotals, EntriesAreSummedAsDecimalsThenCappedThenTruncated)
{
    struct Food
    {
        double energy, protein, carbohydrate, fat;
    };
    const struct Case
    {
        const char* what;
        std::vector<Food> food;
        std::vector<double> activity;
        DayTotals expected;
    } cases[] = {
        {"no entries", {}, {}, {}},
        {"whole numbers", {{1500, 25, 0, 29}, {75, 0, 4, 0}}, {10316}, {1575, 25, 4, 29, 10316}},
        {"each sum capped on its own",
         {{60000, 9999, 10, 1}, {60000, 9999, 0, 0}},
         {99999, 1},
         {99999, 19998, 10, 1, 99999}},
        {"exactly at the cap", {{99999, 0, 0, 0}}, {99998.5, 0.5}, {99999, 0, 0, 0, 99999}},
        {"decimals added before truncating", {{0.5, 12.4, 0.99, 0}, {0.5, 0.6, 0, 0}}, {}, {1, 13, 0, 0, 0}},
        {"a decimal sum above the cap", {{99999.9, 0, 0, 0}}, {}, {99999, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        diary::EntrySums sums;
        for (const Food& f : c.food)
            sums.addFood(f.energy, f.protein, f.carbohydrate, f.fat);
        for (double a : c.activity)
            sums.addActivity(a);
        EXPECT_EQ(diary::totalsOf(sums), c.expected);
    }
}

TEST(DayTotals, FieldsOfTheDayRecordByName)
{
    const DayTotals t{.energy = 1, .protein = 2, .carbohydrate = 3, .fat = 4, .fitness = 5};
    std::vector<std::pair<std::string, qint64>> named;
    for (const store::FieldValue& f : diary::totalFields(t))
        named.emplace_back(f.name, std::get<qint64>(f.value));
    EXPECT_EQ(
        named,
        (std::vector<std::pair<std::string, qint64>>{
            {"ZEBENERGIE", 1}, {"ZEBPROTEIN", 2}, {"ZEBKOHLENH", 3}, {"ZEBFETT", 4}, {"ZEBFITNESS", 5}}));
    EXPECT_EQ(diary::foodTotalFields(t).size(), 4u);
    ASSERT_EQ(diary::activityTotalFields(t).size(), 1u);
    EXPECT_STREQ(diary::activityTotalFields(t)[0].name, "ZEBFITNESS");
}
