// The rules of the daily weight field and the scale on plain values: typed
// characters, reading and storing, the needle and the body-mass index.

#include "diary/rules/numbers.h"
#include "main/goals/rules/weightrules.h"

#include "support/printers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

constexpr int kMann = 1, kFrau = 2;
int heightItem(int cm)
{
    return cm - 139;
}

// The key typed at the end of the text, without a selection.
QChar typedAtEnd(QChar key, const QString& text, const QLocale& locale)
{
    return goals::weightKey(key, text, text.size(), 0, locale);
}

} // namespace

TEST(WeightRules, GoalFieldsTakeDigitsAndBackspaceOnly)
{
    for (QChar c : QStringLiteral("0123456789\b"))
        EXPECT_EQ(numbers::integerKey(c), c) << int(c.unicode());
    for (QChar c : QStringLiteral("a-,. +eE\u00b2\u0663"))
        EXPECT_TRUE(numbers::integerKey(c).isNull()) << int(c.unicode());
}

TEST(WeightRules, TheWeightFieldTakesOneSeparatorNeverFirst)
{
    for (const QLocale& locale : {kGerman, kEnglish}) {
        EXPECT_EQ(typedAtEnd(u'7', "", locale), u'7');
        EXPECT_EQ(typedAtEnd(u'\b', "72", locale), u'\b');
        EXPECT_TRUE(typedAtEnd(u'a', "72", locale).isNull());
        EXPECT_TRUE(typedAtEnd(u'-', "", locale).isNull());
        EXPECT_TRUE(typedAtEnd(u' ', "72", locale).isNull());
        EXPECT_TRUE(typedAtEnd(u',', "", locale).isNull()) << "never first";
        EXPECT_TRUE(typedAtEnd(u'.', "", locale).isNull());
        EXPECT_TRUE(goals::weightKey(u',', "72", 0, 0, locale).isNull())
            << "not in front of the digits either";
        EXPECT_TRUE(goals::weightKey(u',', "72", 0, 2, locale).isNull()) << "nor in place of all of them";
    }
    // Only a whole number of digits takes a separator.
    EXPECT_TRUE(typedAtEnd(u',', "72,5", kGerman).isNull());
    EXPECT_TRUE(typedAtEnd(u'.', "72,5", kGerman).isNull());
    EXPECT_TRUE(typedAtEnd(u'.', "72.5", kEnglish).isNull());
    EXPECT_TRUE(typedAtEnd(u',', "7a", kGerman).isNull());
    // Typed over the selected separator, one takes its place.
    EXPECT_EQ(goals::weightKey(u'.', "72,5", 2, 1, kGerman), u',');
    EXPECT_EQ(goals::weightKey(u',', "725", 2, 0, kGerman), u',');
}

TEST(WeightRules, AKeyPassesOnlyWhenTheRecordHoldsTheWeightAsShown)
{
    // text, cursor (or selection start), selection length, key, passes
    const struct
    {
        const char* text;
        int at;
        int selected;
        char key;
        bool passes;
    } cases[] = {
        {"100,", 4, 0, '5', true},  {"100,5", 5, 0, '5', false}, // a second decimal place
        {"72,5", 4, 0, '3', false}, {"72,5", 2, 0, '3', false},  {"72,5", 0, 0, '1', false}, // 172,5
        {"15", 2, 0, '0', true},    {"15", 2, 0, '1', false},    {"150", 3, 0, ',', true},
        {"150,", 4, 0, '0', true},  {"150,", 4, 0, '1', false},  {"725", 1, 0, ',', false}, // 7,25
        {"7", 0, 0, '0', true},     {"077,9", 0, 0, '0', false},                            // six characters
        {"72,5", 0, 4, '9', true},  {"0", 1, 0, '7', true},      {"0", 1, 0, '\b', true},
    };
    for (const auto& c : cases) {
        const QChar passed = goals::weightKey(QChar(c.key), c.text, c.at, c.selected, kGerman);
        EXPECT_EQ(!passed.isNull(), c.passes) << c.text << " + " << c.key << " at " << c.at;
    }
}

TEST(WeightRules, TheRecordHoldsAWeightOfOneDecimalUpTo150)
{
    for (const char* text : {"", "0", "7", "72,5", "150", "150,0", "0,5", ",5", "72,", "007", "0100,"})
        EXPECT_TRUE(goals::weightFits(text, kGerman)) << text;
    for (const char* text :
         {",", "150,1", "151", "72,55", "-5", "1e2", "72.5", " 80", "8O", "100,50", "07,25"})
        EXPECT_FALSE(goals::weightFits(text, kGerman)) << text;
    EXPECT_TRUE(goals::weightFits("72.5", kEnglish));
    EXPECT_FALSE(goals::weightFits("72,5", kEnglish));
    EXPECT_TRUE(goals::showsNoWeight("0"));
    EXPECT_FALSE(goals::showsNoWeight("0,"));
    EXPECT_FALSE(goals::showsNoWeight(""));
}

