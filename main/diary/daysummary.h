#pragma once

#include "store/table.h"

#include <QDate>
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

// The daily summary as a whole: its day records, one per day of the diary
// in order, and their totals, which are the sums of the day's entries.
namespace daysummary {

inline const QDate kFirstDay{2002, 1, 1};
inline const QDate kLastDay{2012, 12, 31};

// Checks the days of the day records in file order (YYYYMMDD, 0 for an
// empty day or a deleted record): exactly one record for every day from
// `first` to `last`, ascending, nothing else. Returns the empty text when
// that holds, otherwise what is wrong, in German.
QString checkDays(const std::vector<int>& days, QDate first = kFirstDay, QDate last = kLastDay);

// The totals of one day record.
struct Totals
{
    qint64 energy = 0;
    qint64 protein = 0;
    qint64 carbohydrate = 0;
    qint64 fat = 0;
    qint64 fitness = 0;
    bool operator==(const Totals&) const = default;
};

// The totals the booking writers store for these sums of a day's food
// entries (energy, protein, carbohydrate, fat) and activity entries: each
// capped and truncated as a day total.
Totals fromSums(const std::array<double, 4>& food, double activity);

// The sums of every day's food entries (energy, protein, carbohydrate,
// fat) and activity entries, keyed by YYYYMMDD.
struct EntrySums
{
    std::unordered_map<int, store::Table::DaySums> food;
    std::unordered_map<int, store::Table::DaySums> activity;
};
EntrySums sumEntries(const store::Table& foodDiary, const store::Table& activityDiary);

// Writes the totals of each day record that holds others than `sums`
// give, only its total fields; a sound diary is not written to. Returns
// the number of day records written. The daily summary must be open with
// its day filter off.
int repairTotals(const EntrySums& sums, store::Table& dailySummary);
// Both in one.
int repairTotals(const store::Table& foodDiary, const store::Table& activityDiary,
                 store::Table& dailySummary);

} // namespace daysummary
