#pragma once

#include "diary/rules/diary.h"
#include "main/goals/rules/energymodel.h"
#include "diary/rules/checked.h"
#include "store/value.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The rules of booking an activity: the duration symbols, the energy scaled
// to the day's weight, summing, and the whole-day entry of the daily list.
namespace activity {

// Minutes of the duration symbols 1 ... 11; element 0 is unused.
inline constexpr std::array<int, 12> kSymbolMinutes = {0, 180, 120, 60, 45, 30, 20, 15, 10, 5, 2, 1};

constexpr int kMinutesCap = 9999;
constexpr qint64 kEnergyCap = 99999;
constexpr int kLowestWeight = 40;
constexpr int kHighestWeight = 150;
// The whole-day entry's minutes.
constexpr int kDayMinutes = 1440;

// The symbol whose press band holds (x, y), 1 ... 11; 0 outside.
int symbolAt(int x, int y);

// The day's weight that an activity booking needs, from the weight field
// in the locale's format, truncated to whole kg (70,9 gives 70, 150,9 gives
// 150). Refused when the text is not a number or the weight is not 40 ...
// 150 kg.
Checked<int> bookingWeight(const QString& weightText);

// The basal-rate coefficients of the whole-day entry for the sex and age
// items of the goals folder; refused while either is item 0 ("?").
Checked<goals::BasalCoefficients> dailyCoefficients(int sexItem, int ageItem);

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

// Whether a day with entries of these names takes a whole-day entry. A
// day holds at most one
// whole-day level, so an entry whose name begins with "Grund- und Arbeit"
// refuses a second. So does a summary or a gap filler: each carries a whole
// day's activity total, which includes the level when that day had one,
// and keeps no trace of whether it had; another level could count the
// basal turnover twice.
Checked<> checkSecondDaily(const QStringList& dayEntryNames);

} // namespace activity
