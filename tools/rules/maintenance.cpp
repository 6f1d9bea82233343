#include "tools/rules/maintenance.h"

#include "diary/rules/activity.h"
#include "diary/rules/booking.h"
#include "diary/rules/daytotals.h"
#include "diary/rules/numbers.h"
#include "store/error.h"

#include <QLocale>

#include <array>

using diary::DayTotals;
using diary::kGapFillerName;
using diary::kSummaryName;
using store::RecordRef;
using store::TableDraft;

namespace maintenance {

const QString kDoneAtNextStart =
    QStringLiteral("Die Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.");

namespace {

QString dateText(QDate day)
{
    return QLocale().toString(day, numbers::shortDateFormat());
}

bool covers(int scope, Scope kind)
{
    return scope == Everything || scope == kind;
}

// Every day of a walk must have its day record before anything is counted.
Checked<> checkDayRecords(const TableDraft& zeb, QDate from, QDate to)
{
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        if (zeb.dayRecords(day).empty())
            return Checked<>::refused(QStringLiteral("Für den %1 gibt es keinen Tagesdatensatz im Tagebuch.\r"
                                                     "Aktion wird nicht durchgeführt.")
                                          .arg(dateText(day)));
    }
    return Passed{};
}

// A walk over days of the diary, whose day records the start found whole,
// refuses on a damaged daily summary as the table layer does.
void requireDayRecords(const TableDraft& zeb, QDate from, QDate to)
{
    if (const Checked<> whole = checkDayRecords(zeb, from, to); !whole)
        throw store::StoreError(whole.message());
}

// The day record of `day`, which the walk has checked.
quint32 dayRecord(const TableDraft& zeb, QDate day)
{
    return zeb.dayRecords(day).front();
}

int removeDay(TableDraft& table, QDate day)
{
    const std::vector<quint32> records = table.dayRecords(day);
    for (quint32 recno : records)
        table.remove(recno);
    return static_cast<int>(records.size());
}

// An entry of one piece or minute that carries a day's totals.
store::Fields foodEntry(QDate day, const QString& name, const DayTotals& t)
{
    return booking::entryFields(
        day, {1.0, units::quantityUnit(units::Pieces), name, t.energy, t.protein, t.carbohydrate, t.fat});
}

store::Fields activityEntry(QDate day, const QString& name, const DayTotals& t)
{
    return activity::entryFields(day, name, {1, t.fitness});
}

// The sums of the day's entries in the drafts, and of the entries about to
// be appended for the day.
diary::EntrySums entrySums(const TableDraft& ntb, const TableDraft& ftb, QDate day)
{
    diary::EntrySums sums;
    for (quint32 recno : ntb.dayRecords(day))
        sums.addFoodEntry(ntb.record(recno));
    for (quint32 recno : ftb.dayRecords(day))
        sums.addActivityEntry(ftb.record(recno));
    return sums;
}

// Visits every day from `first` to `last` in order, telling `progress`
// the number of each (from 1). The result counts the days and sums what
// the visits return.
template <typename Visit> Result eachDay(QDate first, QDate last, const Progress& progress, Visit visit)
{
    Result result;
    result.days = static_cast<int>(first.daysTo(last)) + 1;
    int i = 0;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        progress(++i);
        result.count += visit(day);
    }
    return result;
}

} // namespace

QDate clampToDiary(QDate day, const diary::Range& range)
{
    if (!day.isValid() || day < range.firstMaintainedDay())
        return range.firstMaintainedDay();
    return day > range.last ? range.last : day;
}

Checked<> checkPeriod(QDate first, QDate last, QDate today)
{
    if (last < first)
        return Checked<>::refused(
            QStringLiteral("Das Zeitintervall ist ungültig !\rAktion kann nicht durchgeführt werden."));
    if (last >= today)
        return Checked<>::refused(QStringLiteral(
            "Das Zeitintervall überschneidet das heutige Tagesdatum !\rAktion wird nicht durchgeführt."));
    return Passed{};
}

