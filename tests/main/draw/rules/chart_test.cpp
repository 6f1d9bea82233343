// The chart's geometry on plain values.

#include "main/draw/rules/chart.h"
#include "support/locale.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace chart;

namespace {

Input weightInput(std::vector<double> kg)
{
    Input in;
    in.series = 1;
    in.zoomX = 1;
    in.zoomY = 2;
    in.scrollY = 61; // bottom weight rnd(39 * 0.9) + 40 = 75
    in.start = QDate(2005, 3, 5);
    in.values = std::move(kg);
    return in;
}

} // namespace

TEST(Chart, TheTimeWindowAtEachZoomLevel)
{
    EXPECT_EQ(windowDays(1), 477);
    EXPECT_EQ(windowDays(2), 239);
    EXPECT_EQ(windowDays(3), 120);
    EXPECT_EQ(windowStart(QDate(2002, 1, 1), 3), QDate(2002, 1, 22));
    EXPECT_EQ(readoutDay(QDate(2005, 3, 1), 3, 9), QDate(2005, 3, 3));
    EXPECT_EQ(readoutDay(QDate(2005, 3, 1), 1, 9), QDate(2005, 3, 10));
}

TEST(Chart, WeekPatternColumnsFollowTheWeekday)
{
    // Level 1 (one unit a day): Sunday column 6 (silver), Monday column 0 (grey).
    EXPECT_EQ(patternColumn(1, 1, 0), 27);
    EXPECT_EQ(patternColumn(2, 1, 0), 0);
    EXPECT_EQ(patternColumn(3, 4, 2), 9);
    // The window starting on a Wednesday shifts the pattern by B = (4 - 1) * 1 - 1.
    Input in = weightInput({});
    in.start = QDate(2005, 3, 2); // a Wednesday
    const Chart c = build(in);
    ASSERT_EQ(c.background.size(), 18u);
    EXPECT_EQ(c.background[0].target, QRect(-2, 0, 28, 469));
    EXPECT_EQ(c.background[0].piece, Piece::Week1);
}

TEST(Chart, WeightDotsStrokesAndGaps)
{
    Chart c = build(weightInput({80, 80.5, 0, 81, 90, 89}));
    // Rows: 468 - rnd((w - 75) * 20): 80 -> 368, 80.5 -> 358, 81 -> 348, 90 -> 168, 89 -> 188; at time
    // level 1 a dot is two units square and a stroke two units wide.
    std::vector<QRect> rects;
    for (size_t i = 0; i < 8; ++i)
        rects.push_back(c.data[i].target);
    const std::vector<QRect> expected = {
        QRect(QPoint(0, 368), QPoint(1, 369)),   // day 0
        QRect(QPoint(1, 358), QPoint(2, 369)),   // stroke from 358 down to the previous dot
        QRect(QPoint(1, 358), QPoint(2, 359)),   // day 1
        QRect(QPoint(2, 1968), QPoint(3, 1969)), // day 2 without weight: far below, no stroke
        QRect(QPoint(3, 348), QPoint(4, 349)),   // day 3: no stroke from the empty day
        QRect(QPoint(4, 168), QPoint(5, 169)),   // day 4: a jump of 9 kg, no stroke
        QRect(QPoint(5, 168), QPoint(6, 187)),   // stroke from the previous dot down to 188
        QRect(QPoint(5, 188), QPoint(6, 189)),   // day 5
    };
    EXPECT_EQ(rects, expected);
    EXPECT_TRUE(c.goalLines.empty()) << "no desired weight";

    Input in = weightInput({80});
    in.desiredWeightItem = 36; // 75 kg, the bottom of the range
    EXPECT_TRUE(build(in).goalLines.empty()) << "a goal line below the plot is not drawn";
    in.desiredWeightItem = 41; // 80 kg
    EXPECT_EQ(build(in).goalLines, std::vector<int>{368});
}

TEST(Chart, SmoothingKeepsTheFirstDaysAndTheNeighboursOfEmptyDaysRaw)
{
    EXPECT_EQ(smoothed({3, 6, 9, 12, 0, 6, 9, 12}), (std::vector<double>{3, 6, 6, 9, 0, 6, 9, 9}));
}

TEST(Chart, BarsAreRedAboveTheGoalAndActivitiesAlwaysBlue)
{
    Input in;
    in.series = 2;
    in.zoomX = 1;
    in.zoomY = 2; // 5000 kJ per 100 units
    in.start = QDate(2005, 3, 5);
    in.goalText = QStringLiteral("10000"); // goal row 469 - 200 = 269
    in.desiredWeightItem = 31;
    in.values = {10000, 10050, 9950, 0};
    Chart c = build(in);
    ASSERT_EQ(c.data.size(), 3u);
    EXPECT_EQ(c.data[0].piece, Piece::NormalBar) << "at the goal";
    EXPECT_EQ(c.data[0].target, QRect(QPoint(0, 269), QPoint(1, 468)));
    EXPECT_EQ(c.data[1].piece, Piece::HighlightBar) << "above it";
    EXPECT_EQ(c.data[2].piece, Piece::NormalBar);
    EXPECT_EQ(c.goalLines, std::vector<int>{269});

    in.desiredWeightItem = 0;
    EXPECT_TRUE(build(in).goalLines.empty()) << "no goal line while the desired weight is ?";
    in.goalText = QStringLiteral("");
    in.desiredWeightItem = 31;
    c = build(in);
    EXPECT_TRUE(c.goalLines.empty()) << "a goal that is no number gives row 469";
    EXPECT_EQ(c.data[0].piece, Piece::HighlightBar) << "and every bar counts as above it";

    in.series = 6;
    in.goalText = QStringLiteral("100");
    for (const Copy& bar : build(in).data)
        EXPECT_EQ(bar.piece, Piece::NormalBar);

    in.series = 2;
    in.values = {400000};
    EXPECT_EQ(build(in).data[0].target.top(), 1) << "a bar stops at the top";
}

