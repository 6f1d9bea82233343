#include "main/diary/daysummary.h"

#include "main/diary/booking.h"
#include "main/numbers.h"

#include <QLocale>

#include <algorithm>

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

} // namespace

QString checkDays(const std::vector<int>& days, QDate first, QDate last)
{
    const qint64 expected = first.daysTo(last) + 1;
    QDate day = first;
    for (size_t i = 0; i < days.size(); ++i, day = day.addDays(1)) {
        if (day > last)
            return QStringLiteral("Tagessätze nach dem %1 (%2 statt %3 Datensätze).")
                .arg(shown(last))
                .arg(days.size())
                .arg(expected);
        if (days[i] == store::Table::dayKey(day))
            continue;
        if (days[i] <= 0)
            return QStringLiteral("Datensatz %1 ist gelöscht oder ohne Datum, erwartet war der %2.")
                .arg(i + 1)
                .arg(shown(day));
        return QStringLiteral("Datensatz %1 gehört zum %2, erwartet war der %3.")
            .arg(i + 1)
            .arg(shown(dateOf(days[i])), shown(day));
    }
    if (static_cast<qint64>(days.size()) < expected)
        return QStringLiteral("Die Tagessätze ab dem %1 fehlen (%2 statt %3 Datensätze).")
            .arg(shown(day))
            .arg(days.size())
            .arg(expected);
    return {};
}

Totals fromSums(const std::array<double, 4>& food, double activity)
{
    return {booking::dayTotal(food[0]), booking::dayTotal(food[1]), booking::dayTotal(food[2]),
            booking::dayTotal(food[3]), booking::dayTotal(activity)};
}

EntrySums sumEntries(const store::Table& foodDiary, const store::Table& activityDiary)
{
    return {foodDiary.sumsByDay({"NTBENERGIE", "NTBPROTEIN", "NTBKOHLENH", "NTBFETT"}),
            activityDiary.sumsByDay({"FTBENERGIE"})};
}

int repairTotals(const store::Table& foodDiary, const store::Table& activityDiary, store::Table& dailySummary)
{
    return repairTotals(sumEntries(foodDiary, activityDiary), dailySummary);
}

int repairTotals(const EntrySums& sums, store::Table& dailySummary)
{
    const auto& food = sums.food;
    const auto& activity = sums.activity;
    const auto stored =
        dailySummary.sumsByDay({"ZEBENERGIE", "ZEBPROTEIN", "ZEBKOHLENH", "ZEBFETT", "ZEBFITNESS"});

    std::vector<std::pair<int, Totals>> stale;
    for (const auto& [day, have] : stored) {
        std::array<double, 4> foodSums{};
        if (const auto it = food.find(day); it != food.end())
            std::copy_n(it->second.begin(), 4, foodSums.begin());
        double activitySum = 0;
        if (const auto it = activity.find(day); it != activity.end())
            activitySum = it->second[0];
        const Totals want = fromSums(foodSums, activitySum);
        const std::array<qint64, 5> wanted{want.energy, want.protein, want.carbohydrate, want.fat,
                                           want.fitness};
        // A stored value that is not the whole number wanted, even by a
        // fraction, is stale as well.
        if (!std::equal(wanted.begin(), wanted.end(), have.begin(),
                        [](qint64 w, double h) { return static_cast<double>(w) == h; }))
            stale.emplace_back(day, want);
    }
    std::sort(stale.begin(), stale.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    for (const auto& [day, t] : stale) {
        if (!dailySummary.locate("ZEBDATUM", dateOf(day)))
            continue;
        dailySummary.edit();
        dailySummary.postFields(
            {store::Unchanged{}, store::Unchanged{}, t.energy, t.protein, t.carbohydrate, t.fat, t.fitness});
    }
    return static_cast<int>(stale.size());
}

} // namespace daysummary
