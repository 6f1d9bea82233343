#include "store/codepage.h"
#include "store/error.h"
#include "store/table.h"
#include "support/diary.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace store;
using testing_support::contentOf;
using testing_support::kDay1;
using testing_support::kDay2;
using testing_support::SmallDiary;

namespace {

QStringList names(Table& table, const char* field)
{
    QStringList list;
    for (table.first(); !table.eof(); table.next())
        list << table.fieldText(field);
    return list;
}

} // namespace

TEST(Table, CatalogueIsVisitedInNameOrderThroughTheCategoryFilter)
{
    SmallDiary diary;
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    EXPECT_EQ(names(nrg, "NRGNAME"),
              (QStringList{"Apfel", "Apfelsaft", "Banane", "Käse, Gouda", "Äpfel, getrocknet"}));

    int category = 3;
    nrg.setFilter([&](const RecordRef& r) { return r.fieldInt("NRGKAT") == category; });
    nrg.setFiltered(true);
    EXPECT_EQ(names(nrg, "NRGNAME"), (QStringList{"Apfel", "Banane", "Äpfel, getrocknet"}));

    // The view follows the compared value only after a refresh.
    category = 7;
    nrg.refresh();
    nrg.first();
    EXPECT_TRUE(nrg.eof());
    EXPECT_EQ(nrg.fieldText("NRGNAME"), QString());
    EXPECT_EQ(nrg.fieldInt("NRGENERGIE"), 0);
}

TEST(Table, DayFilterShowsOnlyTheCurrentDayAndLocateStaysInside)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    QDate today = kDay2;
    ntb.setDayFilter([&] { return today; });
    ntb.setFiltered(true);
    EXPECT_EQ(names(ntb, "NTBNAME"), QStringList{"Apfel"});

    today = kDay1;
    ntb.refresh();
    EXPECT_EQ(names(ntb, "NTBNAME"), (QStringList{"Käse, Gouda", "Apfel"}));
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    EXPECT_EQ(ntb.fieldDate("NTBDATUM"), kDay1);
    EXPECT_DOUBLE_EQ(ntb.fieldDouble("NTBMENGE"), 0.25);

    today = QDate(2005, 3, 9);
    ntb.refresh();
    EXPECT_TRUE(ntb.eof());
    EXPECT_FALSE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
}

TEST(Table, LocateFoldsOnlyPlainLettersAndMatchesPartialKeys)
{
    SmallDiary diary;
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    const LocateOptions folded{true, false};
    EXPECT_FALSE(nrg.locate("NRGNAME", QStringLiteral("apfel")));
    EXPECT_TRUE(nrg.locate("NRGNAME", QStringLiteral("apfel"), folded));
    EXPECT_EQ(nrg.fieldText("NRGNAME"), "Apfel");
    EXPECT_TRUE(nrg.locate("NRGNAME", QStringLiteral("KäSE, GOUDA"), folded));
    EXPECT_FALSE(nrg.locate("NRGNAME", QStringLiteral("KÄSE, GOUDA"), folded))
        << "ä and Ä must match exactly";
    EXPECT_FALSE(nrg.locate("NRGNAME", QStringLiteral("Apfe")));
    EXPECT_TRUE(nrg.locate("NRGNAME", QStringLiteral("Apfe"), {false, true}));

    Table ftb(schema::ftb());
    ftb.open(diary.dir());
    EXPECT_TRUE(ftb.locate("FTBNAME", QStringLiteral("Grund- und Arbeit"), {false, true}));
    EXPECT_EQ(ftb.fieldInt("FTBMENGE"), 1440);
}

