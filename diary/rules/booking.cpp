#include "diary/rules/booking.h"

#include "diary/rules/exact.h"

#include <algorithm>
#include <cmath>

namespace booking {

Checked<FoodRow> readFoodRow(const QString& name, const std::array<QString, 5>& columns)
{
    double values[5];
    for (int i = 0; i < 5; ++i) {
        const std::optional<double> value = numbers::readDecimal(columns[i]);
        if (!value)
            return Checked<FoodRow>::refused(catalogueValueRefusal(columns[i], name));
        values[i] = *value;
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

QString catalogueValueRefusal(const QString& text, const QString& name)
{
    return QStringLiteral("Der Katalogwert \"%1\" von \"%2\" ist keine Zahl.\r"
                          "Die Buchung wurde nicht ausgeführt.")
        .arg(text, name);
}

Entry bookedEntry(const FoodRow& food, int kind, double factor, const std::optional<Entry>& existing)
{
    // Catalogue values, factor and stored amount are decimals; each value is
    // summed exactly in hundred-millionths and rounded once.
    const qint64 f = exact::scaled(factor);
    qint64 amount = (kind == units::Grams || kind == units::Millilitres) ? f * 100 : f;
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
    entry.unit = units::quantityUnit(food.unitCode);
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
