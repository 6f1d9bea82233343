// A maintenance run whose file calls fail, or stop as a crash would, at
// every single call in turn (a power cut losing any of the folder changes
// not yet synced); and a process killed while it runs a
// whole-diary compress or delete. Afterwards every table opens, the diary
// as a whole is in its state before the run or after it, and the day
// totals equal the sums of the entries.

#include "support/child.h"
#include "support/faultfs.h"
#include "tools/maintenance_support.h"

#include "install/installer.h"
#include "store/clock.h"
#include "store/error.h"
#include "support/diary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace maintenance;
using namespace testing_support;
using store::StoreError;

namespace {

using Files = std::map<QString, QByteArray>;
using Run = std::function<void(DiaryTables)>;

const QDate kFull{2005, 3, 1};
const QDate kOwn{2005, 3, 4};

void noProgress(int) {}

struct NamedRun
{
    const char* name;
    Run run;
};

std::vector<NamedRun> runs()
{
    return {
        {"fill",
         [](DiaryTables t) {
             fillGaps(t, kFull.addDays(1), kOwn.addDays(2), Everything, noProgress).value();
         }},
        {"compress", [](DiaryTables t) { compress(t, kFull, kOwn, Everything, noProgress); }},
        {"delete", [](DiaryTables t) { deleteAll(t, kFull, kOwn.addDays(1), noProgress); }},
    };
}

// A small diary with entries on two days, a weight and a note.
const BookedDiary& sample()
{
    static BookedDiary diary = [] {
        BookedDiary d;
        d.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
        d.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
        d.activity(kFull, QStringLiteral("Walking"), 1350);
        d.weight(kFull, 80.3);
        d.food(kOwn, QStringLiteral("Apfel"), 300, 0, 16, 0);
        d.activity(kOwn, QStringLiteral("Radfahren"), 1900);
        d.note(kOwn, QStringLiteral("Notiz"));
        return d;
    }();
    return diary;
}

Files filesOf(const QString& dir)
{
    Files bytes;
    for (const char* name : {"ZEB_NTB.DBF", "ZEB_FTB.dbf", "ZEB_XTB.dbf", "ZEB_ZEB.dbf"}) {
        QFile file(QDir(dir).filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        bytes[QString::fromLatin1(name)] = file.readAll();
    }
    return bytes;
}

// Opens the four tables as a restarted program would and reads the files.
Files reopened(const QString& dir)
{
    {
        DiaryTableSet t(dir);
    }
    return filesOf(dir);
}

QStringList leftovers(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("*.neu"), QStringLiteral("*.LST")}, QDir::Files);
}

} // namespace

// The files are compared byte for byte, header dates included: on the
// clock's one day, whatever the hour.
class FaultDuringRun : public ::testing::TestWithParam<FaultFileSystem::Mode>
{
protected:
    FaultDuringRun() { store::setToday(QDate(2011, 7, 4)); }
    ~FaultDuringRun() override { store::setToday({}); }
};