TEST(Table, SetFieldsWritesTheNamedFieldsOnlyAndRefusesAnUnknownNameWhole)
{
    SmallDiary diary;
    Table zeb(schema::zeb());
    zeb.open(diary.dir());
    QDate today = kDay1.addDays(2);
    zeb.setDayFilter([&] { return today; });
    zeb.setFiltered(true);
    zeb.edit();
    // Named in another order than the table declares them.
    zeb.setFields({{"ZEBFETT", qint64(30)},
                   {"ZEBKOHLENH", qint64(150)},
                   {"ZEBENERGIE", qint64(1200)},
                   {"ZEBPROTEIN", qint64(40)}});
    try {
        zeb.setFields({{"ZEBFITNESS", qint64(1)}, {"ZEBKALORIEN", qint64(2)}});
        ADD_FAILURE() << "an unknown field is written";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.text(), "ZEB_ZEB.dbf: Feld ZEBKALORIEN ist nicht bekannt.");
    }
    zeb.post();

    Table reread(schema::zeb());
    zeb.close();
    reread.open(diary.dir());
    ASSERT_TRUE(reread.locate("ZEBDATUM", today));
    EXPECT_EQ(reread.fieldDate("ZEBDATUM"), today);
    EXPECT_DOUBLE_EQ(reread.fieldDouble("ZEBGEWICHT"), 80.5);
    EXPECT_EQ(reread.fieldInt("ZEBENERGIE"), 1200);
    EXPECT_EQ(reread.fieldInt("ZEBPROTEIN"), 40);
    EXPECT_EQ(reread.fieldInt("ZEBKOHLENH"), 150);
    EXPECT_EQ(reread.fieldInt("ZEBFETT"), 30);
    EXPECT_EQ(reread.fieldInt("ZEBFITNESS"), 10316);
    EXPECT_EQ(reread.recordCount(), 7);
}

TEST(Table, InsertEditDeleteAndReplacementKeepTheViewAndTheFileInStep)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    QDate today = kDay1;
    ntb.setDayFilter([&] { return today; });
    ntb.setFiltered(true);

    // Inserting with the day filter on books on the current day.
    ntb.insert();
    ntb.setFields({{"NTBMENGE", 250.0},
                   {"NTBME", QStringLiteral("ml")},
                   {"NTBNAME", QStringLiteral("Apfelsaft")},
                   {"NTBENERGIE", qint64(500)},
                   {"NTBPROTEIN", qint64(0)},
                   {"NTBKOHLENH", qint64(28)},
                   {"NTBFETT", qint64(0)}});
    ntb.post();
    EXPECT_EQ(ntb.fieldText("NTBNAME"), "Apfelsaft");
    EXPECT_EQ(ntb.fieldDate("NTBDATUM"), kDay1);
    EXPECT_EQ(names(ntb, "NTBNAME"), (QStringList{"Käse, Gouda", "Apfel", "Apfelsaft"}));

    // A posted record that the filter rejects leaves the view.
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.edit();
    ntb.setField("NTBDATUM", kDay2);
    ntb.post();
    EXPECT_EQ(names(ntb, "NTBNAME"), (QStringList{"Käse, Gouda", "Apfelsaft"}));

    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Käse, Gouda")));
    ntb.deleteRecord();
    EXPECT_FALSE(ntb.eof());
    EXPECT_EQ(ntb.fieldText("NTBNAME"), "Apfelsaft") << "the cursor moves to the neighbour";
    EXPECT_EQ(names(ntb, "NTBNAME"), QStringList{"Apfelsaft"});
    EXPECT_EQ(ntb.recordCount(), 4) << "deleted records stay in the file until it is replaced";

    testing_support::removeEntries(ntb, kDay1, QStringLiteral("Apfelsaft"));
    EXPECT_EQ(ntb.recordCount(), 2);
    ntb.close();
    Table reread(schema::ntb());
    reread.open(diary.dir());
    EXPECT_EQ(contentOf(reread),
              (QStringList{"2005-03-02|1|St.|Apfel|300|0|16|0", "2005-03-02|0.25|St.|Apfel|75|0|4|0"}));
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.neu")));
}

TEST(Table, ADayOrAPeriodIsReadFromTheDayIndexWithoutMovingTheCursor)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.setDayFilter([] { return kDay2; });
    ntb.setFiltered(true);
    // An entry of an earlier day appended after the later ones.
    ntb.insert();
    ntb.postFields(testing_support::foodEntry(kDay1.addDays(-1), 1.0, "St.", "Birne", 100));
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    const auto read = [&](QDate first, QDate last) {
        QStringList records;
        for (const RecordRef& r : ntb.dayRecords(first, last))
            records << QString::number(r.fieldDate("NTBDATUM").day()) + ' ' + r.fieldText("NTBNAME");
        return records;
    };
    const struct
    {
        QDate first, last;
        QStringList records;
    } cases[] = {
        {kDay1, kDay1, {"1 Käse, Gouda", "1 Apfel"}},
        {kDay1.addDays(-1), kDay2, {"28 Birne", "1 Käse, Gouda", "1 Apfel", "2 Apfel"}},
        {kDay2.addDays(1), kDay2.addDays(30), {}},
        {kDay2, kDay1, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.first, c.last), c.records) << c.first.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(ntb.fieldDate("NTBDATUM"), kDay2) << "the cursor stays on the day's record";
    ntb.deleteRecord();
    EXPECT_EQ(read(kDay2, kDay2), QStringList()) << "a deleted record is not read";
}

