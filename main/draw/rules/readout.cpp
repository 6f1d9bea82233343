#include "main/draw/rules/readout.h"

#include "diary/rules/numbers.h"

#include <QLocale>

#include <algorithm>

namespace draw {
namespace {

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

QString gramText(qint64 grams)
{
    return QStringLiteral(" %1 g ").arg(grams);
}

} // namespace

HitArea hitArea(QPoint p)
{
    const int x = p.x();
    const int y = p.y();
    if (within(y, 203, 289) && within(x, 9, 18))
        return HitArea::FoodEnergy;
    if (within(y, 203, 289) && within(x, 61, 70))
        return HitArea::ActivityEnergy;
    if (within(x, 11, 94)) {
        if (within(y, 331, 342))
            return HitArea::Fat;
        if (within(y, 380, 391))
            return HitArea::Protein;
        if (within(y, 432, 444))
            return HitArea::Carbohydrate;
    }
    if (within(y, 90, 102) && within(x, 47, 57))
        return HitArea::BodyMassIndex;
    return HitArea::None;
}

QString barReadout(HitArea area, const diary::DayTotals& totals, bool kcal)
{
    switch (area) {
    case HitArea::FoodEnergy:
        return u' ' + units::energyText(totals.energy, kcal);
    case HitArea::ActivityEnergy:
        return u' ' + units::energyText(totals.fitness, kcal);
    case HitArea::Fat:
        return gramText(totals.fat);
    case HitArea::Protein:
        return gramText(totals.protein);
    case HitArea::Carbohydrate:
        return gramText(totals.carbohydrate);
    case HitArea::BodyMassIndex:
    case HitArea::None:
        break;
    }
    return {};
}

QPoint readoutPlace(QPoint p, int width, int panelWidth)
{
    int left = p.x() > 55 ? p.x() - 15 : p.x() + 5;
    left = std::max(0, std::min(left, panelWidth - width));
    return {left, p.y() + 18};
}

} // namespace draw
