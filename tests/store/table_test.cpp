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
    EXPECT_FALSE(nrg.locate("NRGNAME", QStringLiteral("KÄSE, GOUDA"), folded)) << "ä and Ä must match exactly";
    EXPECT_FALSE(nrg.locate("NRGNAME", QStringLiteral("Apfe")));
    EXPECT_TRUE(nrg.locate("NRGNAME", QStringLiteral("Apfe"), {false, true}));

    Table ftb(schema::ftb());
    ftb.open(diary.dir());
    EXPECT_TRUE(ftb.locate("FTBNAME", QStringLiteral("Grund- und Arbeit"), {false, true}));
    EXPECT_EQ(ftb.fieldInt("FTBMENGE"), 1440);
}

TEST(Table, SetFieldsLeavesUnchangedPositionsAlone)
{
    SmallDiary diary;
    Table zeb(schema::zeb());
    zeb.open(diary.dir());
    QDate today = kDay1.addDays(2);
    zeb.setDayFilter([&] { return today; });
    zeb.setFiltered(true);
    zeb.edit();
    zeb.setFields({Unchanged{}, Unchanged{}, qint64(1200), qint64(40), qint64(150), qint64(30), Unchanged{}});
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

TEST(Table, InsertEditDeleteAndPackKeepTheViewAndTheFileInStep)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    QDate today = kDay1;
    ntb.setDayFilter([&] { return today; });
    ntb.setFiltered(true);

    // Inserting with the day filter on books on the current day.
    ntb.insert();
    ntb.setFields({Unchanged{}, 250.0, QStringLiteral("ml"), QStringLiteral("Apfelsaft"), qint64(500), qint64(0),
                   qint64(28), qint64(0)});
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
    EXPECT_EQ(ntb.recordCount(), 4) << "deleted records stay in the file until packed";

    ntb.pack();
    EXPECT_EQ(ntb.recordCount(), 3);
    ntb.close();
    Table reread(schema::ntb());
    reread.open(diary.dir());
    EXPECT_EQ(contentOf(reread),
              (QStringList{"2005-03-02|1|St.|Apfel|300|0|16|0", "2005-03-02|0.25|St.|Apfel|75|0|4|0",
                           "2005-03-01|250|ml|Apfelsaft|500|0|28|0"}));
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.pack")));
}

TEST(Table, EditOnAnEmptyViewInserts)
{
    SmallDiary diary;
    Table reg(schema::reg());
    reg.open(diary.dir());
    reg.first();
    reg.deleteRecord();
    reg.pack();
    EXPECT_TRUE(reg.eof());
    reg.edit();
    EXPECT_EQ(reg.state(), Table::State::Insert);
    reg.setField("EE", QStringLiteral("8374"));
    reg.post();
    EXPECT_EQ(reg.recordCount(), 1);
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
    EXPECT_THROW(ntb.setFields({kDay1, 99999.0}), StoreError);
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
        nrg.setFields({qint64(3), QStringLiteral("Birne"), qint64(3), qint64(350), 0.5, 20.0, 0.3});
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
        nrg.setFields({qint64(3), QStringLiteral("Aal"), qint64(1), qint64(1100), 15.0, 0.0, 25.0});
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
    EXPECT_EQ(ntb.visibleCount(), 2);
    EXPECT_EQ(ntb.recordCount(), 3);
}

TEST(DaySums, LiveRecordsOfEachDayAreSummedDecimalsIncluded)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.insert();
    ntb.postFields({kDay2, 0.13, QStringLiteral("St."), QStringLiteral("Banane"), qint64(59)});
    auto sums = ntb.sumsByDay({"NTBMENGE", "NTBENERGIE", "NTBFETT"});
    ASSERT_EQ(sums.size(), 2u);
    EXPECT_DOUBLE_EQ(sums[20050301][0], 100.25);
    EXPECT_EQ(sums[20050301][1], 1575);
    EXPECT_EQ(sums[20050301][2], 29);
    EXPECT_DOUBLE_EQ(sums[20050302][0], 1.13);
    EXPECT_EQ(sums[20050302][1], 359);

    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Käse, Gouda")));
    ntb.deleteRecord();
    sums = ntb.sumsByDay({"NTBENERGIE"});
    EXPECT_EQ(sums[20050301][0], 75) << "a deleted entry counts no more";
    ntb.first();
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.deleteRecord();
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.deleteRecord();
    sums = ntb.sumsByDay({"NTBENERGIE"});
    EXPECT_EQ(sums.count(20050301), 0u) << "a day without live entries has no sums";
}