TEST(WeightRules, BothSeparatorsBecomeTheLocalOne)
{
    EXPECT_EQ(typedAtEnd(u',', "72", kGerman), u',');
    EXPECT_EQ(typedAtEnd(u'.', "72", kGerman), u',');
    EXPECT_EQ(typedAtEnd(u',', "72", kEnglish), u'.');
    EXPECT_EQ(typedAtEnd(u'.', "72", kEnglish), u'.');
}

TEST(WeightRules, ReadingTheWeightText)
{
    EXPECT_EQ(goals::readWeight("", kGerman), 0.0f) << "the empty text means 0";
    EXPECT_EQ(goals::readWeight("72,5", kGerman), 72.5f);
    EXPECT_EQ(goals::readWeight(" 80 ", kGerman), 80.0f);
    EXPECT_EQ(goals::readWeight("72,", kGerman), 72.0f);
    EXPECT_EQ(goals::readWeight(",5", kGerman), 0.5f);
    EXPECT_EQ(goals::readWeight("72.5", kEnglish), 72.5f);
    EXPECT_EQ(goals::readWeight("72,3", kGerman), 72.3f) << "held in single precision";
    for (const char* text : {",", "72.5", "1.000", "abc", "8o", "-", "inf", "nan", "1,2,3"})
        EXPECT_EQ(goals::readWeight(text, kGerman), std::nullopt) << text;
    EXPECT_EQ(goals::readWeight("72,5", kEnglish), std::nullopt);
    EXPECT_EQ(goals::readWeight(".", kEnglish), std::nullopt);
}

TEST(WeightRules, OnlyWeightsUpTo150AreStored)
{
    EXPECT_EQ(goals::storableWeight(150.0f), 150.0f);
    EXPECT_EQ(goals::storableWeight(72.5f), 72.5f);
    EXPECT_EQ(goals::storableWeight(150.01f), 0.0f);
    EXPECT_EQ(goals::storableWeight(-1.0f), 0.0f);
    EXPECT_EQ(goals::storableWeight(INFINITY), 0.0f);
    const float negativeZero = goals::storableWeight(-0.0f);
    EXPECT_EQ(negativeZero, 0.0f);
    EXPECT_FALSE(std::signbit(negativeZero));
}

TEST(WeightRules, TheNeedleAtTheBoundaryWeights)
{
    const int h180 = heightItem(180);
    EXPECT_EQ(goals::needleFor(80.0f, kMann, h180), 5);
    EXPECT_EQ(goals::needleFor(57.0f, kMann, h180), 1) << "0.7125";
    EXPECT_EQ(goals::needleFor(56.0f, kMann, h180), 0) << "0.7 in single precision is 0.69999998";
    EXPECT_EQ(goals::needleFor(128.0f, kMann, h180), 0) << "1.6 in single precision is 1.60000002";
    EXPECT_EQ(goals::needleFor(130.0f, kMann, h180), 0);
    EXPECT_EQ(goals::needleFor(127.9f, kMann, h180), 15);
    EXPECT_EQ(goals::needleFor(58.5f, kFrau, heightItem(165)), 5) << "normal weight 58.5, not truncated";
    EXPECT_EQ(goals::scaleNormalWeight(kFrau, heightItem(165)), 58.5f);
    // No reading without sex, height or weight.
    EXPECT_EQ(goals::needleFor(80.0f, 0, h180), 0);
    EXPECT_EQ(goals::needleFor(80.0f, kMann, 0), 0);
    EXPECT_EQ(goals::needleFor(80.0f, kMann, -1), 0);
    EXPECT_EQ(goals::needleFor(0.0f, kMann, h180), 0);
    EXPECT_EQ(goals::needleFor(-80.0f, kMann, h180), 0);
}

TEST(WeightRules, EachNeedleTileReadsItsBand)
{
    const std::pair<float, int> cases[] = {
        {0.7125f, 1}, {0.85f, 1},  {0.87f, 2}, {0.9f, 3},  {0.93f, 4},  {1.0f, 5},
        {1.06f, 6},   {1.1f, 7},   {1.12f, 8}, {1.15f, 9}, {1.18f, 10}, {1.21f, 11},
        {1.24f, 12},  {1.27f, 13}, {1.3f, 14}, {1.4f, 15}, {0.5f, 0},   {1.7f, 0},
    };
    for (const auto& [ratio, tile] : cases)
        EXPECT_EQ(goals::needleTile(ratio), tile) << ratio;
    // At each decimal bound the single-precision ratio falls on its own
    // side: 0.95f is 0.94999999 and still reads tile 4, 0.86f is 0.86000001
    // and already reads tile 2.
    EXPECT_EQ(goals::needleTile(0.95f), 4);
    EXPECT_EQ(goals::needleTile(std::nextafter(0.95f, 2.0f)), 5);
    EXPECT_EQ(goals::needleTile(1.05f), 5);
    EXPECT_EQ(goals::needleTile(std::nextafter(1.05f, 2.0f)), 6);
    EXPECT_EQ(goals::needleTile(0.86f), 2);
    EXPECT_EQ(goals::needleTile(std::nextafter(0.86f, 0.0f)), 1);
    EXPECT_EQ(goals::needleTile(std::nextafter(1.6f, 0.0f)), 15);
    EXPECT_EQ(goals::needleTile(std::nextafter(0.7f, 2.0f)), 1);
    EXPECT_EQ(goals::needleTile(NAN), 0);
}

