#include "install/installer.h"
#include "store/clock.h"
#include "store/table.h"
#include "support/diary.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace store;
using install::kLastDemoDay;
const QDate kFirstDay = install::kOriginalRange.first;
const QDate kLastDay = install::kOriginalRange.last;

namespace {

QProcess* runInstaller(const QStringList& args)
{
    auto* process = new QProcess;
    process->start(QStringLiteral(KELVARA_INSTALLER), args);
    process->waitForFinished(120000);
    return process;
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(Installer, LaysOutAFreshDiary)
{
    QTemporaryDir parent;
    const QString dir = parent.filePath("Tagebuch/neu");
    std::unique_ptr<QProcess> run(runInstaller({dir}));
    ASSERT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    EXPECT_EQ(filesIn(dir), (QStringList{"AKTNAME.NDX", "NRGNAME.NDX", "ZEB_AKT.dbf", "ZEB_FTB.dbf", "ZEB_NRG.dbf",
                                         "ZEB_NTB.DBF", "ZEB_REG.dbf", "ZEB_XTB.dbf", "ZEB_ZEB.dbf"}));

    Table zeb(schema::zeb());
    zeb.open(dir);
    EXPECT_EQ(zeb.recordCount(), kFirstDay.daysTo(kLastDay) + 1);
    QDate expected = kFirstDay;
    for (zeb.first(); !zeb.eof(); zeb.next()) {
        ASSERT_EQ(zeb.fieldDate("ZEBDATUM"), expected);
        ASSERT_EQ(zeb.fieldDouble("ZEBGEWICHT") + zeb.fieldInt("ZEBENERGIE") + zeb.fieldInt("ZEBPROTEIN") +
                      zeb.fieldInt("ZEBKOHLENH") + zeb.fieldInt("ZEBFETT") + zeb.fieldInt("ZEBFITNESS"),
                  0);
        expected = expected.addDays(1);
    }
    EXPECT_EQ(expected, kLastDay.addDays(1));

    for (const TableSchema* s : {&schema::ntb(), &schema::ftb(), &schema::xtb()}) {
        Table t(*s);
        t.open(dir);
        EXPECT_EQ(t.recordCount(), 0) << s->fileName;
    }

    Table reg(schema::reg());
    reg.open(dir);
    EXPECT_EQ(reg.recordCount(), 1);
    const std::map<const char*, qint64> defaults = {
        {"NF", 1},    {"SF", 1},    {"SZX", 1},  {"SBM1", 506}, {"SBM2", 540}, {"SBM3", 557}, {"AF", 0},
        {"SZY1", 2},  {"SBM4", 61}, {"SBM5", 61}, {"SBM6", 61}, {"SZY2", 2},   {"SZY7", 2},   {"SG", 0},
        {"CBG", 0},   {"CBA", 0},   {"CBB", 0},  {"CBH", 0},    {"CBM", 0},    {"EA", 0}};
    for (const auto& [field, value] : defaults)
        EXPECT_EQ(reg.fieldInt(field), value) << field;
    for (const char* field : {"EE", "EF", "EP", "EK"})
        EXPECT_EQ(reg.fieldText(field), "0") << field;

    // An independent reader sees the same day records and settings.
    const QString days = testing_support::runScript(
        "python3",
        "import sys, dbfread\n"
        "t = list(dbfread.DBF(sys.argv[1] + '/ZEB_ZEB.dbf'))\n"
        "r = list(dbfread.DBF(sys.argv[1] + '/ZEB_REG.dbf'))[0]\n"
        "print(len(t), t[0]['ZEBDATUM'], t[-1]['ZEBDATUM'], r['SBM1'], r['SBM2'], r['SBM3'], r['SZY1'], r['EE'])\n",
        {dir});
    EXPECT_EQ(days.trimmed(), "4018 2002-01-01 2012-12-31 506 540 557 2 0");
}

// Any eleven years the date fields hold, as an independent reader reads
// them; other years are refused, no folder made.
TEST(Installer, LaysOutTheElevenYearsFromAFirstYear)
{
    const QString refusal = "Das erste Jahr des Tagebuchs muss eine Jahreszahl von 1900 bis 9989 sein";
    const std::pair<QString, QString> cases[] = {{"2026", "4018 2026-01-01 2036-12-31"},
                                                 {"9989", "4017 9989-01-01 9999-12-31"},
                                                 {"1899", refusal},
                                                 {"zwei", refusal}};
    QTemporaryDir parent;
    for (const auto& [year, out] : cases) {
        const QString dir = parent.filePath(year);
        std::unique_ptr<QProcess> run(runInstaller({"--first-year", year, dir}));
        const QString script = "import sys, dbfread\nt = list(dbfread.DBF(sys.argv[1]))\n"
                               "print(len(t), t[0]['ZEBDATUM'], t[-1]['ZEBDATUM'])\n";
        EXPECT_TRUE((run->exitCode() ? QString::fromUtf8(run->readAllStandardError())
                                     : testing_support::runScript("python3", script, {dir + "/ZEB_ZEB.dbf"}))
                        .startsWith(out));
        EXPECT_EQ(QDir(dir).exists(), run->exitCode() == 0) << year.toStdString();
    }
    std::unique_ptr<QProcess> demo(runInstaller({"--demo", "--first-year", "2026", parent.filePath("demo")}));
    EXPECT_EQ(demo->exitCode(), 2) << "the demo diary keeps its years";
}

// Laid out on the day the program's clock tells, each kind of diary is the
// same bytes at any hour, and the same as the installer has always written.
TEST(Installer, LaysOutTheSameBytesOnTheSameDay)
{
    store::setToday(QDate(2011, 7, 4));
    const struct
    {
        install::Content content;
        int firstYear;
        const char* sha256;
    } cases[] = {
        {install::Content::Fresh, 2002, "999eb38e517334871b3dcc4be6ad3a48101075dd020323c3882803bf2b26e820"},
        {install::Content::Demo, 2002, "b3e2b56780d8b2e95a0da6da16bb091232877015c56efae84cbd1cbe7586edbf"},
        {install::Content::Fresh, 2026, "700d54fabf986b5b364943d60241d4780fb3aceef422a38e7c54b55b6d654b29"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        install::layOutDiary(dir.path(), c.content, c.firstYear,
                             c.firstYear == 2002 ? QDate() : store::today());
        QCryptographicHash all(QCryptographicHash::Sha256);
        for (const QString& name : filesIn(dir.path())) {
            QFile file(QDir(dir.path()).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            all.addData(name.toUtf8() + '\n' + file.readAll());
        }
        EXPECT_EQ(all.result().toHex().toStdString(), c.sha256) << c.firstYear;
    }
    store::setToday({});
}

TEST(Installer, RefusesAFolderThatHoldsADiaryFileAndTouchesNothing)
{
    QTemporaryDir dir;
    QFile existing(dir.filePath("zeb_ntb.dbf"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("meine Daten");
    existing.close();

    std::unique_ptr<QProcess> run(runInstaller({dir.path()}));
    EXPECT_EQ(run->exitCode(), 1);
    EXPECT_TRUE(run->readAllStandardError().contains("zeb_ntb.dbf"));
    EXPECT_EQ(filesIn(dir.path()), QStringList{"zeb_ntb.dbf"});
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "meine Daten");

    std::unique_ptr<QProcess> usage(runInstaller({}));
    EXPECT_EQ(usage->exitCode(), 2);
}

TEST(Installer, TheDemoDiaryIsUsedEveryDayWithTotalsEqualToItsEntries)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);

    struct Sums
    {
        qint64 energy = 0, protein = 0, carbohydrate = 0, fat = 0, fitness = 0;
        std::set<QString> foods, activities;
        int foodEntries = 0, activityEntries = 0;
    };
    std::map<qint64, Sums> days;
    Table ntb(schema::ntb());
    ntb.open(dir.path());
    for (ntb.first(); !ntb.eof(); ntb.next()) {
        Sums& s = days[ntb.fieldDate("NTBDATUM").toJulianDay()];
        s.energy += ntb.fieldInt("NTBENERGIE");
        s.protein += ntb.fieldInt("NTBPROTEIN");
        s.carbohydrate += ntb.fieldInt("NTBKOHLENH");
        s.fat += ntb.fieldInt("NTBFETT");
        s.foods.insert(ntb.fieldText("NTBNAME"));
        ++s.foodEntries;
        ASSERT_GT(ntb.fieldDouble("NTBMENGE"), 0);
    }
    Table ftb(schema::ftb());
    ftb.open(dir.path());
    for (ftb.first(); !ftb.eof(); ftb.next()) {
        Sums& s = days[ftb.fieldDate("FTBDATUM").toJulianDay()];
        s.fitness += ftb.fieldInt("FTBENERGIE");
        s.activities.insert(ftb.fieldText("FTBNAME"));
        ++s.activityEntries;
    }

    Table zeb(schema::zeb());
    zeb.open(dir.path());
    double firstWeight = 0, lastWeight = 0;
    int notes = 0;
    for (zeb.first(); !zeb.eof(); zeb.next()) {
        const QDate day = zeb.fieldDate("ZEBDATUM");
        SCOPED_TRACE(day.toString(Qt::ISODate).toStdString());
        const Sums& s = days[day.toJulianDay()];
        if (day > kLastDemoDay) {
            ASSERT_EQ(zeb.fieldDouble("ZEBGEWICHT"), 0);
            ASSERT_EQ(s.foodEntries, 0);
            continue;
        }
        const double weight = zeb.fieldDouble("ZEBGEWICHT");
        ASSERT_GE(weight, 40);
        ASSERT_LE(weight, 150);
        if (lastWeight > 0)
            ASSERT_LT(std::abs(weight - lastWeight), 1.5) << "the weight drifts slowly";
        firstWeight = firstWeight > 0 ? firstWeight : weight;
        lastWeight = weight;
        ASSERT_GE(s.foodEntries, 10);
        ASSERT_LE(s.foodEntries, 20);
        ASSERT_EQ(static_cast<int>(s.foods.size()), s.foodEntries) << "one entry per name and day";
        ASSERT_GE(s.activityEntries, 1);
        ASSERT_LE(s.activityEntries, 3);
        ASSERT_EQ(static_cast<int>(s.activities.size()), s.activityEntries);
        ASSERT_EQ(zeb.fieldInt("ZEBENERGIE"), std::min<qint64>(s.energy, 99999));
        ASSERT_EQ(zeb.fieldInt("ZEBPROTEIN"), s.protein);
        ASSERT_EQ(zeb.fieldInt("ZEBKOHLENH"), s.carbohydrate);
        ASSERT_EQ(zeb.fieldInt("ZEBFETT"), s.fat);
        ASSERT_EQ(zeb.fieldInt("ZEBFITNESS"), s.fitness);
    }
    Table xtb(schema::xtb());
    xtb.open(dir.path());
    for (xtb.first(); !xtb.eof(); xtb.next()) {
        ++notes;
        ASSERT_FALSE(xtb.fieldText("XTBTEXT1").isEmpty());
    }
    EXPECT_GT(notes, 400);
    EXPECT_LT(notes, 2000);
}

TEST(Installer, IndependentReadersReadTheDemoDiaryAsWeDo)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    for (const TableSchema* s : schema::all()) {
        SCOPED_TRACE(s->fileName);
        Table table(*s);
        table.open(dir.path());
        const QStringList ours = testing_support::contentOf(table);
        const QString path = QDir(dir.path()).filePath(s->fileName);
        if (!s->indexFileName) {
            EXPECT_EQ(testing_support::dbfreadContent(path), ours);
            continue;
        }
        QStringList theirs = testing_support::dbfreadContent(path);
        QStringList sorted = ours;
        theirs.sort();
        sorted.sort();
        EXPECT_EQ(theirs, sorted);
        QStringList names;
        for (table.first(); !table.eof(); table.next())
            names << table.fieldText(s->indexField);
        EXPECT_EQ(testing_support::xbaseIndexOrder(path, QDir(dir.path()).filePath(s->indexFileName), s->indexField),
                  names);
    }
}

// The chart of a new diary opens on the diary's last weeks at every zoom
// level of the time axis: its window of 477, 239 or 120 days, starting
// 7 * SBMz days after the first day, ends with the last days before
// 2012-12-29; one week less would leave 2012-12-28 out.
TEST(Installer, TheChartOpensOnTheLastWeeksOfTheDiary)
{
    for (const install::Content content : {install::Content::Fresh, install::Content::Demo}) {
        QTemporaryDir dir;
        install::layOutDiary(dir.path(), content);
        Table reg(schema::reg());
        reg.open(dir.path());
        Table zeb(schema::zeb());
        zeb.open(dir.path());
        const QDate lastWeeks(2012, 12, 28);
        const int days[] = {0, 477, 239, 120};
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE(level);
            const qint64 position = reg.fieldInt(QStringLiteral("SBM%1").arg(level).toLatin1().constData());
            EXPECT_LE(position, zeb.recordCount() / 7) << "within the scroll bar";
            const QDate first = kFirstDay.addDays(7 * position);
            const QDate last = first.addDays(days[level] - 1);
            EXPECT_GE(last, lastWeeks);
            EXPECT_LT(last.addDays(-7), lastWeeks);
        }
        EXPECT_EQ(reg.fieldInt("SBM4"), 61) << "the weight axis keeps its middle position";
    }
}
