#include "tools/maintenance.h"

#include "main/numbers.h"
#include "store/error.h"

#include <QLocale>

#include <array>

using store::RecordRef;
using store::TableDraft;
using store::Unchanged;
using store::Value;

namespace maintenance {

const QString kDoneAtNextStart =
    QStringLiteral("Die Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.");

namespace {

const QString kPieces = QStringLiteral("St.");

QString dateText(QDate day)
{
    return QLocale().toString(day, numbers::shortDateFormat());
}

bool covers(int scope, Scope kind)
{
    return scope == Everything || scope == kind;
}

// The day record of `day`; the walk expects one for every day it visits.
quint32 dayRecord(const TableDraft& zeb, QDate day)
{
    const std::vector<quint32> records = zeb.dayRecords(day);
    if (records.empty())
        throw store::StoreError(QStringLiteral("Für den %1 gibt es keinen Tagesdatensatz im Tagebuch.\r"
                                               "Aktion wird nicht durchgeführt.")
                                    .arg(dateText(day)));
    return records.front();
}

// Every day of the walk must have its record before anything is counted.
void requireDayRecords(const TableDraft& zeb, QDate from, QDate to)
{
    for (QDate day = from; day <= to; day = day.addDays(1))
        dayRecord(zeb, day);
}

int removeDay(TableDraft& table, QDate day)
{
    const std::vector<quint32> records = table.dayRecords(day);
    for (quint32 recno : records)
        table.remove(recno);
    return static_cast<int>(records.size());
}

// The day's food totals: energy, protein, carbohydrate, fat.
using FoodValues = std::array<qint64, 4>;

FoodValues foodOfDay(const RecordRef& zeb)
{
    return {zeb.fieldInt("ZEBENERGIE"), zeb.fieldInt("ZEBPROTEIN"), zeb.fieldInt("ZEBKOHLENH"),
            zeb.fieldInt("ZEBFETT")};
}

FoodValues foodEntriesSum(const TableDraft& ntb, QDate day)
{
    FoodValues sum{};
    for (quint32 recno : ntb.dayRecords(day)) {
        const RecordRef r = ntb.record(recno);
        sum[0] += r.fieldInt("NTBENERGIE");
        sum[1] += r.fieldInt("NTBPROTEIN");
        sum[2] += r.fieldInt("NTBKOHLENH");
        sum[3] += r.fieldInt("NTBFETT");
    }
    return sum;
}

qint64 activityEntriesSum(const TableDraft& ftb, QDate day)
{
    qint64 sum = 0;
    for (quint32 recno : ftb.dayRecords(day))
        sum += ftb.record(recno).fieldInt("FTBENERGIE");
    return sum;
}

std::vector<Value> foodEntry(QDate day, const QString& name, const FoodValues& v)
{
    return {day, 1.0, kPieces, name, v[0], v[1], v[2], v[3]};
}

std::vector<Value> activityEntry(QDate day, const QString& name, qint64 energy)
{
    return {day, qint64(1), name, energy};
}

// Visits every day from `first` to `last` in order, telling `progress`
// the number of each (from 1). The result counts the days and sums what
// the visits return.
template <typename Visit>
Result eachDay(QDate first, QDate last, const Progress& progress, Visit visit)
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

QDate clampToDiary(QDate day)
{
    if (!day.isValid() || day < kFirstPickable)
        return kFirstPickable;
    return day > kLastPickable ? kLastPickable : day;
}

QString periodRefusal(QDate first, QDate last, QDate today)
{
    if (last < first)
        return QStringLiteral("Das Zeitintervall ist ungültig !\rAktion kann nicht durchgeführt werden.");
    if (last >= today)
        return QStringLiteral(
            "Das Zeitintervall überschneidet das heutige Tagesdatum !\rAktion wird nicht durchgeführt.");
    return {};
}

Result fillGaps(DiaryTables tables, QDate first, QDate last, int scope, const Progress& progress)
{
    TableDraft ntb(tables.ntb), ftb(tables.ftb), zeb(tables.zeb);
    requireDayRecords(zeb, first.addDays(-1), last);

    const RecordRef before = zeb.record(dayRecord(zeb, first.addDays(-1)));
    FoodValues food = foodOfDay(before);
    qint64 fitness = before.fieldInt("ZEBFITNESS");
    // The weight is carried as the single-precision value it is read into.
    float weight = static_cast<float>(before.fieldDouble("ZEBGEWICHT"));

    const Result result = eachDay(first, last, progress, [&](QDate day) {
        int added = 0;
        const quint32 recno = dayRecord(zeb, day);
        const RecordRef own = zeb.record(recno);
        std::vector<Value> change(7, Unchanged{});

        if (covers(scope, FoodOnly)) {
            if (own.fieldInt("ZEBENERGIE") != 0) {
                food = foodOfDay(own);
            } else if (food[0] > 0) {
                ntb.append(foodEntry(day, kGapFillerName, food));
                // The totals follow the entries, should the day hold entries
                // without energy already.
                const FoodValues sum = foodEntriesSum(ntb, day);
                for (int k = 0; k < 4; ++k)
                    change[2 + k] = sum[k] + food[k];
                ++added;
            }
        }
        if (covers(scope, ActivityOnly)) {
            if (own.fieldInt("ZEBFITNESS") != 0) {
                fitness = own.fieldInt("ZEBFITNESS");
            } else if (fitness > 0) {
                ftb.append(activityEntry(day, kGapFillerName, fitness));
                change[6] = activityEntriesSum(ftb, day) + fitness;
                ++added;
            }
        }
        if (covers(scope, WeightOnly)) {
            const float ownWeight = static_cast<float>(own.fieldDouble("ZEBGEWICHT"));
            if (ownWeight != 0) {
                weight = ownWeight;
            } else if (weight > 0) {
                change[1] = static_cast<double>(weight);
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
        const RecordRef totals = zeb.record(dayRecord(zeb, day));
        if (covers(scope, FoodOnly) && totals.fieldInt("ZEBENERGIE") > 0) {
            removed += removeDay(ntb, day);
            ntb.append(foodEntry(day, kSummaryName, foodOfDay(totals)));
        }
        const qint64 fitness = totals.fieldInt("ZEBFITNESS");
        if (covers(scope, ActivityOnly) && fitness > 0) {
            removed += removeDay(ftb, day);
            ftb.append(activityEntry(day, kSummaryName, fitness));
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

    const Result result = eachDay(first, last, progress, [&](QDate day) {
        int removed = removeDay(ntb, day);
        removed += removeDay(ftb, day);
        removed += removeDay(xtb, day);
        zeb.change(dayRecord(zeb, day),
                   {Unchanged{}, 0.0, qint64(0), qint64(0), qint64(0), qint64(0), qint64(0)});
        return removed;
    });
    store::replaceTables({&ntb, &ftb, &xtb, &zeb});
    return result;
}

QString fillQuestion(QDate first, QDate last)
{
    return QStringLiteral("Wollen Sie im ausgewählten Zeitraum zwischen %1 und %2 die fehlenden Einträge "
                          "automatisch ergänzen?")
        .arg(dateText(first), dateText(last));
}

QString compressQuestion(QDate first, QDate last)
{
    return QStringLiteral("Wollen Sie wirklich alle Daten im ausgewählten Zeitraum zwischen %1 und %2 "
                          "komprimieren?")
        .arg(dateText(first), dateText(last));
}

QString deleteQuestion(QDate first, QDate last)
{
    return QStringLiteral("Wollen Sie wirklich alle Daten im ausgewählten Zeitraum zwischen %1 und %2 "
                          "endgültig löschen?")
        .arg(dateText(first), dateText(last));
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
