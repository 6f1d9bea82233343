#include "main/diary/booking.h"

#include "main/numbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace booking {

int quantityKind(qint64 unitCode)
{
    return unitCode >= Grams && unitCode <= Pieces ? static_cast<int>(unitCode) : NoQuantity;
}

int frameLeft(int kind)
{
    return kind == NoQuantity ? 100 : -30 * (kind - 1);
}

int symbolAt(int x, int y)
{
    if (x < kPressLeft || x > kPressRight || y < kSymbolTop || y > kPressBottom)
        return 0;
    return (y - kSymbolTop) / kSymbolPitch + 1;
}

double symbolFactor(int k, int kind)
{
    if (k < 1 || k > 11)
        return 0;
    switch (kind) {
    case Grams:
        return kQuantitySymbols[k].gramFactor;
    case Millilitres:
        return kQuantitySymbols[k].litreFactor;
    case Pieces:
        return kQuantitySymbols[k].pieces;
    default:
        return 0;
    }
}

int symbolHomeTop(int k)
{
    return kSymbolTop + kSymbolPitch * (k - 1);
}

bool outsideMargin(int x, int y, int width, int height)
{
    return x > width - 14 || x < 14 || y < 20 || y > height - 20;
}

bool inDropArea(int x, int y, int width, int height)
{
    return x > 72 && x < width - 18 && y > 35 && y < height - 32;
}

std::optional<FoodRow> readFoodRow(const QString& name, const std::array<QString, 5>& columns, QString& bad)
{
    const QLocale locale;
    double values[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = locale.toDouble(columns[i].trimmed(), &ok);
        if (!ok) {
            // A number written with a point reads in any locale.
            values[i] = QLocale::c().toDouble(columns[i].trimmed(), &ok);
        }
        if (!ok || !std::isfinite(values[i])) {
            bad = columns[i];
            return std::nullopt;
        }
    }
    FoodRow row;
    row.name = name;
    row.unitCode = static_cast<int>(values[0]);
    row.energy = values[1];
    row.protein = values[2];
    row.carbohydrate = values[3];
    row.fat = values[4];
    return row;
}

QString unitText(int unitCode)
{
    if (unitCode == 2)
        return QStringLiteral("ml");
    if (unitCode == 3)
        return QStringLiteral("St.");
    return QStringLiteral("g");
}

Entry bookedEntry(const FoodRow& food, int kind, double factor, const std::optional<Entry>& existing)
{
    double amount = (kind == Grams || kind == Millilitres) ? factor * 100 : factor;
    double energy = food.energy * factor;
    double protein = food.protein * factor;
    double carbohydrate = food.carbohydrate * factor;
    double fat = food.fat * factor;
    if (existing) {
        amount += existing->amount;
        energy += existing->energy;
        protein += existing->protein;
        carbohydrate += existing->carbohydrate;
        fat += existing->fat;
    }
    // A value beyond its field cannot be stored: new entries are capped as
    // sums are.
    auto cap = [](double value, double limit) { return std::clamp(value, 0.0, limit); };
    Entry entry;
    entry.amount = cap(amount, kAmountCap);
    entry.unit = unitText(food.unitCode);
    entry.name = food.name;
    entry.energy = numbers::roundHalfEven(cap(energy, kEnergyCap));
    entry.protein = numbers::roundHalfEven(cap(protein, kNutrientCap));
    entry.carbohydrate = numbers::roundHalfEven(cap(carbohydrate, kNutrientCap));
    entry.fat = numbers::roundHalfEven(cap(fat, kNutrientCap));
    return entry;
}

qint64 dayTotal(double sum)
{
    return static_cast<qint64>(std::trunc(std::min(sum, kTotalCap)));
}

} // namespace booking
