// The daily summary as a whole: one record per day in order, and totals
// that are summed anew from the entries when a crash left them behind.

#include "diary/rules/daysummary.h"
#include "support/diary.h"
#include "support/locale.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace daysummary;
using testing_support::dbfreadContent;
using testing_support::kDay1;
using testing_support::kDay2;
using testing_support::SmallDiary;

namespace {

const QDate kFirstDay{2002, 1, 1};
const QDate kLastDay{2012, 12, 31};

QString checkDays(const std::vector<int>& days)
{
    return daysummary::checkDays(days, kFirstDay, kLastDay).message();
}

class German : public ::testing::Test
{
private:
    testing_support::LocaleScope m_locale{QLocale(QLocale::German, QLocale::Germany)};
};

std::vector<int> daysFrom(QDate first, QDate last)
{
    std::vector<int> days;
    for (QDate d = first; d <= last; d = d.addDays(1))
        days.push_back(store::Table::dayKey(d));
    return days;
}

QString recordOf(const QString& dir, QDate day)
{
    for (const QString& row : dbfreadContent(dir + "/ZEB_ZEB.dbf")) {
        if (row.startsWith(day.toString(Qt::ISODate)))
            return row;
    }
    return {};
}

} // namespace

using DayRecords = German;

TEST_F(DayRecords, EveryDayOfTheDiaryOnceAndInOrderIsSound)
{
    EXPECT_EQ(checkDays(daysFrom(kFirstDay, kLastDay)), "");
    EXPECT_EQ(daysFrom(kFirstDay, kLastDay).size(), 4018u);
}

TEST_F(DayRecords, AMissingDayIsNamedWithItsRecord)
{
    std::vector<int> days = daysFrom(kFirstDay, kLastDay);
    days.erase(days.begin() + 1159); // 2005-03-05
    EXPECT_EQ(checkDays(days), "Datensatz 1160 gehört zum 06.03.2005, erwartet war der 05.03.2005.");
}

TEST_F(DayRecords, TwoDaysSwappedADeletedDayAndAShortOrLongFileAreRefused)
{
    std::vector<int> swapped = daysFrom(kFirstDay, kLastDay);
    std::swap(swapped[10], swapped[11]);
    EXPECT_EQ(checkDays(swapped), "Datensatz 11 gehört zum 12.01.2002, erwartet war der 11.01.2002.");

    std::vector<int> deleted = daysFrom(kFirstDay, kLastDay);
    deleted[0] = 0;
    EXPECT_EQ(checkDays(deleted), "Datensatz 1 ist gelöscht oder ohne Datum, erwartet war der 01.01.2002.");

    std::vector<int> shortFile = daysFrom(kFirstDay, QDate(2012, 12, 30));
    EXPECT_EQ(checkDays(shortFile), "Die Tagessätze ab dem 31.12.2012 fehlen (4017 statt 4018 Datensätze).");

    std::vector<int> longFile = daysFrom(kFirstDay, QDate(2013, 1, 1));
    EXPECT_EQ(checkDays(longFile), "Tagessätze nach dem 31.12.2012 (4019 statt 4018 Datensätze).");

    EXPECT_EQ(checkDays({}), "Die Tagessätze ab dem 01.01.2002 fehlen (0 statt 4018 Datensätze).");
}

// Any eleven whole years from 1 January of a year from 1900 to 9989.
TEST_F(DayRecords, TheRangeIsElevenWholeYearsFromTheFirstRecord)
{
    const QString noJanuary = "erwartet war der 1. Januar eines Jahres von 1900 bis 9989.";
    const std::tuple<QDate, QDate, QString> cases[] = {
        {{2026, 1, 1}, {2036, 12, 31}, ""},
        {{2026, 1, 2}, {2036, 12, 31}, "Datensatz 1 gehört zum 02.01.2026, " + noJanuary},
        {{1899, 1, 1}, {1909, 12, 31}, "Datensatz 1 gehört zum 01.01.1899, " + noJanuary},
        {{2026, 1, 1}, {2037, 12, 31}, "Tagessätze nach dem 31.12.2036 (4383 statt 4018 Datensätze)."}};
    for (const auto& [first, last, refusal] : cases) {
        const Checked<diary::Range> range = rangeOf(daysFrom(first, last));
        EXPECT_EQ(range.message(), refusal);
        EXPECT_EQ(range.ok() && *range == (diary::Range{first, last}), refusal.isEmpty());
    }
}

TEST(DayTotals, ASoundDiaryIsNotWrittenTo)
{
    SmallDiary diary;
    // The small diary's first day holds its entries' sums; the others are
    // empty days with totals of their own: make them sound first.
    store::Table ntb(store::schema::ntb()), ftb(store::schema::ftb()), zeb(store::schema::zeb());
    ntb.open(diary.dir());
    ftb.open(diary.dir());
    zeb.open(diary.dir());
    repairTotals(ntb, ftb, zeb);
    const QByteArray before = diary.read("ZEB_ZEB.dbf");
    const quint64 changes = zeb.changeCount();
    EXPECT_EQ(repairTotals(ntb, ftb, zeb), 0);
    EXPECT_EQ(zeb.changeCount(), changes);
    EXPECT_EQ(diary.read("ZEB_ZEB.dbf"), before);
}

TEST(DayTotals, StaleTotalsAreSummedAnewAndOnlyTheTotalFieldsChange)
{
    SmallDiary diary;
    const QByteArray before = diary.read("ZEB_ZEB.dbf");
    store::Table ntb(store::schema::ntb()), ftb(store::schema::ftb()), zeb(store::schema::zeb());
    ntb.open(diary.dir());
    ftb.open(diary.dir());
    zeb.open(diary.dir());
    // Day 1: 1500 + 75 kJ of food and the whole-day activity, as stored;
    // day 2: one apple, but the record holds day 1's totals; days 3 to 7
    // hold totals without entries.
    EXPECT_EQ(repairTotals(ntb, ftb, zeb), 6);
    EXPECT_EQ(recordOf(diary.dir(), kDay1), "2005-03-01|80.5|1575|25|4|29|10316");
    EXPECT_EQ(recordOf(diary.dir(), kDay2), "2005-03-02|80.5|300|0|16|0|0");
    EXPECT_EQ(recordOf(diary.dir(), kDay1.addDays(6)), "2005-03-07|80.5|0|0|0|0|0");
    const QByteArray after = diary.read("ZEB_ZEB.dbf");
    ASSERT_EQ(after.size(), before.size());
    // Date and weight of every record as they were.
    const int headerLength = static_cast<unsigned char>(before[8]) | static_cast<unsigned char>(before[9])
                                                                         << 8;
    const int recordLength = static_cast<unsigned char>(before[10]) | static_cast<unsigned char>(before[11])
                                                                          << 8;
    for (int r = 0; r < 7; ++r) {
        const int at = headerLength + r * recordLength;
        EXPECT_EQ(after.mid(at, 1 + 8 + 5), before.mid(at, 1 + 8 + 5)) << r;
    }
}
