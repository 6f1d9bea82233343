// What a crash, a killed process or a full disk can do to a diary, through
// the real main window: the day totals equal the day's entries whenever the
// window shows them, a sound diary is not written by a start, and a booking
// that fails leaves the diary as it was.

#include "controls/stringgrid.h"
#include "install/installer.h"
#include "main/zeb6.h"
#include "store/error.h"
#include "support/child.h"
#include "support/diary.h"
#include "support/faultfs.h"
#include "support/window.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <unistd.h>

using namespace testing_support;
using testing_support::FaultFileSystem;

namespace {

const QDate kToday(2006, 5, 17);

void addTestFoods(const QString& dir)
{
    store::Table nrg(store::schema::nrg());
    nrg.open(dir);
    for (const store::Row& row :
         {testing_support::foodItem(16, QStringLiteral("Testbrot"), 1, 1500, 2.5, 4.8, 3.5),
          testing_support::foodItem(16, QStringLiteral("Testapfel"), 3, 300, 0.4, 16.0, 0.3)}) {
        nrg.insert();
        nrg.postFields(row);
    }
}

// Every file of the diary, byte for byte.
std::map<QString, QByteArray> filesOf(const QString& dir)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files)) {
        QFile file(QDir(dir).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[name] = file.readAll();
    }
    return files;
}

// The day record's totals and the sums of the day's entries, as the
// independent reader sees the files: "energy|protein|carbohydrate|fat|fitness".
QString storedTotals(const QString& dir, QDate day)
{
    for (const QString& row : dbfreadContent(dir + "/ZEB_ZEB.dbf")) {
        if (row.startsWith(day.toString(Qt::ISODate)))
            return row.section(u'|', 2, 6);
    }
    return QStringLiteral("no day record");
}

QString summedTotals(const QString& dir, QDate day)
{
    const QString key = day.toString(Qt::ISODate);
    qint64 food[4] = {0, 0, 0, 0};
    for (const QString& row : dbfreadContent(dir + "/ZEB_NTB.DBF")) {
        const QStringList f = row.split(u'|');
        if (f[0] == key) {
            for (int i = 0; i < 4; ++i)
                food[i] += f[4 + i].toLongLong();
        }
    }
    qint64 fitness = 0;
    for (const QString& row : dbfreadContent(dir + "/ZEB_FTB.dbf")) {
        const QStringList f = row.split(u'|');
        if (f[0] == key)
            fitness += f[3].toLongLong();
    }
    return QStringLiteral("%1|%2|%3|%4|%5").arg(food[0]).arg(food[1]).arg(food[2]).arg(food[3]).arg(fitness);
}

enum class Action { Booking, Deletion };

class Reliability : public ::testing::Test
{
protected:
    Reliability() { platform::setToday(kToday); }

    std::unique_ptr<TFormMain1> start(const QString& dir, store::FileSystem& fs = store::posixFileSystem())
    {
        auto window = std::make_unique<TFormMain1>(dir, fs);
        window->SpeedButtonN[16]->click();
        return window;
    }

    static void book(TFormMain1& window, const QString& food, int symbol)
    {
        for (int r = 1; r < window.StringGridNRG->rowCount(); ++r) {
            if (window.StringGridNRG->cell(0, r) == food)
                window.StringGridNRG->selectGridRow(r);
        }
        QWidget* panel = window.PanelNTB;
        const QPoint from(28, 11 + 43 * (symbol - 1) + 20);
        const QPoint drop(200, 250);
        QTest::mousePress(panel, Qt::LeftButton, {}, from);
        QTest::mouseMove(panel, (from + drop) / 2);
        QTest::mouseMove(panel, drop);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, drop);
    }

    static QStringList dayList(TFormMain1& window)
    {
        QStringList rows;
        for (int r = 1; r < window.StringGridNTB->rowCount(); ++r)
            rows << window.StringGridNTB->cell(2, r) + "|" + window.StringGridNTB->cell(3, r);
        return rows;
    }

    // A fresh diary with the test foods and, booked through the window,
    // 100 g of bread and two apples on the day.
    void prepare(const FreshDiary& diary)
    {
        addTestFoods(diary.dir());
        auto window = start(diary.dir());
        book(*window, "Testbrot", 7);
        book(*window, "Testapfel", 7);
        ASSERT_EQ(dayList(*window), (QStringList{"Testbrot|1500", "Testapfel|600"}));
    }

    Seams seams;

    // Books 100 g of bread more, or deletes the first food entry of the day
    // by dropping it on the waste bin.
    static void act(TFormMain1& window, Action action)
    {
        if (action == Action::Booking) {
            book(window, "Testbrot", 9);
            return;
        }
        window.StringGridNTB->selectGridRow(1);
        QMimeData data;
        data.setData("application/x-kelvara-day-row", "StringGridNTB");
        QDragEnterEvent enter(QPoint(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window.PanelNahrungDelete, &enter);
        QDropEvent drop(QPointF(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window.PanelNahrungDelete, &drop);
    }

    // How many file-system calls the action makes on a prepared diary.
    int callsOf(Action action)
    {
        seams.messages.clear();
        FreshDiary diary;
        prepare(diary);
        FaultFileSystem counter;
        auto window = start(diary.dir(), counter);
        act(*window, action);
        EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(" / ").toStdString();
        return counter.calls();
    }
};

const char* nameOf(Action action)
{
    return action == Action::Booking ? "booking" : "deletion";
}

} // namespace

