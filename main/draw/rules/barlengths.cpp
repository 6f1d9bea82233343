#include "main/draw/rules/barlengths.h"

#include "diary/rules/numbers.h"

#include <algorithm>

namespace draw {
namespace {

constexpr int kVerticalBase = 289; // the row below the lowest unit
constexpr int kHorizontalStart = 13;
constexpr int kTubeWidth = 9;

// A goal text that is not an integer is taken as a goal of one unit, so
// every non-empty bar counts as over it.
qint64 goalLength(const QString& text, qint64 times, qint64 per)
{
    qint64 goal = 0;
    if (!numbers::parseInteger(text, goal))
        return 1;
    return goal * times / per;
}

int verticalLeft(BarId bar)
{
    return bar == BarId::FoodEnergy ? 9 : 61;
}

int horizontalTop(BarId bar)
{
    switch (bar) {
    case BarId::Fat:
        return 333;
    case BarId::Protein:
        return 382;
    default:
        return 434;
    }
}

bool vertical(BarId bar)
{
    return bar == BarId::FoodEnergy || bar == BarId::ActivityEnergy;
}

// Rectangles from the corners as the drawing names them: right and bottom
// exclusive.
QRect fromCorners(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

Bar makeBar(qint64 valueLength, qint64 goalLength, int longest, int markBelow)
{
    Bar bar;
    bar.overGoal = valueLength >= goalLength;
    bar.length = static_cast<int>(std::clamp<qint64>(valueLength, 0, longest));
    if (goalLength > 0 && goalLength < markBelow)
        bar.goalMark = static_cast<int>(goalLength);
    return bar;
}

DayBars dayBars(const diary::DayTotals& totals, const GoalTexts& goals, bool kcal)
{
    const qint64 energyGoal = kcal ? goalLength(goals.energieCal, 1, 60) : goalLength(goals.energie, 1, 250);
    DayBars bars;
    bars.food = makeBar(totals.energy / 250, energyGoal, kLongestEnergyBar, kLongestEnergyBar);
    bars.activity = makeBar(totals.fitness / 250, 0, kLongestEnergyBar, kLongestEnergyBar);
    bars.activity.overGoal = false;
    bars.fat = makeBar(totals.fat * 10 / 25, goalLength(goals.fett, 10, 25), kLongestNutrientBar,
                       kLongestNutrientBar + 1);
    bars.protein = makeBar(totals.protein * 10 / 25, goalLength(goals.protein, 10, 25), kLongestNutrientBar,
                           kLongestNutrientBar + 1);
    bars.carbohydrate = makeBar(totals.carbohydrate / 10, goalLength(goals.kohlenh, 1, 10),
                                kLongestNutrientBar, kLongestNutrientBar + 1);
    return bars;
}

QRect troughRect(BarId bar)
{
    if (vertical(bar))
        return tubeRect(bar, kLongestEnergyBar);
    return tubeRect(bar, kLongestNutrientBar);
}

QRect tubeRect(BarId bar, int length)
{
    if (length <= 0)
        return {};
    if (vertical(bar)) {
        const int left = verticalLeft(bar);
        return fromCorners(left, kVerticalBase - length, left + kTubeWidth, kVerticalBase);
    }
    const int top = horizontalTop(bar);
    return fromCorners(kHorizontalStart, top, kHorizontalStart + length, top + kTubeWidth);
}

QRect goalMarkRect(BarId bar, int goal)
{
    if (goal <= 0)
        return {};
    if (vertical(bar)) {
        const int left = verticalLeft(bar);
        return fromCorners(left, kVerticalBase - goal, left + kTubeWidth, kVerticalBase + 2 - goal);
    }
    const int top = horizontalTop(bar);
    return fromCorners(goal + 11, top, goal + 13, top + kTubeWidth);
}

} // namespace draw
