#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/diary.h"
#include "diary/rules/numbers.h"
#include "store/value.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The rules of booking an activity: the energy scaled to the day's weight,
// summing, and the whole-day entry of the daily list.
namespace activity {

constexpr int kMinutesCap = store::largestWhole(store::kMinutesWidth);
constexpr qint64 kEnergyCap = units::kLargestEnergy;
constexpr int kLowestWeight = 40;
constexpr int kHighestWeight = 150;
// The whole-day entry's minutes.
constexpr int kDayMinutes = 1440;

// The day's weight that an activity booking needs, from the weight field
// read as a decimal (numbers::readDecimal), truncated to whole kg (70,9
// gives 70, 150,9 gives 150). Refused when the text is not a number (so
// "1.070" under a German locale) or the weight is not 40 ... 150 kg.
Checked<int> bookingWeight(const QString& weightText);

// The energy per hour (at 75 kg) or the percentage of the basal rate that
// the selected row of the activity list holds, read as a decimal. A text
// that is not a number refuses the booking as the food folder refuses it
// (booking::catalogueValueRefusal).
Checked<double> readListValue(const QString& name, const QString& text);

// The energy of `minutes` of an activity of `kjPerHour` (at 75 kg) for a
// person of `kg`, computed exactly and rounded once with halves to the even
// neighbour.
qint64 energy(double kjPerHour, int kg, double minutes);

struct Entry
{
    int minutes;
    qint64 energy;
};

// The fields of the activity-diary record of `name` on `day`.
store::Fields entryFields(QDate day, const QString& name, const Entry& entry);

// A booking added to the day's entry of the same activity, when there is
// one: minutes stop at 9999, energy at 99999 (a new entry too).
Entry summed(int minutes, qint64 energy, const std::optional<Entry>& existing);

// The whole-day entry at `percent` of the basal rate w · a + b: its name and
// its energy, percent · (w · a + b) div 100.
QString dailyName(const QString& percentText);
qint64 dailyEnergy(int percent, int kg, int a, int b);

// Whether a day with entries of these names takes a whole-day entry. A day
// holds at most one whole-day level, so an entry whose name begins with
// "Grund- und Arbeit" refuses a second. So does a summary or a gap filler: each carries a whole
// day's activity total, which includes the level when that day had one,
// and keeps no trace of whether it had; another level could count the
// basal turnover twice.
Checked<> checkSecondDaily(const QStringList& dayEntryNames);

} // namespace activity