TEST_F(Reliability, AStartOnASoundDemoDiaryWritesNothing)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    const auto before = filesOf(dir.path());
    auto window = start(dir.path());
    EXPECT_FALSE(window->StartFehler);
    EXPECT_TRUE(filesOf(dir.path()) == before) << "a file changed";
}

TEST_F(Reliability, StaleDayTotalsAreSummedAnewAtTheStartBeforeAnythingShowsThem)
{
    FreshDiary diary;
    prepare(diary);
    {
        // What a crash between the entry and its totals leaves: the totals
        // of before the last booking.
        store::Table zeb(store::schema::zeb());
        zeb.open(diary.dir());
        ASSERT_TRUE(zeb.locate("ZEBDATUM", kToday));
        zeb.edit();
        zeb.postFields({{"ZEBGEWICHT", 81.5},
                        {"ZEBENERGIE", qint64(1500)},
                        {"ZEBPROTEIN", qint64(2)},
                        {"ZEBKOHLENH", qint64(5)},
                        {"ZEBFETT", qint64(4)},
                        {"ZEBFITNESS", qint64(7)}});
    }
    const QString sums = summedTotals(diary.dir(), kToday);
    EXPECT_EQ(sums, "2100|3|37|5|0");
    ASSERT_NE(storedTotals(diary.dir(), kToday), sums);
    const auto before = filesOf(diary.dir());

    auto window = start(diary.dir());
    EXPECT_FALSE(window->StartFehler);
    EXPECT_EQ(storedTotals(diary.dir(), kToday), sums);
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBENERGIE"), 2100) << "the current day record holds the sums";
    EXPECT_EQ(window->EditTagesgewicht->text(), QLocale().toString(81.5)) << "the weight stays";
    const auto after = filesOf(diary.dir());
    for (const auto& [name, bytes] : before) {
        if (name != "ZEB_ZEB.dbf")
            EXPECT_EQ(after.at(name), bytes) << name.toStdString();
    }
    EXPECT_EQ(after.at("ZEB_ZEB.dbf").size(), before.at("ZEB_ZEB.dbf").size());
}

// A booking is on the disk with at most two syncs: the new or changed entry
// once (an append's record count follows with the file's next sync), the
// day record once. The same holds for the next booking of the food and for
// a deletion.
TEST_F(Reliability, ABookingOrDeletionSyncsTheDiskAtMostTwice)
{
    FreshDiary diary;
    addTestFoods(diary.dir());
    FaultFileSystem counter;
    auto window = start(diary.dir(), counter);
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"a food new on the day", [&] { book(*window, "Testbrot", 7); }},
        {"the same food again", [&] { book(*window, "Testbrot", 7); }},
        {"another new food", [&] { book(*window, "Testapfel", 7); }},
        {"a deletion", [&] { act(*window, Action::Deletion); }},
    };
    for (const auto& [what, action] : actions) {
        SCOPED_TRACE(what);
        const int before = counter.syncs();
        const QStringList list = dayList(*window);
        action();
        EXPECT_NE(dayList(*window), list) << "nothing was booked";
        EXPECT_LE(counter.syncs() - before, 2);
    }
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(" / ").toStdString();
    window->close();
    window.reset();
    EXPECT_EQ(storedTotals(diary.dir(), kToday), summedTotals(diary.dir(), kToday));
}

