#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The rules of the day's note: its eight stored parts, its length as the
// editor counts it, the search periods and the excerpt of a hit.
namespace notetext {

constexpr int kParts = 8;
constexpr int kPartLength = 250;
constexpr int kMaxLength = kParts * kPartLength; // 2000
// The note record's fields that hold the parts, in order.
inline constexpr const char* kPartFields[kParts] = {"XTBTEXT1", "XTBTEXT2", "XTBTEXT3", "XTBTEXT4",
                                                    "XTBTEXT5", "XTBTEXT6", "XTBTEXT7", "XTBTEXT8"};

// The note as stored: line breaks are CR LF. The editor holds them as LF.
QString storedForm(const QString& editorText);
QString editorForm(const QString& storedText);

// Characters of the note as the counter and the limit count them: a line
// break counts two.
int storedLength(const QString& editorText);

// The eight parts of a note in its stored form.
QStringList split(const QString& stored);
// The note from its parts as the table reads them (trailing blanks gone).
// A part that is followed by a non-empty part is filled up to its full
// length with the blanks that the table dropped, so a blank at the end of a
// part is not lost.
QString join(const QStringList& parts);

// The days looked back for a period item: 7, 30, 90, 180, 360, or for
// "beliebig" every day from the diary's first day `firstDay` to `today`.
int periodDays(int item, QDate today, QDate firstDay);

// ".." + up to 80 characters of `note` from `position`, line breaks as
// blanks, + "..".
QString excerpt(const QString& note, int position);

} // namespace notetext