TEST_P(FaultDuringRun, TheDiaryIsBeforeOrAfterTheRunAndConsistent)
{
    for (const NamedRun& r : runs()) {
        SCOPED_TRACE(r.name);
        const Files before = filesOf(sample().dir());
        Files after;
        int calls = 0;
        {
            QTemporaryDir dir;
            copyDiary(sample().dir(), dir.path());
            FaultFileSystem counting;
            {
                DiaryTableSet t(dir.path(), counting);
                t.filtersOff();
                r.run(t.tables());
            }
            calls = counting.calls();
            after = filesOf(dir.path());
        }
        ASSERT_NE(after, before);
        ASSERT_GT(calls, 8);

        for (int at = 1; at <= calls; ++at) {
            // A power cut also loses folder changes not yet synced: all of
            // them, then (for one crash mode) each set of them in turn.
            std::vector<quint64> kept = {0};
            for (size_t k = 0; k < kept.size(); ++k) {
                SCOPED_TRACE("call " + std::to_string(at) + ", kept folder changes " +
                             std::to_string(kept[k]));
                QTemporaryDir dir;
                copyDiary(sample().dir(), dir.path());
                {
                    FaultFileSystem fs(GetParam(), at);
                    fs.setKeptDirectoryChanges(kept[k]);
                    DiaryTableSet t(dir.path(), fs);
                    t.filtersOff();
                    bool threw = false;
                    try {
                        r.run(t.tables());
                    } catch (const StoreError&) {
                        threw = true;
                    }
                    // A single failed call after the run was decided is tried
                    // again: the run completes.
                    EXPECT_TRUE(threw || GetParam() == FaultFileSystem::Mode::Fail);
                    if (k == 0 && GetParam() == FaultFileSystem::Mode::CrashDrop) {
                        const auto sets = keptChangeSets(fs.directoryChangesAtCrash());
                        kept.insert(kept.end(), sets.begin() + 1, sets.end());
                    }
                    if (GetParam() == FaultFileSystem::Mode::Fail && t.ntb.isOpen()) {
                        // Still open means in step with its file: a booking made
                        // now must be found after a restart.
                        t.ntb.insert();
                        t.ntb.postFields(testing_support::foodEntry(kOwn, 1.0, QStringLiteral("St."),
                                                                    QStringLiteral("Nachher"), 0));
                    }
                }
                const Files now = reopened(dir.path());
                if (GetParam() == FaultFileSystem::Mode::Fail) {
                    store::Table ntb(store::schema::ntb());
                    ntb.open(dir.path());
                    testing_support::removeEntries(ntb, kOwn, QStringLiteral("Nachher"));
                }
                const Files state = filesOf(dir.path());
                EXPECT_TRUE(state == before || state == after);
                EXPECT_TRUE(totalsMismatches(dir.path()).isEmpty());
                EXPECT_TRUE(leftovers(dir.path()).isEmpty()) << leftovers(dir.path()).join(' ').toStdString();
                // Running the same operation again completes it.
                {
                    FaultFileSystem undisturbed;
                    DiaryTableSet t(dir.path(), undisturbed);
                    t.filtersOff();
                    r.run(t.tables());
                }
                EXPECT_EQ(filesOf(dir.path()), after);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FaultDuringRun, ::testing::ValuesIn(faultModes()), faultModeName);

// ----------------------------------------------------------------- killed

namespace {

// The real file system, telling a watching process the number of each call
// before it makes it.
class ReportingFileSystem : public store::FileSystem
{
public:
    explicit ReportingFileSystem(ReportingChild& child) : m_child(child) {}
    std::unique_ptr<store::File> open(const QString& path, bool exclusive) override
    {
        return real().open(path, exclusive);
    }
    std::unique_ptr<store::File> create(const QString& path) override
    {
        report();
        return real().create(path);
    }
    void rename(const QString& from, const QString& to) override
    {
        report();
        real().rename(from, to);
    }
    void remove(const QString& path) override
    {
        report();
        real().remove(path);
    }
    void syncDirectory(const QString& dir) override
    {
        report();
        real().syncDirectory(dir);
    }
    store::FileStatus status(const QString& path) override { return real().status(path); }
    QStringList list(const QString& dir) override { return real().list(dir); }

private:
    static store::FileSystem& real() { return store::posixFileSystem(); }
    void report() { m_child.report(++m_calls); }
    ReportingChild& m_child;
    int m_calls = 0;
};

const BookedDiary& demo()
{
    static BookedDiary diary(true);
    return diary;
}

const QDate kDemoFirst{2002, 1, 2};
const QDate kDemoLast = install::kLastDemoDay;

// Runs `run` on the diary in `dir` in a child process and kills it once it
// has begun file call `killAt` (0: when `delayUs` has passed). Returns
// whether the child was killed before it ended.
bool runAndKill(const QString& dir, const Run& run, int killAt, int delayUs)
{
    ReportingChild child([&](ReportingChild& self) {
        ReportingFileSystem fs(self);
        DiaryTableSet t(dir, fs);
        t.filtersOff();
        run(t.tables());
    });
    EXPECT_TRUE(child.started());
    if (killAt > 0)
        child.readUntil(killAt);
    else
        ::usleep(delayUs);
    child.kill();
    EXPECT_FALSE(child.failed()) << "the run failed on its own";
    return child.killed();
}

void killAtManyInstants(const Run& run)
{
    const Files before = filesOf(demo().dir());
    ASSERT_TRUE(totalsMismatches(demo().dir()).isEmpty());

    // An undisturbed run for the state after it, its file calls and time.
    Files after;
    int calls = 0;
    qint64 durationUs = 0;
    {
        QTemporaryDir dir;
        copyDiary(demo().dir(), dir.path());
        FaultFileSystem counting;
        QElapsedTimer clock;
        clock.start();
        {
            DiaryTableSet t(dir.path(), counting);
            t.filtersOff();
            run(t.tables());
        }
        durationUs = clock.nsecsElapsed() / 1000;
        calls = counting.calls();
        after = filesOf(dir.path());
    }

    int killed = 0;
    // At each file call of the replacement, then at even steps in time.
    std::vector<std::pair<int, int>> instants;
    for (int at = 1; at <= calls; ++at)
        instants.push_back({at, 0});
    for (int i = 0; i < 8; ++i)
        instants.push_back({0, static_cast<int>(durationUs * i / 8)});
    for (const auto& [at, delay] : instants) {
        SCOPED_TRACE("call " + std::to_string(at) + ", " + std::to_string(delay) + " us");
        QTemporaryDir dir;
        copyDiary(demo().dir(), dir.path());
        killed += runAndKill(dir.path(), run, at, delay) ? 1 : 0;
        Files state;
        ASSERT_NO_THROW(state = reopened(dir.path()));
        EXPECT_TRUE(state == before || state == after);
        EXPECT_TRUE(totalsMismatches(dir.path()).isEmpty());
    }
    EXPECT_GT(killed, calls / 2);
}

} // namespace

TEST(KilledDuringRun, AWholeDiaryCompressLeavesTheDiaryBeforeOrAfter)
{
    killAtManyInstants([](DiaryTables t) { compress(t, kDemoFirst, kDemoLast, Everything, noProgress); });
}

TEST(KilledDuringRun, AWholeDiaryDeleteLeavesTheDiaryBeforeOrAfter)
{
    killAtManyInstants([](DiaryTables t) { deleteAll(t, kDemoFirst, kDemoLast, noProgress); });
}
