// The three maintenance runs on real table files: what each inserts,
// removes and counts, read back through the tables and through Python's
// dbfread, and the day totals equal to the entries afterwards.

#include "support/diary.h"
#include "tools/maintenance_support.h"

#include "diary/rules/activity.h"
#include "install/installer.h"

#include "store/error.h"

#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace maintenance;
using namespace testing_support;
using store::StoreError;

namespace {

const QDate kFull{2005, 3, 1};   // a day with food, activity and weight
const QDate kEmpty1{2005, 3, 2}; // two days without anything
const QDate kEmpty2{2005, 3, 3};
const QDate kOwn{2005, 3, 4}; // a day with values of its own

void noProgress(int) {}

// The rows of a table that fall on `day`, as contentOf gives them.
QStringList rowsOf(const QString& dir, const store::TableSchema& schema, QDate day)
{
    store::Table table(schema);
    table.open(dir);
    QStringList rows;
    for (const QString& row : contentOf(table)) {
        if (row.startsWith(day.toString(Qt::ISODate)))
            rows << row;
    }
    return rows;
}

ino_t inode(const QString& path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

class Maintenance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        diary.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
        diary.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
        diary.activity(kFull, QStringLiteral("Walking"), 1350);
        diary.weight(kFull, 80.3);
        diary.food(kOwn, QStringLiteral("Apfel"), 300, 0, 16, 0);
        diary.activity(kOwn, QStringLiteral("Radfahren"), 1900);
        diary.weight(kOwn, 79.9);
        diary.note(kEmpty1, QStringLiteral("Ein Tag ohne Einträge."));
    }

    BookedDiary diary;
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
};

} // namespace

// ----------------------------------------------------------------- fill gaps

TEST_F(Maintenance, FillGivesAnEmptyDayAFillerOfEachKindAndTheWeight)
{
    Result r;
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        r = fillGaps(t.tables(), kEmpty1, kEmpty1, Everything, noProgress).value();
    }
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ntb(), kEmpty1),
              QStringList{"2005-03-02|1|St.|Lückenfüller|2400|33|40|31"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ftb(), kEmpty1),
              QStringList{"2005-03-02|1|Lückenfüller|1350"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kEmpty1),
              QStringList{"2005-03-02|80.3|2400|33|40|31|1350"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kEmpty2), QStringList{"2005-03-03|0|0|0|0|0|0"});
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
    // An independent reader sees the new entry.
    EXPECT_TRUE(
        dbfreadContent(diary.path("ZEB_NTB.DBF")).contains("2005-03-02|1|St.|Lückenfüller|2400|33|40|31"));
}

TEST_F(Maintenance, FillCarriesTheLastValuesAcrossARunOfEmptyDaysAndTakesUpADayWithItsOwn)
{
    Result r;
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        r = fillGaps(t.tables(), kEmpty1, kOwn.addDays(1), Everything, noProgress).value();
    }
    EXPECT_EQ(r.count, 9); // three kinds on 03-02, 03-03 and 03-05
    EXPECT_EQ(r.days, 4);
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kEmpty2),
              QStringList{"2005-03-03|80.3|2400|33|40|31|1350"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kOwn.addDays(1)),
              QStringList{"2005-03-05|79.9|300|0|16|0|1900"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ntb(), kOwn).size(), 1);
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
}

TEST_F(Maintenance, FillStartsOnlyFromTheDayBeforeThePeriod)
{
    // Two days after the full day: the day before the period is empty.
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    const Result r = fillGaps(t.tables(), kEmpty2, kEmpty2, Everything, noProgress).value();
    EXPECT_EQ(r.count, 0);
}

TEST_F(Maintenance, FillOfWeightsOnlyLeavesTheEntryTablesAsTheyWere)
{
    const auto before = diary.files();
    Result r;
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        r = fillGaps(t.tables(), kEmpty1, kEmpty2, WeightOnly, noProgress).value();
    }
    EXPECT_EQ(r.count, 2);
    const auto after = diary.files();
    EXPECT_EQ(after.at("ZEB_NTB.DBF"), before.at("ZEB_NTB.DBF"));
    EXPECT_EQ(after.at("ZEB_FTB.dbf"), before.at("ZEB_FTB.dbf"));
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kEmpty2), QStringList{"2005-03-03|80.3|0|0|0|0|0"});
}