TEST(Table, EditOnAnEmptyViewInserts)
{
    SmallDiary diary;
    Table reg(schema::reg());
    reg.open(diary.dir());
    reg.first();
    reg.deleteRecord();
    EXPECT_TRUE(reg.eof());
    reg.edit();
    EXPECT_EQ(reg.state(), Table::State::Insert);
    reg.setField("EE", QStringLiteral("8374"));
    reg.post();
    EXPECT_EQ(reg.recordCount(), 2) << "the deleted record and the new one";
    EXPECT_EQ(reg.fieldText("EE"), "8374");
    EXPECT_EQ(reg.fieldInt("NF"), 0) << "an empty numeric field reads as 0";
}

TEST(Table, ValuesThatDoNotFitAreRefusedAndNothingIsWritten)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    const QByteArray before = diary.read("ZEB_NTB.DBF");
    ntb.insert();
    EXPECT_THROW(ntb.setField("NTBENERGIE", qint64(100000)), StoreError);
    EXPECT_THROW(ntb.setField("NTBNAME", QString(31, u'x')), StoreError);
    EXPECT_THROW(ntb.setField("NTBNAME", QStringLiteral("Ǆ")), StoreError) << "no byte in code page 1252";
    EXPECT_THROW(ntb.setFields({{"NTBDATUM", kDay1}, {"NTBMENGE", 99999.0}}), StoreError);
    ntb.cancel();
    EXPECT_EQ(diary.read("ZEB_NTB.DBF"), before);
}

TEST(Table, NamesAreStoredInTheirCodePages)
{
    SmallDiary diary;
    // "Käse" has ä = 0x84 in code page 850 (catalogue) and 0xE4 in 1252 (diary).
    EXPECT_TRUE(diary.read("ZEB_NRG.dbf").contains(QByteArray("K\x84se, Gouda")));
    EXPECT_TRUE(diary.read("ZEB_NTB.DBF").contains(QByteArray("K\xE4se, Gouda")));
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_EQ(ntb.fieldText("NTBNAME"), QStringLiteral("Käse, Gouda"));
}

TEST(Table, TextIsFittedToTheCodePageItIsStoredIn)
{
    using store::CodePage;
    using store::fitToCodePage;
    EXPECT_EQ(fitToCodePage(QStringLiteral("Kino 9 € mit Anna"), CodePage::Cp850), "Kino 9 EUR mit Anna");
    EXPECT_EQ(fitToCodePage(QStringLiteral("„Hallo“ ‚du‘ – ja — nein …"), CodePage::Cp850),
              "\"Hallo\" 'du' - ja - nein ...");
    EXPECT_EQ(fitToCodePage(QStringLiteral("5 € • ™ 😀 ok"), CodePage::Cp850), "5 EUR ? ? ? ok")
        << "one stand-in for a character outside the basic plane";
    EXPECT_EQ(fitToCodePage(QStringLiteral("„9 €“"), CodePage::Cp1252), QStringLiteral("„9 €“"))
        << "code page 1252 holds them";
    const QString german = QStringLiteral("Käse, Öl, Grüße ½ µ °\t");
    EXPECT_EQ(fitToCodePage(german, CodePage::Cp850), german);
    for (const auto page : {CodePage::Cp850, CodePage::Cp1252}) {
        QByteArray bytes;
        EXPECT_TRUE(store::encode(fitToCodePage(QStringLiteral("a€b“c…d😀Ǆ"), page), page, bytes));
    }
}

TEST(Table, FilesAreFoundWhateverTheirLetterCase)
{
    SmallDiary diary;
    ASSERT_TRUE(QFile::rename(diary.path("ZEB_NTB.DBF"), diary.path("zeb_ntb.dbf")));
    ASSERT_TRUE(QFile::rename(diary.path("NRGNAME.NDX"), diary.path("nrgname.ndx")));
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_EQ(ntb.recordCount(), 3);
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    EXPECT_EQ(nrg.fieldText("NRGNAME"), "Apfel");
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF")));
}

TEST(Table, AFileHeldByAnotherTableIsRefused)
{
    SmallDiary diary;
    Table first(schema::zeb());
    first.open(diary.dir());
    Table second(schema::zeb());
    EXPECT_THROW(second.open(diary.dir()), StoreError);
    first.close();
    EXPECT_NO_THROW(second.open(diary.dir()));
}

