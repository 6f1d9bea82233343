#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/diary.h"
#include "store/value.h"

#include <QChar>
#include <QString>
#include <optional>

// The rules of the catalogue editor on plain values: which catalogue and
// category an item of the category list stands for, the names it refuses,
// the key filters of its number fields and the checks of a row before it is
// written.
namespace catalogrules {

constexpr int kCategoryItems = 24;
constexpr int kFirstActivityItem = 16;

// The list row of an empty category, with its trailing blank.
inline const QString kPlaceholder = diary::kPlaceholder + QLatin1Char(' ');

// The text of item 0 ... 23 of the category list.
QString categoryText(int item);
// Items below 16 (and no selection, -1) are food categories.
bool isActivityItem(int item);
// The category code of an item: food item i has code i + 1, activity item
// i code i - 14.
int categoryCode(int item);

// The item preselected when the window is shown: from the activity folder
// (folder 4) the activity category's item, where the built-in daily list
// (codes 0 and 1) has none the first activity item; from any other folder
// the food category's item.
int preselectedItem(int folder, int foodCategory, int activityCategory);

// The list text of a food's reference unit (NRGME).
QString unitText(qint64 unit);
// The unit item (0 g, 1 ml, 2 pieces) of a list text.
int unitItem(const QString& text);

// Names a catalogue entry may not have: the placeholder (with or without its
// trailing blank, which the file does not keep), the names of the generated
// diary entries and those beginning with "Grund- und Arbeit", the whole-day
// activity entry's. Exact and case-sensitive; trailing blanks do not count.
bool isReservedName(const QString& name);

// Whether `name`, as the catalogue will hold it (fitted to its code page,
// no trailing blanks), may be the name of a new entry (`change` false) or
// of an entry now named `old`. Insert and change refuse the empty name and
// the reserved ones, each with its own words; an entry that already carries
// a reserved name (written by another program or an older diary) keeps it,
// so that its values can still be changed.
Checked<> checkName(const QString& name, bool change, const QString& old = {});

// The energy unit labels: per hour for activities, per reference unit (item
// of the unit list, -1 none) for foods.
QString energyUnit(bool activity, int unitItem, bool kcal);
QString nutrientUnit(int unitItem);

// A key typed into a decimal field: the key as it passes, or the null
// character when it is discarded. Digits and backspace pass (as in a whole
// number field, numbers::integerKey); a comma or full stop passes only
// after a whole number (not empty, no separator yet) and becomes
// `separator`.
QChar decimalKey(const QString& text, QChar key, QChar separator);

// A decimal field's text after a change: "0" when it reads as a number
// above 999 (with `separator` as the decimal separator), else unchanged.
QString cappedAt999(const QString& text, QChar separator);

// A number field as a whole number (energy) or as tenths (nutrients, with
// halves of the last place rounded to even, exactly). Only digits and one
// separator are read; nothing when the text is anything else.
std::optional<qint64> wholeNumber(const QString& text);
std::optional<qint64> tenths(const QString& text, QChar separator);

// A food or activity row, in the units of the table: energy in kJ per
// reference unit or per hour (at most units::kLargestEnergy), nutrients in tenths of a gram.
struct Row
{
    QString name;
    int unitItem = 0;
    qint64 energyKj = 0;
    qint64 proteinTenths = 0;
    qint64 carbohydrateTenths = 0;
    qint64 fatTenths = 0;
};

// The texts of the input fields, empty number fields already read as "0".
struct Fields
{
    QString name;
    QString energy;
    QString protein;
    QString carbohydrate;
    QString fat;
    int unitItem = 0;
};

// The row the fields stand for, or refused: a field that is not a number in
// its range, or an energy whose kJ value the five-digit field cannot hold.
// With `kcal` the energy is a kcal input and stored converted. Nutrients
// are read for foods only. The message ends with `refusal` ("Daten werden
// nicht eingefügt !").
Checked<Row> checkFields(const Fields& fields, bool activity, bool kcal, QChar separator,
                         const QString& refusal);

// The catalogue record of a row in `category`: of the activity catalogue
// (energy per hour) or the food catalogue (nutrients in g).
store::Fields recordFields(const Row& row, bool activity, int category);

} // namespace catalogrules