TEST(Chart, TheBalanceRisesBlueAndFallsRed)
{
    Input in;
    in.series = 7;
    in.zoomX = 3;
    in.zoomY = 1; // 5000 kJ per 100 units
    in.start = QDate(2005, 3, 5);
    in.values = {1000, -1000, 10};
    const Chart c = build(in);
    ASSERT_EQ(c.data.size(), 2u) << "a balance of zero after rounding draws nothing";
    EXPECT_EQ(c.data[0].piece, Piece::NormalBar);
    EXPECT_EQ(c.data[0].target, QRect(QPoint(0, 229), QPoint(3, 248)));
    EXPECT_EQ(c.data[1].piece, Piece::HighlightBar);
    EXPECT_EQ(c.data[1].target, QRect(QPoint(4, 249), QPoint(7, 268)));
    EXPECT_EQ(c.goalLines, std::vector<int>{248});
}

TEST(Chart, MonthBoxesIncludeOneStartingBeforeTheWindow)
{
    Input in;
    in.series = 3;
    in.zoomX = 3;
    in.start = QDate(2005, 3, 20);
    const Chart c = build(in);
    ASSERT_GE(c.months.size(), 2u);
    EXPECT_EQ(c.months[0].text, " März      2005") << "19 days before the window";
    EXPECT_EQ(c.months[0].box, QRect(QPoint(-76, 469), QPoint(123, 486)));
    EXPECT_EQ(c.months[0].origin, QPoint(-56, 471));
    EXPECT_EQ(c.months[1].text, " April     2005");
    in.zoomX = 1;
    EXPECT_EQ(build(in).months[0].text, "3.05");
    in.zoomX = 2;
    EXPECT_EQ(build(in).months[0].text, "Mär 2005");
    in.start = QDate(2005, 3, 5);
    in.zoomX = 1;
    EXPECT_EQ(build(in).months[0].text, "2.05") << "the first of February lies 32 days before";
}

TEST(Chart, AxisLabelsInTheLocale)
{
    testing_support::LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(axisLabel(2, 1, false, 0, 1), "34,5");
    EXPECT_EQ(axisLabel(2, 1, true, 0, 1), "9200");
    EXPECT_EQ(axisLabel(7, 1, false, 0, 13), "0,0");
    EXPECT_EQ(axisLabel(7, 3, false, 0, 24), "2,2");
    EXPECT_EQ(axisLabel(1, 3, false, 61, 2), "90");
    EXPECT_EQ(axisLabel(1, 3, false, 61, 3), "");
    EXPECT_EQ(axisLabel(1, 1, false, 61, 1), QString::number(weightBottom(1, 61) + 46));
    EXPECT_EQ(axisLabel(5, 1, false, 0, 24), "0");
    EXPECT_EQ(build(Input{5, 1, 1}).labels[0].origin, QPoint(483, 3));
    EXPECT_EQ(build(Input{4, 1, 1}).labels[0].origin, QPoint(486, 3));
}

TEST(Chart, GoalRowsAndWeightScale)
{
    EXPECT_EQ(weightBottom(1, 61), 67);
    EXPECT_EQ(weightBottom(2, 61), 75);
    EXPECT_EQ(weightBottom(3, 61), 79);
    EXPECT_EQ(goalRow(2, 2, true, "2000"), 309) << "2000 / 5233 * 418.68 = 160.02";
    EXPECT_EQ(goalRow(2, 2, false, "8374"), 302) << "8374 / 5000 * 100 = 167.48";
    EXPECT_EQ(goalRow(3, 1, false, "70"), 399);
    EXPECT_EQ(goalRow(6, 1, false, "70"), 469);
    EXPECT_EQ(goalRow(4, 1, false, "7x"), 469);
}

TEST(Chart, PrintScaleAndReadout)
{
    EXPECT_EQ(printScale(4960, 7016), 9) << "portrait: page width div 513";
    EXPECT_EQ(printScale(7016, 4960), 10) << "landscape: page height div 487";
    testing_support::LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(readoutText(1, 72.5, false, QDate(2005, 3, 5)), " 05.03.2005 / 72,5 kg");
    EXPECT_EQ(readoutText(7, -4186.8, true, QDate(2005, 3, 5)), " 05.03.2005 / -1000 kcal");
    EXPECT_EQ(readoutText(2, 8374, false, QDate(2005, 3, 5)), " 05.03.2005 / 8374 kJ");
    EXPECT_EQ(readoutText(3, 0, false, QDate(2005, 3, 5)), "");
    EXPECT_TRUE(readoutHit(475, 467));
    EXPECT_FALSE(readoutHit(476, 100));
    EXPECT_FALSE(readoutHit(100, 468));
    EXPECT_EQ(readoutPlace(381, 431), QPoint(281, 431));
    EXPECT_EQ(readoutPlace(380, 430), QPoint(380, 466));
}
