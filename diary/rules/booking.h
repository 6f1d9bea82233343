#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/numbers.h"
#include "store/value.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The rules of booking a food: the booked values and summing them into an
// existing entry of the day, as the food folder, the maintenance runs and
// the installer write them.
namespace booking {

// Field limits of the food diary: amounts, energies and nutrients.
constexpr double kAmountCap = 9999;
constexpr double kEnergyCap = units::kLargestEnergy;
constexpr double kNutrientCap = store::largestWhole(store::kNutrientWidth);

// The catalogue values of the selected food as its list row holds them.
struct FoodRow
{
    QString name;
    int unitCode = 0;
    double energy = 0; // kJ per 100 g, 100 ml or piece
    double protein = 0;
    double carbohydrate = 0;
    double fat = 0;
};

// Reads the hidden columns of a catalogue row (unit code, energy, protein,
// carbohydrate, fat) as decimals (numbers::readDecimal). A text that is not
// a number refuses the booking with catalogueValueRefusal.
Checked<FoodRow> readFoodRow(const QString& name, const std::array<QString, 5>& columns);

// Why a booking is refused whose catalogue row holds `text`, which is no
// number, for the entry `name`.
QString catalogueValueRefusal(const QString& text, const QString& name);

// A food-diary entry as it is stored.
struct Entry
{
    double amount = 0;
    QString unit;
    QString name;
    qint64 energy = 0;
    qint64 protein = 0;
    qint64 carbohydrate = 0;
    qint64 fat = 0;
};

// The entry a booking writes: the food at `factor` of its catalogue values,
// added to `existing` when the day holds the food already. Sums and new
// entries alike are capped at the fields' limits; whole numbers are computed
// exactly from the decimals and rounded once with halves to the even
// neighbour (1,5 l at 4,1 g per 100 ml is 61,5 g and gives 62); the amount
// stays a real, its unit is the food's (units::quantityUnit).
Entry bookedEntry(const FoodRow& food, int kind, double factor, const std::optional<Entry>& existing);

// The fields of the food-diary record of `entry` on `day`.
store::Fields entryFields(QDate day, const Entry& entry);

} // namespace booking