TEST_F(Maintenance, FillOverDaysThatAllHaveValuesWritesNothing)
{
    const auto before = diary.files();
    const ino_t zebFile = inode(diary.path("ZEB_ZEB.dbf"));
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_EQ(fillGaps(t.tables(), kOwn, kOwn, Everything, noProgress).value().count, 0);
    EXPECT_EQ(diary.files(), before);
    EXPECT_EQ(inode(diary.path("ZEB_ZEB.dbf")), zebFile);
}

TEST_F(Maintenance, AFillWithoutTheDayBeforeInTheDiaryIsRefusedAndChangesNothing)
{
    const auto before = diary.files();
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_EQ(fillGaps(t.tables(), QDate(2002, 1, 1), QDate(2002, 1, 5), Everything, noProgress).message(),
              "Für den 31.12.2001 gibt es keinen Tagesdatensatz im Tagebuch.\r"
              "Aktion wird nicht durchgeführt.");
    EXPECT_EQ(diary.files(), before);
}

// ----------------------------------------------------------------- compress

TEST_F(Maintenance, CompressReplacesADaysEntriesByOneSummaryAndCountsTheRemovedOnes)
{
    Result r;
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        r = compress(t.tables(), kFull, kOwn, Everything, noProgress);
    }
    EXPECT_EQ(r.count, 2 + 1 + 1 + 1);
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ntb(), kFull),
              QStringList{"2005-03-01|1|St.|Tageszusammenfassung|2400|33|40|31"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ftb(), kFull),
              QStringList{"2005-03-01|1|Tageszusammenfassung|1350"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ntb(), kOwn),
              QStringList{"2005-03-04|1|St.|Tageszusammenfassung|300|0|16|0"});
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
    const QStringList read = dbfreadContent(diary.path("ZEB_FTB.dbf"));
    EXPECT_EQ(read, (QStringList{"2005-03-01|1|Tageszusammenfassung|1350",
                                 "2005-03-04|1|Tageszusammenfassung|1900"}));
}

TEST_F(Maintenance, ACompressedOrFilledDayTakesNoWholeDayLevelBesideItsCarriedTotal)
{
    // A whole-day level among the compressed entries, and one carried by a
    // filler into the empty day after it.
    diary.activity(kFull, QStringLiteral("Grund- und Arbeitsumsatz 130%"), 10316);
    const auto namesOf = [&](QDate day) {
        QStringList names;
        for (const QString& row : rowsOf(diary.dir(), store::schema::ftb(), day))
            names << row.section(u'|', 2, 2);
        return names;
    };
    ASSERT_FALSE(activity::checkSecondDaily(namesOf(kFull)));
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        compress(t.tables(), kFull, kFull, ActivityOnly, noProgress);
        EXPECT_TRUE(fillGaps(t.tables(), kEmpty1, kEmpty1, ActivityOnly, noProgress));
    }
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ftb(), kFull),
              QStringList{"2005-03-01|1|Tageszusammenfassung|11666"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ftb(), kEmpty1),
              QStringList{"2005-03-02|1|Lückenfüller|11666"});
    for (QDate day : {kFull, kEmpty1})
        EXPECT_TRUE(activity::checkSecondDaily(namesOf(day)).message().contains("Grund- und Arbeitsumsatz"))
            << day.toString().toStdString();
    EXPECT_TRUE(activity::checkSecondDaily(namesOf(kEmpty2)));
}

TEST_F(Maintenance, CompressLeavesADayWithoutFoodEnergyAloneEvenWithEntries)
{
    diary.food(kEmpty1, QStringLiteral("Wasser"), 0, 0, 0, 0);
    diary.food(kEmpty1, QStringLiteral("Mineralwasser"), 0, 0, 0, 0);
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        EXPECT_EQ(compress(t.tables(), kEmpty1, kEmpty1, Everything, noProgress).count, 0);
    }
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::ntb(), kEmpty1).size(), 2);
}

TEST_F(Maintenance, CompressingTwiceRemovesTheSummariesOfTheFirstRun)
{
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_EQ(compress(t.tables(), kFull, kOwn, Everything, noProgress).count, 5);
    const QStringList once = contentOf(t.ntb);
    EXPECT_EQ(compress(t.tables(), kFull, kOwn, Everything, noProgress).count, 4);
    EXPECT_EQ(contentOf(t.ntb), once);
}

