#include "diary/rules/daysummary.h"

#include "diary/rules/daytotals.h"
#include "diary/rules/numbers.h"

#include <QLocale>

namespace daysummary {
namespace {

QDate dateOf(int key)
{
    return QDate(key / 10000, key / 100 % 100, key % 100);
}

QString shown(QDate day)
{
    return QLocale().toString(day, numbers::shortDateFormat());
}

// Walks the days of a list of day sums, ascending, alongside another.
class Cursor
{
public:
    explicit Cursor(std::vector<store::Table::DaySum> sums) : m_sums(std::move(sums)) {}
    // The sums of `day`, or none; days must be asked for in ascending order.
    const store::Table::DaySums* at(int day)
    {
        while (m_next < m_sums.size() && m_sums[m_next].day < day)
            ++m_next;
        return m_next < m_sums.size() && m_sums[m_next].day == day ? &m_sums[m_next].sums : nullptr;
    }

private:
    std::vector<store::Table::DaySum> m_sums;
    size_t m_next = 0;
};

} // namespace

Checked<> checkDays(const std::vector<int>& days, QDate first, QDate last)
{
    const qint64 expected = first.daysTo(last) + 1;
    QDate day = first;
    for (size_t i = 0; i < days.size(); ++i, day = day.addDays(1)) {
        if (day > last)
            return Checked<>::refused(QStringLiteral("Tagessätze nach dem %1 (%2 statt %3 Datensätze).")
                                          .arg(shown(last))
                                          .arg(days.size())
                                          .arg(expected));
        if (days[i] == store::Table::dayKey(day))
            continue;
        if (days[i] <= 0)
            return Checked<>::refused(
                QStringLiteral("Datensatz %1 ist gelöscht oder ohne Datum, erwartet war der %2.")
                    .arg(i + 1)
                    .arg(shown(day)));
        return Checked<>::refused(QStringLiteral("Datensatz %1 gehört zum %2, erwartet war der %3.")
                                      .arg(i + 1)
                                      .arg(shown(dateOf(days[i])), shown(day)));
    }
    if (static_cast<qint64>(days.size()) < expected)
        return Checked<>::refused(QStringLiteral("Die Tagessätze ab dem %1 fehlen (%2 statt %3 Datensätze).")
                                      .arg(shown(day))
                                      .arg(days.size())
                                      .arg(expected));
    return Passed{};
}

Checked<diary::Range> rangeOf(const std::vector<int>& days)
{
    if (days.empty())
        return Checked<diary::Range>::refused(QStringLiteral("Die Datei enthält keine Tagessätze."));
    const QDate first = dateOf(days.front());
    const std::optional<diary::Range> range =
        first.isValid() && first.dayOfYear() == 1 ? diary::Range::elevenYears(first.year()) : std::nullopt;
    if (!range) {
        const QString expected = QStringLiteral("erwartet war der 1. Januar eines Jahres von %1 bis %2.")
                                     .arg(diary::kEarliestFirstYear)
                                     .arg(diary::kLatestFirstYear);
        return Checked<diary::Range>::refused(
            first.isValid() ? QStringLiteral("Datensatz 1 gehört zum %1, %2").arg(shown(first), expected)
                            : QStringLiteral("Datensatz 1 ist gelöscht oder ohne Datum, %1").arg(expected));
    }
    if (const Checked<> sound = checkDays(days, range->first, range->last); !sound)
        return Checked<diary::Range>::refused(sound.message());
    return *range;
}

const std::vector<const char*>& foodEntryFields()
{
    static const std::vector<const char*> fields{"NTBENERGIE", "NTBPROTEIN", "NTBKOHLENH", "NTBFETT"};
    return fields;
}

const std::vector<const char*>& activityEntryFields()
{
    static const std::vector<const char*> fields{"FTBENERGIE"};
    return fields;
}

const std::vector<const char*>& dayTotalFields()
{
    static const std::vector<const char*> fields{"ZEBENERGIE", "ZEBPROTEIN", "ZEBKOHLENH", "ZEBFETT",
                                                 "ZEBFITNESS"};
    return fields;
}

int repairTotals(const store::Table& foodDiary, const store::Table& activityDiary, store::Table& dailySummary)
{
    // All three lists are ascending by day: one walk along them together.
    Cursor food(foodDiary.sumsByDay(foodEntryFields()));
    Cursor activity(activityDiary.sumsByDay(activityEntryFields()));
    std::vector<std::pair<int, diary::DayTotals>> stale;
    for (const store::Table::DaySum& stored : dailySummary.sumsByDay(dayTotalFields())) {
        diary::EntrySums sums;
        if (const store::Table::DaySums* f = food.at(stored.day))
            sums.addFood((*f)[0], (*f)[1], (*f)[2], (*f)[3]);
        if (const store::Table::DaySums* a = activity.at(stored.day))
            sums.addActivity((*a)[0]);
        const diary::DayTotals want = diary::totalsOf(sums);
        const qint64 wanted[] = {want.energy, want.protein, want.carbohydrate, want.fat, want.fitness};
        // A stored value that is not the whole number wanted, even by a
        // fraction, is stale as well.
        for (int i = 0; i < 5; ++i) {
            if (static_cast<double>(wanted[i]) != stored.sums[i]) {
                stale.emplace_back(stored.day, want);
                break;
            }
        }
    }
    for (const auto& [day, totals] : stale) {
        if (!dailySummary.locate("ZEBDATUM", dateOf(day)))
            continue;
        dailySummary.edit();
        dailySummary.postFields(diary::totalFields(totals));
    }
    return static_cast<int>(stale.size());
}

} // namespace daysummary
