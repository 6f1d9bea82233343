#pragma once

#include "diary/rules/checked.h"

#include <QDate>
#include <QString>
#include <optional>

// A day as the user types it into the day selector: day, month and year in
// the order and with the separator of the locale's short date format
// ("27.12.2012", "12/27/2012"). Day and month take one or two digits, the
// year four. The parts are numbered 0 ... 2 in the order they stand.
namespace daytext {

struct Layout
{
    QString order = QStringLiteral("dMy"); // 'd' day, 'M' month, 'y' year
    QChar separator = u'.';
};

// The layout of a display format such as "dd.MM.yyyy" or "M/d/yyyy".
Layout layoutOf(const QString& displayFormat);

// A display format whose every part can be typed in digits: a month shown
// by name ("d MMM yyyy", as some locales have it) is shown by number.
QString typableFormat(const QString& displayFormat);

// The day that `text` names: three parts of the right lengths that make a
// calendar day. Anything else is refused as no valid date.
Checked<QDate> dayOf(const Layout& layout, const QString& text);

// True when typing on at the end of `text` can still give a day: at most
// three parts, each a possible beginning of its kind, and only the last one
// empty.
bool isBeginning(const Layout& layout, const QString& text);

// True when `text` consists of digits and at most two separators, with no
// part longer than four digits: what editing a day's text may leave on the
// way to the next day.
bool isEditable(const Layout& layout, const QString& text);

// The part whose digits the cursor touches (at the end of a part counts as
// in it); -1 when `text` does not have three parts.
int partAt(const Layout& layout, const QString& text, int cursor);
// Where part `part` begins and ends in `text` (end exclusive).
int partStart(const Layout& layout, const QString& text, int part);
int partEnd(const Layout& layout, const QString& text, int part);

// The outcome of one digit typed into a part of a day's text.
struct Typed
{
    QString text;
    int cursor = 0;
    int part = 0;   // the part that the next digit goes to
    QString digits; // what has been typed into that part so far
};

// `digit` typed into part `part` of `text` (three parts), after `digits`
// typed into that part before it: the part then holds exactly what was
// typed. When the part can take no further digit the next digit goes to
// the next part. Nothing when the part cannot be what was typed (day 45,
// month 13).
std::optional<Typed> typeDigit(const Layout& layout, const QString& text, int part, const QString& digits,
                               QChar digit);

} // namespace daytext