TEST_F(Maintenance, CompressOfFoodOnlyKeepsTheActivities)
{
    const auto before = diary.files();
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_EQ(compress(t.tables(), kFull, kFull, FoodOnly, noProgress).count, 2);
    EXPECT_EQ(diary.files().at("ZEB_FTB.dbf"), before.at("ZEB_FTB.dbf"));
}

TEST_F(Maintenance, ACompressThatRemovesNothingDoesNotRewriteTheFiles)
{
    const auto before = diary.files();
    const ino_t ntbFile = inode(diary.path("ZEB_NTB.DBF"));
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_EQ(compress(t.tables(), kEmpty1, kEmpty2, Everything, noProgress).count, 0);
    EXPECT_EQ(diary.files(), before);
    EXPECT_EQ(inode(diary.path("ZEB_NTB.DBF")), ntbFile);
}

// Another program appends an entry while the tables are open: a compress
// after it starts from the file as it is now and keeps the entry.
TEST_F(Maintenance, ACompressAfterAnotherProgramsAppendKeepsIt)
{
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    runScript(
        QStringLiteral("python3"),
        QStringLiteral("import sys, datetime, dbf\n"
                       "t = dbf.Table(sys.argv[1])\n"
                       "t.open(dbf.READ_WRITE)\n"
                       "t.append((datetime.date(2005, 3, 9), 1, 'St.', 'Von anderswo', 120, 1, 20, 2))\n"
                       "t.close()\n"),
        {diary.path("ZEB_NTB.DBF")});
    compress(t.tables(), kFull, kOwn, Everything, noProgress);
    const QStringList rows = dbfreadContent(diary.path("ZEB_NTB.DBF"));
    EXPECT_TRUE(rows.contains("2005-03-09|1|St.|Von anderswo|120|1|20|2")) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains("2005-03-01|1|St.|Tageszusammenfassung|2400|33|40|31"));
    EXPECT_TRUE(t.ntb.locate("NTBNAME", QStringLiteral("Von anderswo")));
}

TEST_F(Maintenance, ASummaryThatDoesNotFitItsFieldFailsWithoutChange)
{
    // Protein beyond the entry's four digits, booked in two halves.
    diary.food(kEmpty1, QStringLiteral("Eiweißpulver"), 900, 6000, 0, 0);
    diary.food(kEmpty1, QStringLiteral("Eiweißpulver"), 900, 6000, 0, 0);
    const auto before = diary.files();
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    EXPECT_THROW(compress(t.tables(), kFull, kOwn, Everything, noProgress), StoreError);
    EXPECT_EQ(diary.files(), before);
}

// ----------------------------------------------------------------- delete

TEST_F(Maintenance, DeleteRemovesEntriesAndNotesAndZeroesTheDayRecords)
{
    Result r;
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        r = deleteAll(t.tables(), kFull, kEmpty1, noProgress);
    }
    EXPECT_EQ(r.count, 2 + 1 + 1);
    EXPECT_EQ(r.days, 2);
    EXPECT_TRUE(rowsOf(diary.dir(), store::schema::ntb(), kFull).isEmpty());
    EXPECT_TRUE(rowsOf(diary.dir(), store::schema::xtb(), kEmpty1).isEmpty());
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kFull), QStringList{"2005-03-01|0|0|0|0|0|0"});
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::zeb(), kOwn),
              QStringList{"2005-03-04|79.9|300|0|16|0|1900"});
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), QStringList{"2005-03-04|1|St.|Apfel|300|0|16|0"});
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
}

// ----------------------------------------------------------------- after a run

TEST_F(Maintenance, TheTablesAreUsableAfterARunAndTheirFiltersShowTheDayAgain)
{
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        compress(t.tables(), kFull, kOwn, Everything, noProgress);
        t.day = kFull;
        for (store::Table* table : {&t.ntb, &t.ftb, &t.zeb}) {
            table->setFiltered(true);
            table->refresh();
        }
        EXPECT_EQ(t.ntb.dayRecords(kFull).size(), 1u);
        EXPECT_EQ(t.zeb.fieldInt("ZEBENERGIE"), 2400);
        t.ntb.insert();
        t.ntb.postFields(testing_support::foodEntry(kFull, 1.0, QStringLiteral("St."),
                                                    QStringLiteral("Apfel"), 300, 0, 16, 0));
    }
    store::Table reread(store::schema::ntb());
    reread.open(diary.dir());
    EXPECT_TRUE(reread.locate("NTBNAME", QStringLiteral("Apfel")));
}

