#include "diary/rules/booking.h"

#include "diary/rules/exact.h"

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

Checked<FoodRow> readFoodRow(const QString& name, const std::array<QString, 5>& columns)
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
        if (!ok || !std::isfinite(values[i]))
            return Checked<FoodRow>::refused(
                QStringLiteral("Der Katalogwert \"%1\" von \"%2\" ist keine Zahl.\r"
                               "Die Buchung wurde nicht ausgeführt.")
                    .arg(columns[i], name));
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
    // Catalogue values, factor and stored amount are decimals; each value is
    // summed exactly in hundred-millionths and rounded once.
    const qint64 f = exact::scaled(factor);
    qint64 amount = (kind == Grams || kind == Millilitres) ? f * 100 : f;
    constexpr qint64 unit = exact::kScale * exact::kScale;
    __int128 energy = __int128(exact::scaled(food.energy)) * f;
    __int128 protein = __int128(exact::scaled(food.protein)) * f;
    __int128 carbohydrate = __int128(exact::scaled(food.carbohydrate)) * f;
    __int128 fat = __int128(exact::scaled(food.fat)) * f;
    if (existing) {
        amount += exact::scaled(existing->amount);
        energy += __int128(existing->energy) * unit;
        protein += __int128(existing->protein) * unit;
        carbohydrate += __int128(existing->carbohydrate) * unit;
        fat += __int128(existing->fat) * unit;
    }
    // A value beyond its field cannot be stored: new entries are capped as
    // sums are.
    auto rounded = [](__int128 value, double limit) {
        const __int128 highest = __int128(static_cast<qint64>(limit)) * unit;
        return exact::quotientHalfEven(std::clamp<__int128>(value, 0, highest), unit);
    };
    Entry entry;
    entry.amount =
        static_cast<double>(std::clamp<qint64>(amount, 0, static_cast<qint64>(kAmountCap) * exact::kScale)) /
        exact::kScale;
    entry.unit = unitText(food.unitCode);
    entry.name = food.name;
    entry.energy = rounded(energy, kEnergyCap);
    entry.protein = rounded(protein, kNutrientCap);
    entry.carbohydrate = rounded(carbohydrate, kNutrientCap);
    entry.fat = rounded(fat, kNutrientCap);
    return entry;
}

store::Fields entryFields(QDate day, const Entry& entry)
{
    return {{"NTBDATUM", day},
            {"NTBMENGE", entry.amount},
            {"NTBME", entry.unit},
            {"NTBNAME", entry.name},
            {"NTBENERGIE", entry.energy},
            {"NTBPROTEIN", entry.protein},
            {"NTBKOHLENH", entry.carbohydrate},
            {"NTBFETT", entry.fat}};
}

} // namespace booking
