#include "diary/rules/daytotals.h"

#include <algorithm>
#include <cmath>

namespace diary {

void EntrySums::addFood(double entryEnergy, double entryProtein, double entryCarbohydrate, double entryFat)
{
    energy += entryEnergy;
    protein += entryProtein;
    carbohydrate += entryCarbohydrate;
    fat += entryFat;
}

void EntrySums::addActivity(double entryEnergy)
{
    fitness += entryEnergy;
}

namespace {

qint64 total(double sum)
{
    return static_cast<qint64>(std::trunc(std::min(sum, static_cast<double>(kTotalCap))));
}

} // namespace

DayTotals totalsOf(const EntrySums& sums)
{
    return {total(sums.energy), total(sums.protein), total(sums.carbohydrate), total(sums.fat),
            total(sums.fitness)};
}

store::Fields foodTotalFields(const DayTotals& totals)
{
    return {{"ZEBENERGIE", totals.energy},
            {"ZEBPROTEIN", totals.protein},
            {"ZEBKOHLENH", totals.carbohydrate},
            {"ZEBFETT", totals.fat}};
}

store::Fields activityTotalFields(const DayTotals& totals)
{
    return {{"ZEBFITNESS", totals.fitness}};
}

store::Fields totalFields(const DayTotals& totals)
{
    store::Fields fields = foodTotalFields(totals);
    fields.push_back({"ZEBFITNESS", totals.fitness});
    return fields;
}

} // namespace diary
