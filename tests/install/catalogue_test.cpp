// The starting catalogues are data: these tests hold the data to its rules
// and check that a new diary carries exactly that data in name order.

#include "install/catalogue.h"
#include "install/installer.h"
#include "store/codepage.h"
#include "store/table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

using namespace install;

namespace {

bool oneDecimal(double value)
{
    return std::abs(value * 10 - std::round(value * 10)) < 1e-6;
}

bool storable(const QString& name)
{
    QByteArray bytes;
    return !name.isEmpty() && name.size() <= 30 && name == name.trimmed() &&
           store::encode(name, store::CodePage::Cp850, bytes) && store::encode(name, store::CodePage::Cp1252, bytes);
}

bool reserved(const QString& name)
{
    return name == u"Lückenfüller" || name == u"Tageszusammenfassung" || name.startsWith(u"Grund- und Arbeit");
}

} // namespace

TEST(Catalogue, FoodsFollowTheirRules)
{
    const std::vector<Food> foods = parseFoods(foodsText());
    EXPECT_GE(foods.size(), 600u);
    std::map<int, int> perCategory;
    std::set<std::pair<int, QString>> seen;
    for (const Food& f : foods) {
        SCOPED_TRACE(f.name.toStdString());
        ASSERT_GE(f.category, 1);
        ASSERT_LE(f.category, 16);
        ++perCategory[f.category];
        EXPECT_TRUE(storable(f.name));
        EXPECT_FALSE(reserved(f.name));
        EXPECT_TRUE(seen.insert({f.category, f.name}).second) << "twice in category " << f.category;
        EXPECT_TRUE(f.unit == Gram || f.unit == Millilitre || f.unit == Piece);
        for (double v : {f.protein, f.carbohydrate, f.fat, f.alcohol, f.fibre})
            EXPECT_TRUE(oneDecimal(v) && v >= 0);
        EXPECT_GE(f.energy, 0);
        EXPECT_LE(f.energy, 99999);
        const double computed = 17 * f.protein + 17 * f.carbohydrate + 37 * f.fat + 29 * f.alcohol + 8 * f.fibre;
        EXPECT_LE(std::abs(f.energy - computed), 0.1 * computed + 1e-9)
            << f.energy << " kJ against " << computed << " kJ from the nutrients";
        if (f.unit != Piece) // per 100 g or ml: the nutrients cannot weigh more than the food
            EXPECT_LE(f.protein + f.carbohydrate + f.fat + f.alcohol + f.fibre, 100.5);
    }
    for (int category = 1; category <= 15; ++category)
        EXPECT_GE(perCategory[category], 15) << "category " << category;
    EXPECT_GE(perCategory[16], 8) << "Favoriten";
}

TEST(Catalogue, ActivitiesFollowTheirRules)
{
    const std::vector<Activity> activities = parseActivities(activitiesText());
    EXPECT_GE(activities.size(), 150u);
    std::map<int, int> perCategory;
    std::set<std::pair<int, QString>> seen;
    for (const Activity& a : activities) {
        SCOPED_TRACE(a.name.toStdString());
        ASSERT_GE(a.category, 2);
        ASSERT_LE(a.category, 9);
        ++perCategory[a.category];
        EXPECT_TRUE(storable(a.name));
        EXPECT_FALSE(reserved(a.name));
        EXPECT_TRUE(seen.insert({a.category, a.name}).second);
        EXPECT_TRUE(oneDecimal(a.met));
        EXPECT_EQ(a.energy, std::lround(a.met * 75 * 4.184)) << "kJ per hour at 75 kg from the MET value";
    }
    for (int category = 2; category <= 9; ++category)
        EXPECT_GE(perCategory[category], 12) << "category " << category;
}

TEST(Catalogue, MalformedLinesAreRefusedWithTheirNumber)
{
    EXPECT_THROW(parseFoods("# Kopf\n1|Wasser|l|0|0.0|0.0|0.0|0.0|0.0\n"), CatalogueError);
    EXPECT_THROW(parseFoods("1|Wasser|ml|0|0.0\n"), CatalogueError);
    EXPECT_THROW(parseActivities("2|Bügeln|2,3|722\n"), CatalogueError);
    try {
        parseFoods("\n# Kopf\n1|Wasser|ml|null|0.0|0.0|0.0|0.0|0.0\n");
        FAIL();
    } catch (const CatalogueError& e) {
        EXPECT_STREQ(e.what(), "Zeile 3: keine ganze Zahl: null");
    }
}

TEST(Catalogue, ANewDiaryHoldsExactlyTheDataInNameOrder)
{
    QTemporaryDir dir;
    layOutDiary(dir.path(), Content::Fresh);

    std::vector<Food> foods = parseFoods(foodsText());
    auto stored = [](const QString& name) {
        QByteArray bytes;
        store::encode(name.leftJustified(30, u' '), store::CodePage::Cp850, bytes);
        return bytes;
    };
    std::stable_sort(foods.begin(), foods.end(),
                     [&](const Food& a, const Food& b) { return stored(a.name) < stored(b.name); });
    store::Table nrg(store::schema::nrg());
    nrg.open(dir.path());
    size_t i = 0;
    for (nrg.first(); !nrg.eof(); nrg.next(), ++i) {
        ASSERT_LT(i, foods.size());
        const Food& f = foods[i];
        ASSERT_EQ(nrg.fieldText("NRGNAME"), f.name);
        EXPECT_EQ(nrg.fieldInt("NRGKAT"), f.category);
        EXPECT_EQ(nrg.fieldInt("NRGME"), f.unit);
        EXPECT_EQ(nrg.fieldInt("NRGENERGIE"), f.energy);
        EXPECT_DOUBLE_EQ(nrg.fieldDouble("NRGPROTEIN"), f.protein);
        EXPECT_DOUBLE_EQ(nrg.fieldDouble("NRGKOHLENH"), f.carbohydrate);
        EXPECT_DOUBLE_EQ(nrg.fieldDouble("NRGFETT"), f.fat);
    }
    EXPECT_EQ(i, foods.size());

    std::vector<Activity> activities = parseActivities(activitiesText());
    std::stable_sort(activities.begin(), activities.end(),
                     [&](const Activity& a, const Activity& b) { return stored(a.name) < stored(b.name); });
    store::Table akt(store::schema::akt());
    akt.open(dir.path());
    i = 0;
    for (akt.first(); !akt.eof(); akt.next(), ++i) {
        ASSERT_LT(i, activities.size());
        ASSERT_EQ(akt.fieldText("AKTNAME"), activities[i].name);
        EXPECT_EQ(akt.fieldInt("AKTKAT"), activities[i].category);
        EXPECT_EQ(akt.fieldInt("AKTME"), 1);
        EXPECT_EQ(akt.fieldInt("AKTENERGIE"), activities[i].energy);
    }
    EXPECT_EQ(i, activities.size());
}
