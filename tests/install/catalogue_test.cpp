// The starting catalogues are data: these tests hold the data to its rules
// and check that a new diary carries exactly that data in name order.

#include "diary/rules/numbers.h"
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

qint64 tenths(double value)
{
    return std::llround(value * 10);
}

// Whole kJ from the nutrients in exact tenths of a gram, halves upwards.
qint64 energyFromNutrients(const Food& f)
{
    const qint64 tenthsOfKj = 17 * tenths(f.protein) + 17 * tenths(f.carbohydrate) + 37 * tenths(f.fat) +
                              29 * tenths(f.alcohol) + 8 * tenths(f.fibre);
    return (tenthsOfKj + 5) / 10;
}

std::map<std::pair<int, QString>, Food> byCategoryAndName(const std::vector<Food>& foods)
{
    std::map<std::pair<int, QString>, Food> index;
    for (const Food& f : foods)
        index.emplace(std::pair(f.category, f.name), f);
    return index;
}

} // namespace

TEST(Catalogue, FoodsFollowTheirRules)
{
    const std::vector<Food> foods = parseFoods(foodsText());
    EXPECT_GE(foods.size(), 770u);
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
        EXPECT_TRUE(f.unit == units::Grams || f.unit == units::Millilitres || f.unit == units::Pieces);
        for (double v : {f.protein, f.carbohydrate, f.fat, f.alcohol, f.fibre})
            EXPECT_TRUE(oneDecimal(v) && v >= 0);
        EXPECT_GE(f.energy, 0);
        EXPECT_LE(f.energy, 99999);
        EXPECT_EQ(f.energy, energyFromNutrients(f)) << "kJ from the nutrients, halves upwards";
        // The nutrients cannot weigh more than the food: 100 g or ml, or the piece.
        const double weight = f.unit == units::Pieces ? f.pieceWeight : 100;
        EXPECT_LE(f.protein + f.carbohydrate + f.fat + f.alcohol + f.fibre, weight + 0.5);
        if (f.unit == units::Pieces) {
            EXPECT_GE(f.pieceWeight, 1);
            EXPECT_LE(f.pieceWeight, 500);
        } else {
            EXPECT_EQ(f.pieceWeight, 0);
        }
    }
    for (int category = 1; category <= 15; ++category)
        EXPECT_GE(perCategory[category], 15) << "category " << category;
    EXPECT_GE(perCategory[16], 8) << "Favoriten";
}

TEST(Catalogue, SlicesAndPiecesAreTheirGramEntryScaledToThePiece)
{
    const std::vector<Food> foods = parseFoods(foodsText());
    const auto index = byCategoryAndName(foods);
    int scaled = 0;
    for (const Food& f : foods) {
        const qsizetype comma = f.name.lastIndexOf(u", ");
        const QString kind = comma < 0 ? QString() : f.name.mid(comma + 2);
        if (kind != u"Scheibe" && kind != u"Stück")
            continue;
        SCOPED_TRACE(f.name.toStdString());
        ++scaled;
        ASSERT_EQ(f.unit, units::Pieces);
        const auto whole = index.find({f.category, f.name.left(comma)});
        ASSERT_NE(whole, index.end()) << "no gram entry beside the piece";
        const Food& g = whole->second;
        ASSERT_EQ(g.unit, units::Grams);
        const double share = f.pieceWeight / 100.0;
        EXPECT_NEAR(f.protein, g.protein * share, 0.05 + 1e-9);
        EXPECT_NEAR(f.carbohydrate, g.carbohydrate * share, 0.05 + 1e-9);
        EXPECT_NEAR(f.fat, g.fat * share, 0.05 + 1e-9);
        EXPECT_NEAR(f.alcohol, g.alcohol * share, 0.05 + 1e-9);
        EXPECT_NEAR(f.fibre, g.fibre * share, 0.05 + 1e-9);
        // Each rounded nutrient may move the energy by 0.05 g times its factor.
        EXPECT_NEAR(f.energy, g.energy * share, 0.05 * (17 + 17 + 37 + 29 + 8) + 1);
    }
    EXPECT_GE(scaled, 35);
}

TEST(Catalogue, AFoodInSeveralCategoriesHasTheSameValuesInEach)
{
    // A diary entry names its food without its category, so two entries of one
    // name must mean the same food.
    std::map<QString, Food> first;
    for (const Food& f : parseFoods(foodsText())) {
        const auto [it, isNew] = first.emplace(f.name, f);
        if (isNew)
            continue;
        SCOPED_TRACE(f.name.toStdString());
        const Food& o = it->second;
        EXPECT_EQ(f.unit, o.unit);
        EXPECT_EQ(f.energy, o.energy);
        EXPECT_EQ(f.protein, o.protein);
        EXPECT_EQ(f.carbohydrate, o.carbohydrate);
        EXPECT_EQ(f.fat, o.fat);
        EXPECT_EQ(f.pieceWeight, o.pieceWeight);
    }
}

TEST(Catalogue, EverydayFoodsAreWhereAHouseholdLooksForThem)
{
    const auto index = byCategoryAndName(parseFoods(foodsText()));
    const std::pair<int, const char16_t*> wanted[] = {{5, u"Vollkornbrot, Scheibe"},
                                                      {5, u"Toastbrot, Scheibe"},
                                                      {5, u"Roggenmischbrot, Scheibe"},
                                                      {5, u"Knäckebrot, Scheibe"},
                                                      {5, u"Honig"},
                                                      {5, u"Konfitüre (Erdbeere)"},
                                                      {5, u"Nuss-Nougat-Creme"},
                                                      {5, u"Butter"},
                                                      {10, u"Honig"},
                                                      {4, u"Kartoffelsalat mit Mayonnaise"},
                                                      {4, u"Kartoffelsalat mit Essig, Öl"},
                                                      {8, u"Gänsebraten"},
                                                      {10, u"Stollen"},
                                                      {10, u"Stollen, Scheibe"},
                                                      {10, u"Plätzchen, gemischt"},
                                                      {10, u"Butterplätzchen"},
                                                      {10, u"Vanillekipferl"},
                                                      {10, u"Zimtsterne"},
                                                      {1, u"Kinderpunsch"},
                                                      {2, u"Gouda, jung, Scheibe"},
                                                      {8, u"Salami, Scheibe"},
                                                      {10, u"Käsekuchen, Stück"}};
    for (const auto& [category, name] : wanted)
        EXPECT_TRUE(index.count({category, QString::fromUtf16(name)}))
            << QString::fromUtf16(name).toStdString() << " in category " << category;
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
    EXPECT_THROW(parseFoods("1|Wasser|ml|0|0.0|0.0|0.0|0.0|0.0|250\n"), CatalogueError);
    EXPECT_THROW(parseFoods("3|Apfel|St.|334|0.5|17.1|0.3|0.0|3.0|-150\n"), CatalogueError);
    EXPECT_EQ(parseFoods("3|Apfel|St.|334|0.5|17.1|0.3|0.0|3.0|150\n").at(0).pieceWeight, 150);
    try {
        parseFoods("3|Apfel|St.|334|0.5|17.1|0.3|0.0|3.0\n");
        FAIL();
    } catch (const CatalogueError& e) {
        EXPECT_STREQ(e.what(), "Zeile 1: 9 statt 10 Spalten");
    }
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