TEST(WeightRules, NeedleTilesLieInTheQuarterOfTheirReading)
{
    for (int tile : {0, 1, 2, 3})
        EXPECT_EQ(goals::needlePlace(tile), QPoint(16, 88)) << tile;
    for (int tile : {4, 5, 6, 7})
        EXPECT_EQ(goals::needlePlace(tile), QPoint(16, 59)) << tile;
    for (int tile : {8, 9, 10, 11})
        EXPECT_EQ(goals::needlePlace(tile), QPoint(45, 59)) << tile;
    for (int tile : {12, 13, 14, 15})
        EXPECT_EQ(goals::needlePlace(tile), QPoint(45, 88)) << tile;
}

TEST(WeightRules, TheBodyMassIndexText)
{
    EXPECT_EQ(goals::bmiText("80", heightItem(180), kGerman), " BMI 24,7");
    EXPECT_EQ(goals::bmiText("80", heightItem(180), kEnglish), " BMI 24.7");
    EXPECT_EQ(goals::bmiText("72,5", heightItem(165), kGerman), " BMI 26,6");
    // 97 kg at 2 m is 24.25 exactly: the half goes away from zero.
    EXPECT_EQ(goals::bmiText("97", heightItem(200), kGerman), " BMI 24,3");
    EXPECT_EQ(goals::bmiText("-97", heightItem(200), kGerman), " BMI -24,3");
    EXPECT_EQ(goals::bmiText("0", heightItem(180), kGerman), " BMI 0,0");
    // From 1000 on four digits leave no decimal.
    EXPECT_EQ(goals::bmiText("9999", heightItem(140), kGerman), " BMI 5102,0");
    EXPECT_EQ(goals::bmiText("99999", heightItem(140), kGerman), std::nullopt);
    // Nothing without a height or a number.
    EXPECT_EQ(goals::bmiText("80", 0, kGerman), std::nullopt);
    EXPECT_EQ(goals::bmiText("80", -1, kGerman), std::nullopt);
    EXPECT_EQ(goals::bmiText("", heightItem(180), kGerman), std::nullopt);
    EXPECT_EQ(goals::bmiText(",", heightItem(180), kGerman), std::nullopt);
    EXPECT_EQ(goals::bmiText("80.5", heightItem(180), kGerman), std::nullopt);
}

TEST(WeightRules, NeedleReadingsJoinWithoutGaps)
{
    EXPECT_EQ(goals::needleReadings(1).lower, 0.70);
    EXPECT_EQ(goals::needleReadings(15).upper, 1.60);
    for (int tile = 2; tile <= 15; ++tile)
        EXPECT_EQ(goals::needleReadings(tile).lower, goals::needleReadings(tile - 1).upper) << tile;
    // The middle of each tile's readings reads that tile.
    for (int tile = 1; tile <= 15; ++tile) {
        const goals::NeedleReadings r = goals::needleReadings(tile);
        EXPECT_EQ(goals::needleTile(static_cast<float>((r.lower + r.upper) / 2)), tile);
    }
}

TEST(WeightRules, TheWeightClassIsWhereTheNeedlePoints)
{
    // Each tile by the middle of its readings: 0.78 mager, 0.875 dünn,
    // 0.905 ... 1.095 normal, 1.125 ... 1.275 dick, from 1.31 fett.
    const char* const classes[16] = {"",       "mager",  "dünn", "normal", "normal", "normal",
                                     "normal", "normal", "dick", "dick",   "dick",   "dick",
                                     "dick",   "dick",   "fett", "fett"};
    for (int tile = 0; tile <= 15; ++tile)
        EXPECT_EQ(goals::weightClass(tile), QString::fromUtf8(classes[tile])) << tile;
    EXPECT_EQ(goals::weightClass(16), QString());
    // A man of 180 cm (normal weight 80 kg).
    EXPECT_EQ(goals::weightClass(goals::needleFor(80.0f, kMann, heightItem(180))), "normal");
    EXPECT_EQ(goals::weightClass(goals::needleFor(110.0f, kMann, heightItem(180))), "fett");
    EXPECT_EQ(goals::weightClass(goals::needleFor(55.0f, kMann, heightItem(180))), QString())
        << "the needle rests";
}
