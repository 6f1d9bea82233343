#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/diary.h"
#include "store/table.h"

#include <QDate>
#include <QString>
#include <vector>

// The daily summary as a whole: its day records, one per day of the diary
// in order, and their totals, which are the sums of the day's entries.
namespace daysummary {

// Checks the days of the day records in file order (YYYYMMDD, 0 for an
// empty day or a deleted record): exactly one record for every day from
// `first` to `last`, ascending, nothing else. Refused, saying in German
// what is wrong, when that does not hold.
Checked<> checkDays(const std::vector<int>& days, QDate first, QDate last);

// The range of a diary from the days of its day records in file order: the
// first record's day starts the eleven years of diary::Range::elevenYears,
// and checkDays holds for them. Otherwise what is wrong, in German.
Checked<diary::Range> rangeOf(const std::vector<int>& days);

// The fields the repair sums by day: of the food diary, of the activity
// diary, and the totals of the daily summary. Opening a table with its
// list (store::Table::open) sums them in the same reading that checks the
// records, so the repair reads no record again.
const std::vector<const char*>& foodEntryFields();
const std::vector<const char*>& activityEntryFields();
const std::vector<const char*>& dayTotalFields();

// Writes the totals of each day record that holds others than the day's
// entries give (diary::totalsOf), only its total fields; a sound diary is
// not written to. Returns the number of day records written. The daily
// summary must be open with its day filter off.
int repairTotals(const store::Table& foodDiary, const store::Table& activityDiary,
                 store::Table& dailySummary);

} // namespace daysummary