TEST(Table, CatalogueChangesKeepTheIndexInOrderOnDisk)
{
    SmallDiary diary;
    {
        Table nrg(schema::nrg());
        nrg.open(diary.dir());
        nrg.insert();
        nrg.setFields(testing_support::foodItem(3, QStringLiteral("Birne"), 3, 350, 0.5, 20.0, 0.3));
        nrg.post();
        ASSERT_TRUE(nrg.locate("NRGNAME", QStringLiteral("Apfelsaft")));
        nrg.edit();
        nrg.setField("NRGNAME", QStringLiteral("Zitronensaft"));
        nrg.post();
        EXPECT_EQ(nrg.fieldText("NRGNAME"), "Zitronensaft");
    }
    const QByteArray index = diary.read("NRGNAME.NDX");
    Table reread(schema::nrg());
    reread.open(diary.dir());
    EXPECT_EQ(diary.read("NRGNAME.NDX"), index) << "a matching index is used as it is";
    EXPECT_EQ(names(reread, "NRGNAME"),
              (QStringList{"Apfel", "Banane", "Birne", "Käse, Gouda", "Zitronensaft", "Äpfel, getrocknet"}));
}

TEST(Table, AStaleIndexIsRebuiltFromTheTable)
{
    SmallDiary diary;
    const QByteArray index = diary.read("NRGNAME.NDX");
    {
        Table nrg(schema::nrg());
        nrg.open(diary.dir());
        nrg.insert();
        nrg.setFields(testing_support::foodItem(3, QStringLiteral("Aal"), 1, 1100, 15.0, 0.0, 25.0));
        nrg.post();
    }
    // As if another program had appended to the table without the index.
    diary.write("NRGNAME.NDX", index);
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    EXPECT_EQ(names(nrg, "NRGNAME").first(), "Aal");
    EXPECT_NE(diary.read("NRGNAME.NDX"), index);

    diary.write("NRGNAME.NDX", QByteArray(700, '\x55'));
    nrg.close();
    nrg.open(diary.dir());
    EXPECT_EQ(names(nrg, "NRGNAME").size(), 6);
}

TEST(Table, NextOnTheUnfilteredFileSkipsDeletedRecords)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.next();
    ntb.deleteRecord();
    EXPECT_EQ(ntb.fieldDouble("NTBMENGE"), 0.25);
    EXPECT_EQ(names(ntb, "NTBNAME"), (QStringList{"Käse, Gouda", "Apfel"}));
    EXPECT_EQ(ntb.recordCount(), 3);
}

TEST(DaySums, LiveRecordsOfEachDayAreSummedDecimalsIncluded)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.insert();
    ntb.postFields({{"NTBDATUM", kDay2},
                    {"NTBMENGE", 0.13},
                    {"NTBME", QStringLiteral("St.")},
                    {"NTBNAME", QStringLiteral("Banane")},
                    {"NTBENERGIE", qint64(59)}});
    auto sums = ntb.sumsByDay({"NTBMENGE", "NTBENERGIE", "NTBFETT"});
    ASSERT_EQ(sums.size(), 2u);
    EXPECT_EQ(sums[0].day, 20050301);
    EXPECT_DOUBLE_EQ(sums[0].sums[0], 100.25);
    EXPECT_EQ(sums[0].sums[1], 1575);
    EXPECT_EQ(sums[0].sums[2], 29);
    EXPECT_EQ(sums[1].day, 20050302);
    EXPECT_DOUBLE_EQ(sums[1].sums[0], 1.13);
    EXPECT_EQ(sums[1].sums[1], 359);

    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Käse, Gouda")));
    ntb.deleteRecord();
    sums = ntb.sumsByDay({"NTBENERGIE"});
    ASSERT_EQ(sums[0].day, 20050301);
    EXPECT_EQ(sums[0].sums[0], 75) << "a deleted entry counts no more";
    ntb.first();
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.deleteRecord();
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.deleteRecord();
    sums = ntb.sumsByDay({"NTBENERGIE"});
    ASSERT_EQ(sums.size(), 1u);
    EXPECT_EQ(sums[0].day, 20050302) << "a day without live entries has no sums";
}

