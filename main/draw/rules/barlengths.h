#pragma once

#include "diary/rules/daytotals.h"

#include <QRect>
#include <QString>

// The day bars of the energy and nutrient signs: the day's totals and the
// user's goals turned into lengths, colours, goal marks and the rectangles
// they take in the right-hand picture. All lengths are whole units obtained
// by integer division (truncating); rectangles are in picture coordinates.
namespace draw {

// The texts of the goal fields as the user typed them: the energy goal in kJ
// and in kcal, the nutrient goals in g.
struct GoalTexts
{
    QString energie;
    QString energieCal;
    QString fett;
    QString protein;
    QString kohlenh;
};

enum class BarId { FoodEnergy, ActivityEnergy, Fat, Protein, Carbohydrate };

constexpr int kLongestEnergyBar = 85;
constexpr int kLongestNutrientBar = 78;

struct Bar
{
    int length = 0;        // clipped to the longest bar; 0 draws nothing
    bool overGoal = false; // the unclipped length reaches the goal length
    int goalMark = 0;      // the goal length where a mark is drawn; 0: none
};

struct DayBars
{
    Bar food;
    Bar activity;
    Bar fat;
    Bar protein;
    Bar carbohydrate;
};

// 250 kJ per unit for both energies; 2.5 g for fat and protein, 10 g for
// carbohydrate. The food energy goal is read from the kcal field at 60 kcal
// per unit when `kcal`, else from the kJ field. A goal text that is not an
// integer gives the goal length 1. Activity energy has no goal and never
// counts as over it. Negative totals draw nothing.
DayBars dayBars(const diary::DayTotals& totals, const GoalTexts& goals, bool kcal);

// One bar from its unclipped value and goal lengths: the colour compares the
// unclipped lengths; the length is clipped to `longest`; the mark is drawn
// for 0 < goal < `markBelow`.
Bar makeBar(qint64 valueLength, qint64 goalLength, int longest, int markBelow);

// Where a bar lies in the picture: the empty trough, the tube of `length`
// units and the 2-unit goal mark at `goal` units (empty rectangles when
// there is none). Vertical bars grow up from row 289, horizontal ones right
// from x = 13.
QRect troughRect(BarId bar);
QRect tubeRect(BarId bar, int length);
QRect goalMarkRect(BarId bar, int goal);

} // namespace draw
