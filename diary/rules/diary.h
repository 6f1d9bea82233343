#pragma once

#include <QDate>
#include <QString>
#include <optional>

// What the whole diary shares: its range of days and the texts that stand
// for no entry or name the entries the program writes itself.
namespace diary {

// The years a diary may start in: its eleven years stay within the
// four-digit years of the date fields.
constexpr int kEarliestFirstYear = 1900;
constexpr int kLatestFirstYear = 9989;

// The days of a diary: eleven whole years from 1 January, one day record
// for each day, in order. The main window reads them from the daily summary
// at start-up (daysummary::rangeOf) and every part of the program takes
// them from there.
struct Range
{
    QDate first; // a 1 January
    QDate last;  // the 31 December ten years later

    // The eleven years from 1 January `firstYear`; none for a year outside
    // kEarliestFirstYear ... kLatestFirstYear.
    static std::optional<Range> elevenYears(int firstYear);

    // The latest day the program opens on: two days short of the last one.
    QDate lastStartDay() const;
    // The first day a maintenance run may start on: fill gaps takes its
    // values from the day before.
    QDate firstMaintainedDay() const;

    friend bool operator==(const Range&, const Range&) = default;
};

// The one row of a list without entries.
inline const QString kPlaceholder = QStringLiteral("Keine Einträge vorhanden !");

// The entries the maintenance runs write: a gap filler carries an earlier
// day's totals, a summary the day's own.
inline const QString kGapFillerName = QStringLiteral("Lückenfüller");
inline const QString kSummaryName = QStringLiteral("Tageszusammenfassung");
// The beginning of the name of the whole-day activity entry.
inline const QString kDailyPrefix = QStringLiteral("Grund- und Arbeit");

} // namespace diary
