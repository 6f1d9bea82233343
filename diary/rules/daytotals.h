#pragma once

#include "store/schema.h"
#include "store/value.h"

// A day's totals: what the day record holds of the day's food and activity
// entries, and the one rule that turns the entries into it. Every writer of
// the day record (booking, deletion, the start-up's repair, the maintenance
// runs, the installer) and every reader (bars, read-out, printout) goes
// through here.
namespace diary {

// The largest total a day record holds (99999).
constexpr qint64 kTotalCap = store::largestWhole(store::kDayTotalWidth);

// The totals of one day: food energy and activity energy in kJ, nutrients
// in g.
struct DayTotals
{
    qint64 energy = 0;
    qint64 protein = 0;
    qint64 carbohydrate = 0;
    qint64 fat = 0;
    qint64 fitness = 0;

    bool operator==(const DayTotals&) const = default;
};

// The sums of a day's entries, added up as decimals in the order they are
// given.
struct EntrySums
{
    double energy = 0;
    double protein = 0;
    double carbohydrate = 0;
    double fat = 0;
    double fitness = 0;

    void addFood(double entryEnergy, double entryProtein, double entryCarbohydrate, double entryFat);
    void addActivity(double entryEnergy);
    // An entry of the food or activity diary, read by field name (a table's
    // current record or a store::RecordRef).
    template <typename Record> void addFoodEntry(const Record& entry)
    {
        addFood(entry.fieldDouble("NTBENERGIE"), entry.fieldDouble("NTBPROTEIN"),
                entry.fieldDouble("NTBKOHLENH"), entry.fieldDouble("NTBFETT"));
    }
    template <typename Record> void addActivityEntry(const Record& entry)
    {
        addActivity(entry.fieldDouble("FTBENERGIE"));
    }
};

// The day's totals for its entries' sums: each sum capped at kTotalCap, then
// truncated to a whole number (a sum below 0 is not capped).
DayTotals totalsOf(const EntrySums& sums);

// The totals a day record holds, read by field name.
template <typename Record> DayTotals storedTotals(const Record& dayRecord)
{
    return {dayRecord.fieldInt("ZEBENERGIE"), dayRecord.fieldInt("ZEBPROTEIN"),
            dayRecord.fieldInt("ZEBKOHLENH"), dayRecord.fieldInt("ZEBFETT"),
            dayRecord.fieldInt("ZEBFITNESS")};
}

// The fields of the day record that hold the food totals, the activity
// total, or both.
store::Fields foodTotalFields(const DayTotals& totals);
store::Fields activityTotalFields(const DayTotals& totals);
store::Fields totalFields(const DayTotals& totals);

} // namespace diary
