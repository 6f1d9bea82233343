#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/diary.h"
#include "store/table.h"

#include <QDate>
#include <QString>
#include <functional>

// The three maintenance runs over a period of the diary: fill gaps,
// compress and delete. Each reads the records of the days it visits
// straight from the tables, whatever their filters and without moving a
// cursor, builds every changed table completely in memory and replaces the
// files together (store::replaceTables), so a failure or a crash at any
// instant leaves the diary as it was before the run or as it is after it.
// After every run the day records' totals equal the sums of the day's
// entries.
namespace maintenance {

// The diary tables a run works on: food diary, activity diary, notes and
// daily summary.
struct DiaryTables
{
    store::Table& ntb;
    store::Table& ftb;
    store::Table& xtb;
    store::Table& zeb;
};

// Item indexes of the scope combos.
enum Scope { Everything = 0, FoodOnly = 1, ActivityOnly = 2, WeightOnly = 3 };

// Called with 1 ... n before the work of the i-th day of the period.
using Progress = std::function<void(int day)>;

struct Result
{
    int count = 0; // records inserted, removed or filled as the run counts them
    int days = 0;  // days of the period
};

// The day moved into the days a run may cover: the range's first
// maintained day ... its last day.
QDate clampToDiary(QDate day, const diary::Range& range);

// Whether a run over first ... last may run on `today`: not on an inverted
// period, nor on one that reaches today.
Checked<> checkPeriod(QDate first, QDate last, QDate today);

// Days without food, activity or weight receive the values of the latest
// earlier day with such values, starting from the day before `first`.
// Food and activity are written as an entry "Lückenfüller", and the day's
// totals of a filled kind summed anew from its entries (diary::totalsOf);
// the count is that of filled kinds. Refused, the diary unchanged, when a
// day from the day before `first` to `last` has no day record (a period
// from the diary's first day has no day before it).
Checked<Result> fillGaps(DiaryTables tables, QDate first, QDate last, int scope, const Progress& progress);

// On each day with totals, the day's food or activity entries are replaced
// by one entry "Tageszusammenfassung" with the day record's totals. The
// count is that of removed entries. Nothing is written when nothing
// changes.
Result compress(DiaryTables tables, QDate first, QDate last, int scope, const Progress& progress);

// Every entry and note of the days is removed and their day records are
// reset to zero (the day stays). The count is that of removed records.
Result deleteAll(DiaryTables tables, QDate first, QDate last, const Progress& progress);

// The result messages, dates in the locale's short format.
QString fillMessage(const Result& result, QDate first, QDate last);
QString compressMessage(const Result& result, QDate first, QDate last);
QString deleteMessage(const Result& result, QDate first, QDate last);

// The confirmation questions, the period on a line of its own below the
// question, in the locale's short date format ("…?\rZeitraum: 05.03.2012 –
// 10.03.2012").
QString fillQuestion(QDate first, QDate last);
QString compressQuestion(QDate first, QDate last);
QString deleteQuestion(QDate first, QDate last);

// A run whose new files are on the disk and decided on, but could not all
// be put in place (store::DeferredReplacement): it counts as done, and the
// next start completes it.
extern const QString kDoneAtNextStart;

} // namespace maintenance