TEST(DayIndex, TheRecordsOfEachDayWhateverTheOrderOfTheFile)
{
    // The days of records 0, 1, 2 ... in file order; 0 for one without a day.
    const struct Case
    {
        const char* what;
        std::vector<int> days;
        size_t runs;
    } cases[] = {
        {"in date order", {1, 1, 2, 2, 2, 3}, 3},
        {"out of order", {2, 1, 1, 3, 1, 2}, 5},
        {"records without a day between", {1, 0, 1, 2, 0, 2, 1, 3}, 6},
        {"descending", {3, 2, 1, 3, 2, 1}, 6},
    };
    const auto expected = [](const std::vector<int>& days, int day) {
        std::vector<quint32> records;
        for (size_t i = 0; i < days.size(); ++i) {
            if (days[i] == day)
                records.push_back(static_cast<quint32>(i));
        }
        return records;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DayIndex index;
        for (size_t i = 0; i < c.days.size(); ++i) {
            if (c.days[i] > 0)
                index.add(static_cast<quint32>(i), c.days[i]);
        }
        EXPECT_EQ(index.runCount(), c.runs);
        std::vector<quint32> period;
        for (int day = 1; day <= 3; ++day) {
            EXPECT_EQ(index.records(day), expected(c.days, day)) << day;
            const std::vector<quint32> records = expected(c.days, day);
            period.insert(period.end(), records.begin(), records.end());
        }
        EXPECT_EQ(index.records(0, 3), period) << "the period, day by day";
        EXPECT_TRUE(index.records(4).empty());

        // The same records given at once, in file order, give the same runs.
        DayIndex atOnce;
        std::vector<std::pair<int, quint32>> all;
        for (size_t i = 0; i < c.days.size(); ++i) {
            if (c.days[i] > 0)
                all.push_back({c.days[i], static_cast<quint32>(i)});
        }
        atOnce.addAll(all);
        EXPECT_EQ(atOnce.runCount(), c.runs);
        for (int day = 1; day <= 3; ++day)
            EXPECT_EQ(atOnce.records(day), expected(c.days, day)) << day;

        // Every record moved to day 4 and back, one after the other, as an
        // edit of its day does.
        for (size_t i = 0; i < c.days.size(); ++i) {
            if (c.days[i] <= 0)
                continue;
            std::vector<int> moved = c.days;
            moved[i] = 4;
            index.remove(static_cast<quint32>(i), c.days[i]);
            index.add(static_cast<quint32>(i), 4);
            for (int day = 1; day <= 4; ++day)
                EXPECT_EQ(index.records(day), expected(moved, day))
                    << "record " << i << " on day 4, day " << day;
            index.remove(static_cast<quint32>(i), 4);
            index.add(static_cast<quint32>(i), c.days[i]);
            for (int day = 1; day <= 4; ++day)
                EXPECT_EQ(index.records(day), expected(c.days, day))
                    << "record " << i << " back, day " << day;
        }
    }
}

TEST(DayIndex, ADiaryWrittenOutOfDateOrderShowsAndSumsEachDayWhole)
{
    // The small diary's food diary holds day 1, day 2, day 1; entries for
    // earlier days are appended after later ones, as bookings on a past
    // day are.
    SmallDiary diary;
    {
        Table ntb(schema::ntb());
        ntb.open(diary.dir());
        for (const QDate day : {kDay2, kDay1, kDay1.addDays(-1), kDay2}) {
            ntb.insert();
            ntb.postFields(
                testing_support::foodEntry(day, 1.0, QStringLiteral("St."), QStringLiteral("Birne"), 100));
        }
    }
    Table ntb(schema::ntb());
    ntb.open(diary.dir(), {"NTBENERGIE"});
    QDate today;
    ntb.setDayFilter([&] { return today; });
    ntb.setFiltered(true);
    const std::pair<QDate, QStringList> days[] = {
        {kDay1.addDays(-1), {"Birne"}},
        {kDay1, {"Käse, Gouda", "Apfel", "Birne"}},
        {kDay2, {"Apfel", "Birne", "Birne"}},
    };
    for (const auto& [day, names] : days) {
        today = day;
        ntb.refresh();
        QStringList shown;
        for (ntb.first(); !ntb.eof(); ntb.next())
            shown << ntb.fieldText("NTBNAME");
        EXPECT_EQ(shown, names) << day.toString(Qt::ISODate).toStdString();
    }
    const std::vector<Table::DaySum> sums = ntb.sumsByDay({"NTBENERGIE"});
    ASSERT_EQ(sums.size(), 3u);
    EXPECT_EQ(sums[0].day, 20050228);
    EXPECT_EQ(sums[0].sums[0], 100);
    EXPECT_EQ(sums[1].day, 20050301);
    EXPECT_EQ(sums[1].sums[0], 1675);
    EXPECT_EQ(sums[2].day, 20050302);
    EXPECT_EQ(sums[2].sums[0], 500);
}