TEST_F(Reliability, ACrashAtAnyCallOfABookingOrDeletionLeavesTotalsThatMatchAfterTheRestart)
{
    for (const Action action : {Action::Booking, Action::Deletion}) {
        const int calls = callsOf(action);
        ASSERT_GE(calls, 4) << "entry and totals, each written and synced";
        for (const auto mode : {FaultFileSystem::Mode::CrashKeep, FaultFileSystem::Mode::CrashDrop}) {
            for (int n = 1; n <= calls; ++n) {
                SCOPED_TRACE(std::string(nameOf(action)) +
                             (mode == FaultFileSystem::Mode::CrashKeep ? " kill" : " power cut") +
                             " at call " + std::to_string(n));
                FreshDiary diary;
                prepare(diary);
                {
                    FaultFileSystem fs(mode, n);
                    auto window = start(diary.dir(), fs);
                    act(*window, action);
                    EXPECT_TRUE(fs.crashed());
                }
                seams.messages.clear();
                auto restarted = start(diary.dir());
                ASSERT_FALSE(restarted->StartFehler) << seams.messages.join(" / ").toStdString();
                EXPECT_EQ(storedTotals(diary.dir(), kToday), summedTotals(diary.dir(), kToday));
            }
        }
    }
}

TEST_F(Reliability, AProcessKilledBetweenTheEntryAndItsTotalsLeavesTotalsThatMatchAfterTheRestart)
{
    for (const Action action : {Action::Booking, Action::Deletion}) {
        SCOPED_TRACE(nameOf(action));
        FreshDiary diary;
        prepare(diary);
        const QString stale = storedTotals(diary.dir(), kToday);
        testing_support::ReportingChild writer([&](testing_support::ReportingChild& self) {
            // The writer's first step, durable, then nothing: the day
            // record still holds the totals of before.
            store::Table ntb(store::schema::ntb());
            ntb.open(diary.dir());
            if (action == Action::Booking) {
                ntb.insert();
                ntb.postFields(testing_support::foodEntry(kToday, 1.0, QStringLiteral("St."),
                                                          QStringLiteral("Testapfel"), 300, 0, 16, 0));
            } else {
                ntb.setFiltered(false);
                ntb.locate("NTBNAME", QStringLiteral("Testbrot"));
                ntb.deleteRecord();
            }
            self.report(1);
            ::pause();
        });
        ASSERT_EQ(writer.readUntil(1), 1);
        writer.kill();
        ASSERT_TRUE(writer.killed());
        ASSERT_EQ(storedTotals(diary.dir(), kToday), stale);
        ASSERT_NE(summedTotals(diary.dir(), kToday), stale) << "the entries changed";

        auto window = start(diary.dir());
        ASSERT_FALSE(window->StartFehler);
        EXPECT_EQ(storedTotals(diary.dir(), kToday), summedTotals(diary.dir(), kToday));
    }
}

TEST_F(Reliability, AFullDiskAtAnyWriteOfABookingOrDeletionLeavesTheDiaryAsItWas)
{
    for (const Action action : {Action::Booking, Action::Deletion}) {
        const int calls = callsOf(action);
        for (int n = 1; n <= calls; ++n) {
            SCOPED_TRACE(std::string(nameOf(action)) + " failing at call " + std::to_string(n));
            FreshDiary diary;
            prepare(diary);
            const QStringList food = dbfreadContent(diary.path("ZEB_NTB.DBF"));
            const QStringList days = dbfreadContent(diary.path("ZEB_ZEB.dbf"));
            seams.messages.clear();
            seams.sounds.clear();
            {
                FaultFileSystem fs(FaultFileSystem::Mode::Fail, n);
                fs.setFailError(ENOSPC);
                auto window = start(diary.dir(), fs);
                const QStringList listBefore = dayList(*window);
                act(*window, action);
                ASSERT_EQ(seams.messages.size(), 1);
                EXPECT_TRUE(seams.messages[0].endsWith(": Schreibfehler (Der Datenträger ist voll)."))
                    << seams.messages[0].toStdString();
                EXPECT_EQ(dayList(*window), listBefore);
                EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBENERGIE"), 2100);
            }
            EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), food);
            EXPECT_EQ(dbfreadContent(diary.path("ZEB_ZEB.dbf")), days);
        }
    }
}
