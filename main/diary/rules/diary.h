#pragma once

#include <QDate>
#include <QString>

// What the whole diary shares: its range of days and the texts that stand
// for no entry or name the entries the program writes itself.
namespace diary {

// The days of the diary: one day record for each, in order.
inline const QDate kFirstDay{2002, 1, 1};
inline const QDate kLastDay{2012, 12, 31};
// The latest day the program opens on: two days short of the last one.
inline const QDate kLastStartDay{2012, 12, 29};
// The first day a maintenance run may start on; fill gaps takes its values
// from the day before.
inline const QDate kFirstMaintainedDay = kFirstDay.addDays(1);

// The one row of a list without entries.
inline const QString kPlaceholder = QStringLiteral("Keine Einträge vorhanden !");

// The entries the maintenance runs write: a gap filler carries an earlier
// day's totals, a summary the day's own.
inline const QString kGapFillerName = QStringLiteral("Lückenfüller");
inline const QString kSummaryName = QStringLiteral("Tageszusammenfassung");
// The beginning of the name of the whole-day activity entry.
inline const QString kDailyPrefix = QStringLiteral("Grund- und Arbeit");

} // namespace diary