TEST_F(Maintenance, ARecordBeingEditedIsPostedBeforeTheRun)
{
    {
        DiaryTableSet t(diary.dir());
        t.filtersOff();
        t.xtb.locate("XTBDATUM", kEmpty1);
        t.xtb.edit();
        t.xtb.setField("XTBTEXT1", QStringLiteral("Geändert."));
        deleteAll(t.tables(), kFull, kFull, noProgress);
    }
    EXPECT_EQ(rowsOf(diary.dir(), store::schema::xtb(), kEmpty1).value(0).section(u'|', 2, 2), "Geändert.");
}

TEST_F(Maintenance, ProgressIsReportedForEveryDay)
{
    DiaryTableSet t(diary.dir());
    t.filtersOff();
    std::vector<int> seen;
    deleteAll(t.tables(), kFull, kOwn, [&](int i) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

// ----------------------------------------------------------------- texts and bounds

TEST(MaintenanceTexts, PeriodsAreRefusedWhenInvertedOrReachingToday)
{
    const QDate today(2026, 12, 7);
    EXPECT_EQ(checkPeriod(today.addDays(-1), today.addDays(-2), today).message(),
              "Das Zeitintervall ist ungültig !\rAktion kann nicht durchgeführt werden.");
    EXPECT_EQ(checkPeriod(today.addDays(-5), today, today).message(),
              "Das Zeitintervall überschneidet das heutige Tagesdatum !\rAktion wird nicht durchgeführt.");
    EXPECT_TRUE(checkPeriod(today.addDays(-5), today.addDays(-1), today));
    EXPECT_TRUE(checkPeriod(today.addDays(-1), today.addDays(-1), today));
}

TEST(MaintenanceTexts, ResultMessagesGiveCountsAndShortDates)
{
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    const QDate s(2005, 3, 5), e(2006, 1, 2);
    EXPECT_EQ(fillMessage({3, 304}, s, e),
              "Es wurden 3 Datensätze zwischen 05.03.2005 und 02.01.2006 eingefügt.");
    EXPECT_EQ(compressMessage({12000, 304}, s, e),
              "Es wurden 12000 Datensätze zwischen 05.03.2005 und 02.01.2006 komprimiert.");
    EXPECT_EQ(deleteMessage({7, 304}, s, e), "Es wurden 7 Datensätze zwischen 05.03.2005 und 02.01.2006 "
                                             "gelöscht.\r304  Datensätze wurden geleert!");
}

TEST(MaintenanceTexts, TheQuestionsNameThePeriod)
{
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    const QDate s(2012, 3, 5), e(2012, 3, 10);
    EXPECT_EQ(fillQuestion(s, e), "Wollen Sie im ausgewählten Zeitraum die fehlenden Einträge automatisch "
                                  "ergänzen?\rZeitraum: 05.03.2012 – 10.03.2012");
    EXPECT_EQ(compressQuestion(s, e), "Wollen Sie wirklich alle Daten im ausgewählten Zeitraum "
                                      "komprimieren?\rZeitraum: 05.03.2012 – 10.03.2012");
    EXPECT_EQ(deleteQuestion(s, e), "Wollen Sie wirklich alle Daten im ausgewählten Zeitraum endgültig "
                                    "löschen?\rZeitraum: 05.03.2012 – 10.03.2012");
}

TEST(MaintenanceTexts, DatesFollowTheLocale)
{
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    EXPECT_EQ(fillMessage({0, 1}, QDate(2005, 3, 5), QDate(2005, 3, 5)),
              "Es wurden 0 Datensätze zwischen 3/5/2005 und 3/5/2005 eingefügt.");
}

TEST(MaintenanceBounds, DaysAreMovedIntoThePickableRange)
{
    const auto clampToDiary = [](QDate day) {
        return maintenance::clampToDiary(day, install::kOriginalRange);
    };
    EXPECT_EQ(clampToDiary(QDate(2001, 12, 31)), QDate(2002, 1, 2));
    EXPECT_EQ(clampToDiary(QDate(2002, 1, 1)), QDate(2002, 1, 2));
    EXPECT_EQ(clampToDiary(QDate(2002, 1, 2)), QDate(2002, 1, 2));
    EXPECT_EQ(clampToDiary(QDate(2012, 12, 31)), QDate(2012, 12, 31));
    EXPECT_EQ(clampToDiary(QDate(2013, 1, 1)), QDate(2012, 12, 31));
}