Checked<Result> fillGaps(DiaryTables tables, QDate first, QDate last, int scope, const Progress& progress)
{
    TableDraft ntb(tables.ntb), ftb(tables.ftb), zeb(tables.zeb);
    if (const Checked<> whole = checkDayRecords(zeb, first.addDays(-1), last); !whole)
        return Checked<Result>::refused(whole.message());

    const RecordRef before = zeb.record(dayRecord(zeb, first.addDays(-1)));
    DayTotals carried = diary::storedTotals(before);
    // The weight is carried as the single-precision value it is read into.
    float weight = static_cast<float>(before.fieldDouble("ZEBGEWICHT"));

    const Result result = eachDay(first, last, progress, [&](QDate day) {
        int added = 0;
        const quint32 recno = dayRecord(zeb, day);
        const RecordRef own = zeb.record(recno);
        const DayTotals ownTotals = diary::storedTotals(own);
        bool food = false;
        bool activity = false;

        if (covers(scope, FoodOnly)) {
            if (ownTotals.energy != 0) {
                carried.energy = ownTotals.energy;
                carried.protein = ownTotals.protein;
                carried.carbohydrate = ownTotals.carbohydrate;
                carried.fat = ownTotals.fat;
            } else if (carried.energy > 0) {
                food = true;
                ++added;
            }
        }
        if (covers(scope, ActivityOnly)) {
            if (ownTotals.fitness != 0)
                carried.fitness = ownTotals.fitness;
            else if (carried.fitness > 0) {
                activity = true;
                ++added;
            }
        }
        // The totals of a filled kind follow the day's entries, should the
        // day hold entries without energy already.
        diary::EntrySums sums = entrySums(ntb, ftb, day);
        store::Fields change;
        if (food) {
            ntb.append(foodEntry(day, kGapFillerName, carried));
            sums.addFood(carried.energy, carried.protein, carried.carbohydrate, carried.fat);
        }
        if (activity) {
            ftb.append(activityEntry(day, kGapFillerName, carried));
            sums.addActivity(carried.fitness);
        }
        const DayTotals totals = diary::totalsOf(sums);
        if (food)
            change = diary::foodTotalFields(totals);
        if (activity)
            change.push_back(diary::activityTotalFields(totals).front());
        if (covers(scope, WeightOnly)) {
            const float ownWeight = static_cast<float>(own.fieldDouble("ZEBGEWICHT"));
            if (ownWeight != 0) {
                weight = ownWeight;
            } else if (weight > 0) {
                change.push_back({"ZEBGEWICHT", static_cast<double>(weight)});
                ++added;
            }
        }
        zeb.change(recno, change);
        return added;
    });
    store::replaceTables({&ntb, &ftb, &zeb});
    return result;
}

Result compress(DiaryTables tables, QDate first, QDate last, int scope, const Progress& progress)
{
    TableDraft ntb(tables.ntb), ftb(tables.ftb), zeb(tables.zeb);
    requireDayRecords(zeb, first, last);

    const Result result = eachDay(first, last, progress, [&](QDate day) {
        int removed = 0;
        const DayTotals totals = diary::storedTotals(zeb.record(dayRecord(zeb, day)));
        if (covers(scope, FoodOnly) && totals.energy > 0) {
            removed += removeDay(ntb, day);
            ntb.append(foodEntry(day, kSummaryName, totals));
        }
        if (covers(scope, ActivityOnly) && totals.fitness > 0) {
            removed += removeDay(ftb, day);
            ftb.append(activityEntry(day, kSummaryName, totals));
        }
        return removed;
    });
    store::replaceTables({&ntb, &ftb});
    return result;
}

Result deleteAll(DiaryTables tables, QDate first, QDate last, const Progress& progress)
{
    TableDraft ntb(tables.ntb), ftb(tables.ftb), xtb(tables.xtb), zeb(tables.zeb);
    requireDayRecords(zeb, first, last);

    store::Fields emptied = diary::totalFields({});
    emptied.push_back({"ZEBGEWICHT", 0.0});
    const Result result = eachDay(first, last, progress, [&](QDate day) {
        int removed = removeDay(ntb, day);
        removed += removeDay(ftb, day);
        removed += removeDay(xtb, day);
        zeb.change(dayRecord(zeb, day), emptied);
        return removed;
    });
    store::replaceTables({&ntb, &ftb, &xtb, &zeb});
    return result;
}

namespace {

// The question, and the period on a line of its own below it.
QString askedForPeriod(const QString& question, QDate first, QDate last)
{
    return QStringLiteral("%1\rZeitraum: %2 – %3").arg(question, dateText(first), dateText(last));
}

} // namespace

QString fillQuestion(QDate first, QDate last)
{
    return askedForPeriod(
        QStringLiteral("Wollen Sie im ausgewählten Zeitraum die fehlenden Einträge automatisch ergänzen?"), first,
        last);
}

QString compressQuestion(QDate first, QDate last)
{
    return askedForPeriod(
        QStringLiteral("Wollen Sie wirklich alle Daten im ausgewählten Zeitraum komprimieren?"), first, last);
}

QString deleteQuestion(QDate first, QDate last)
{
    return askedForPeriod(
        QStringLiteral("Wollen Sie wirklich alle Daten im ausgewählten Zeitraum endgültig löschen?"), first,
        last);
}

QString fillMessage(const Result& result, QDate first, QDate last)
{
    return QStringLiteral("Es wurden %1 Datensätze zwischen %2 und %3 eingefügt.")
        .arg(result.count)
        .arg(dateText(first), dateText(last));
}

QString compressMessage(const Result& result, QDate first, QDate last)
{
    return QStringLiteral("Es wurden %1 Datensätze zwischen %2 und %3 komprimiert.")
        .arg(result.count)
        .arg(dateText(first), dateText(last));
}

QString deleteMessage(const Result& result, QDate first, QDate last)
{
    return QStringLiteral(
               "Es wurden %1 Datensätze zwischen %2 und %3 gelöscht.\r%4  Datensätze wurden geleert!")
        .arg(result.count)
        .arg(dateText(first), dateText(last))
        .arg(result.days);
}

} // namespace maintenance
