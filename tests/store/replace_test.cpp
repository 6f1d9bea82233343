// Whole tables replaced together: a crash while a start finishes a decided
// replacement, renames that fail once the replacement is decided, the
// permissions of a replaced file, and a crash that leaves no stray file.

#include "store/error.h"
#include "store/table.h"
#include "support/diary.h"
#include "support/faultfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace store;
using testing_support::contentOf;
using testing_support::FaultFileSystem;
using testing_support::kDay1;
using testing_support::kDay2;
using testing_support::SmallDiary;

namespace {

// The food diary and the notes as a restarted program reads them.
QStringList diaryContent(const QString& dir)
{
    Table ntb(schema::ntb()), xtb(schema::xtb());
    ntb.open(dir);
    xtb.open(dir);
    return contentOf(ntb) + contentOf(xtb);
}

QStringList strayFiles(const QString& dir)
{
    QStringList stray;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        bool ours = false;
        for (const char* diaryName : schema::diaryFileNames())
            ours = ours || name == QLatin1String(diaryName);
        if (!ours)
            stray << name;
    }
    return stray;
}

// The day 2 entries leave the food diary and a note is added, together.
void replaceBoth(Table& ntb, Table& xtb)
{
    TableDraft foods(ntb), notes(xtb);
    for (quint32 recno : foods.dayRecords(kDay2))
        foods.remove(recno);
    notes.append(testing_support::note(kDay2, {QStringLiteral("Ersetzt.")}));
    replaceTables({&foods, &notes});
}

// The number of the call that renames the first new table file into place,
// once the list of renames is in place.
int firstTableRename()
{
    SmallDiary probe;
    FaultFileSystem counting;
    Table ntb(schema::ntb(), counting), xtb(schema::xtb(), counting);
    ntb.open(probe.dir());
    xtb.open(probe.dir());
    replaceBoth(ntb, xtb);
    const QStringList& log = counting.log();
    const int list = log.indexOf("rename ZEB_NEU.LST");
    for (int i = list + 1; i < log.size(); ++i) {
        if (log[i].startsWith("rename "))
            return i + 1;
    }
    return -1;
}

} // namespace

// Every rename from the first table's on fails: the change is decided and
// on the disk, so it counts as made; the tables stay readable, writes wait
// for the renames, and once renames work again the next write finishes it.
TEST(Replace, RenamesFailingAfterTheDecisionDeferTheChangeAndKeepTheTablesUsable)
{
    SmallDiary undisturbed;
    const QStringList before = diaryContent(undisturbed.dir());
    {
        Table ntb(schema::ntb()), xtb(schema::xtb());
        ntb.open(undisturbed.dir());
        xtb.open(undisturbed.dir());
        replaceBoth(ntb, xtb);
    }
    const QStringList after = diaryContent(undisturbed.dir());
    ASSERT_NE(before, after);
    const int at = firstTableRename();
    ASSERT_GT(at, 0);

    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "restart" : "renames work again");
        SmallDiary diary;
        FaultFileSystem fs(FaultFileSystem::Mode::FailRenames, at);
        Table ntb(schema::ntb(), fs), xtb(schema::xtb(), fs);
        ntb.open(diary.dir());
        xtb.open(diary.dir());
        EXPECT_THROW(replaceBoth(ntb, xtb), DeferredReplacement);
        ASSERT_TRUE(ntb.isOpen() && xtb.isOpen());
        EXPECT_EQ(contentOf(ntb) + contentOf(xtb), before) << "the old files stay readable";

        // A write, and a second run, wait for the renames: they say so.
        for (const auto& write : std::vector<std::function<void()>>{
                 [&] {
                     ntb.insert();
                     ntb.postFields(testing_support::foodEntry(kDay1, 1.0, QStringLiteral("St."),
                                                               QStringLiteral("Birne"), 350));
                 },
                 [&] { replaceBoth(ntb, xtb); }}) {
            try {
                write();
                ADD_FAILURE() << "the write went to a file no longer in use";
            } catch (const DeferredReplacement&) {
                ADD_FAILURE() << "a later write is not the decided change";
            } catch (const StoreError& e) {
                EXPECT_TRUE(e.text().contains("beim nächsten Start abgeschlossen")) << e.text().toStdString();
                EXPECT_FALSE(e.text().contains("nicht geöffnet"));
            }
        }
        if (restart) {
            // The program ends; the next start completes the change.
            ntb.close();
            xtb.close();
            EXPECT_EQ(diaryContent(diary.dir()), after);
        } else {
            fs.stopFaults();
            ntb.insert();
            ntb.postFields(
                testing_support::foodEntry(kDay1, 1.0, QStringLiteral("St."), QStringLiteral("Birne"), 350));
            // The other table of the change reads its new file too.
            EXPECT_EQ(contentOf(xtb), after.mid(after.size() - contentOf(xtb).size()));
            ntb.close();
            xtb.close();
            const QStringList now = diaryContent(diary.dir());
            EXPECT_EQ(now.size(), after.size() + 1);
            EXPECT_TRUE(now.contains("2005-03-01|1|St.|Birne|350|0|0|0")) << now.join('\n').toStdString();
        }
        EXPECT_TRUE(strayFiles(diary.dir()).isEmpty()) << strayFiles(diary.dir()).join(' ').toStdString();
    }
}

// A single failed rename after the decision is tried again at once: the run
// is complete and reports no failure.
TEST(Replace, ARenameFailingOnceAfterTheDecisionIsCompletedAtOnce)
{
    SmallDiary undisturbed;
    {
        Table ntb(schema::ntb()), xtb(schema::xtb());
        ntb.open(undisturbed.dir());
        xtb.open(undisturbed.dir());
        replaceBoth(ntb, xtb);
    }
    const QStringList after = diaryContent(undisturbed.dir());
    const int at = firstTableRename();
    for (const int offset : {0, 1}) {
        SmallDiary diary;
        FaultFileSystem fs(FaultFileSystem::Mode::Fail, at + offset);
        fs.setFailError(EIO);
        Table ntb(schema::ntb(), fs), xtb(schema::xtb(), fs);
        ntb.open(diary.dir());
        xtb.open(diary.dir());
        EXPECT_NO_THROW(replaceBoth(ntb, xtb));
        EXPECT_EQ(contentOf(ntb) + contentOf(xtb), after);
        ntb.close();
        xtb.close();
        EXPECT_EQ(diaryContent(diary.dir()), after);
    }
}

// A start that finishes a decided replacement may itself be cut short by a
// power cut, with any of the folder changes since the last folder sync
// lost; and so may the next replacement after it. The diary is then the
// finished one, or the one after the next change.
class FinishingFault : public ::testing::TestWithParam<FaultFileSystem::Mode>
{
};

TEST_P(FinishingFault, TheDiaryIsFinishedOrChangedAgain)
{
    const int at = firstTableRename();
    const auto decidedButNotDone = [at](const QString& dir) {
        FaultFileSystem fs(FaultFileSystem::Mode::FailRenames, at);
        Table ntb(schema::ntb(), fs), xtb(schema::xtb(), fs);
        ntb.open(dir);
        xtb.open(dir);
        EXPECT_THROW(replaceBoth(ntb, xtb), DeferredReplacement);
    };
    const auto run = [](const QString& dir, FileSystem& fs, const std::function<void()>& returned) {
        Table ntb(schema::ntb(), fs), xtb(schema::xtb(), fs);
        ntb.open(dir);
        xtb.open(dir);
        returned();
        TableDraft foods(ntb), notes(xtb);
        for (quint32 recno : foods.dayRecords(kDay1))
            foods.remove(recno);
        notes.append(testing_support::note(kDay1.addDays(3), {QStringLiteral("Danach.")}));
        replaceTables({&foods, &notes});
        returned();
    };
    std::vector<QStringList> states;
    int calls = 0;
    for (int k = 0; k < 2; ++k) {
        SmallDiary diary;
        decidedButNotDone(diary.dir());
        FaultFileSystem counting;
        int done = -1;
        try {
            run(diary.dir(), counting, [&] {
                if (++done == k)
                    throw std::runtime_error("stop");
            });
        } catch (const std::runtime_error&) {
        }
        calls = std::max(calls, counting.calls());
        states.push_back(diaryContent(diary.dir()));
    }
    ASSERT_NE(states[0], states[1]);

    for (int call = 1; call <= calls; ++call) {
        std::vector<quint64> kept = {0};
        for (size_t k = 0; k < kept.size(); ++k) {
            SCOPED_TRACE("call " + std::to_string(call) + ", kept folder changes " + std::to_string(kept[k]));
            SmallDiary diary;
            decidedButNotDone(diary.dir());
            int returned = -1;
            {
                FaultFileSystem fs(GetParam(), call);
                fs.setKeptDirectoryChanges(kept[k]);
                try {
                    run(diary.dir(), fs, [&] { ++returned; });
                } catch (const StoreError&) {
                }
                if (k == 0 && testing_support::losesFolderChanges(GetParam())) {
                    const auto sets = testing_support::keptChangeSets(fs.directoryChangesAtCrash());
                    kept.insert(kept.end(), sets.begin() + 1, sets.end());
                }
            }
            QStringList now;
            ASSERT_NO_THROW(now = diaryContent(diary.dir()));
            const bool finished = now == states[std::max(returned, 0)];
            const bool changed = returned >= 0 && returned + 1 < 2 && now == states[returned + 1];
            EXPECT_TRUE(finished || changed) << "after " << returned << " returned steps";
            EXPECT_TRUE(strayFiles(diary.dir()).isEmpty()) << strayFiles(diary.dir()).join(' ').toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FinishingFault, ::testing::ValuesIn(testing_support::faultModes()),
                         testing_support::faultModeName);

// A diary made private stays private after a maintenance run, and a file
// owned by another user keeps its owner where we may keep it.
TEST(Replace, AReplacedTableKeepsTheModeAndOwnerOfTheFileItReplaces)
{
    const bool root = ::geteuid() == 0;
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604)}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        SmallDiary diary;
        const uid_t owner = root ? 65534 : ::getuid();
        const gid_t group = root ? 65534 : ::getgid();
        for (const char* name : {"ZEB_NTB.DBF", "ZEB_XTB.dbf", "ZEB_FTB.dbf"}) {
            ASSERT_EQ(::chmod(QFile::encodeName(diary.path(name)).constData(), mode), 0);
            ASSERT_EQ(::chown(QFile::encodeName(diary.path(name)).constData(), owner, group), 0);
        }
        {
            Table ntb(schema::ntb()), xtb(schema::xtb()), ftb(schema::ftb());
            ntb.open(diary.dir());
            xtb.open(diary.dir());
            replaceBoth(ntb, xtb);
            ftb.open(diary.dir());
            testing_support::removeEntries(ftb, kDay1, QStringLiteral("Grund- und Arbeitsumsatz 130%"));
        }
        for (const char* name : {"ZEB_NTB.DBF", "ZEB_XTB.dbf", "ZEB_FTB.dbf"}) {
            struct stat st
            {
            };
            ASSERT_EQ(::stat(QFile::encodeName(diary.path(name)).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, mode) << name;
            EXPECT_EQ(st.st_uid, owner) << name;
            EXPECT_EQ(st.st_gid, group) << name;
        }
    }
}

// A replacement of one table cut short at any call leaves no file beside
// the diary's own, and the table replaced or not.
TEST(Replace, ACrashAtAnyCallOfAReplacementLeavesOnlyTheDiarysFiles)
{
    const auto run = [](const QString& dir, FileSystem& fs) {
        Table ntb(schema::ntb(), fs);
        ntb.open(dir);
        testing_support::removeEntries(ntb, kDay1, QStringLiteral("Käse, Gouda"));
    };
    SmallDiary plain, replaced;
    FaultFileSystem counting;
    run(replaced.dir(), counting);
    const QStringList before = diaryContent(plain.dir());
    const QStringList deleted = diaryContent(replaced.dir());
    ASSERT_EQ(deleted.size(), before.size() - 1);
    ASSERT_LT(QFileInfo(replaced.path("ZEB_NTB.DBF")).size(), QFileInfo(plain.path("ZEB_NTB.DBF")).size())
        << "the record has left the file";

    for (const FaultFileSystem::Mode mode :
         {FaultFileSystem::Mode::CrashDrop, FaultFileSystem::Mode::CrashKeep}) {
        for (int at = 1; at <= counting.calls(); ++at) {
            SCOPED_TRACE("call " + std::to_string(at));
            SmallDiary diary;
            testing_support::stepsBeforeFault(mode, at,
                                              [&](FileSystem& fs, const auto&) { run(diary.dir(), fs); });
            const QStringList now = diaryContent(diary.dir());
            EXPECT_TRUE(now == deleted || now == before);
            EXPECT_TRUE(strayFiles(diary.dir()).isEmpty()) << strayFiles(diary.dir()).join(' ').toStdString();
        }
    }
}

// A list of renames left beside the diary is finished only for the files it
// names: planted new files (cut short, random bytes, another table, a
// sparse giant), a list from another copy of the diary, one with a new
// file missing, a list of a new diary's files where the table stands, or a
// list of the previous format with a damaged or missing new file replace
// nothing; list and new files are set aside, never lost.
TEST(Replace, ALeftoverListReplacesOnlyTheFilesItNames)
{
    const auto leaveDecided = [](const QString& dir) {
        FaultFileSystem fs(FaultFileSystem::Mode::FailRenames, firstTableRename());
        Table ntb(schema::ntb(), fs), xtb(schema::xtb(), fs);
        ntb.open(dir);
        xtb.open(dir);
        EXPECT_THROW(replaceBoth(ntb, xtb), DeferredReplacement);
    };
    SmallDiary other, model;
    const QStringList before = diaryContent(model.dir());
    // Another copy of the diary, whose food diary has since lost its end mark.
    QFile(other.path("ZEB_NTB.DBF")).resize(QFileInfo(other.path("ZEB_NTB.DBF")).size() - 1);
    leaveDecided(other.dir());
    const QByteArray ftb = model.read("ZEB_FTB.dbf"), oldList = "ZEB_NTB.DBF\nZEB_XTB.dbf\n";
    const struct
    {
        const char* what;
        std::vector<std::pair<const char*, QByteArray>> planted;
        bool finished = false;
    } cases[] = {
        {"own run", {}, true},
        {"previous format", {{"ZEB_NEU.LST", oldList}}, true},
        {"another copy's list and files", {{"ZEB_NEU.LST", other.read("ZEB_NEU.LST")},
                                           {"ZEB_NTB.DBF.neu", other.read("ZEB_NTB.DBF.neu")},
                                           {"ZEB_XTB.dbf.neu", other.read("ZEB_XTB.dbf.neu")}}},
        {"new file cut in half", {{"ZEB_NTB.DBF.neu", ftb.left(ftb.size() / 2)}}},
        {"random bytes", {{"ZEB_NTB.DBF.neu", QByteArray(3000, '\x5a')}}},
        {"another table", {{"ZEB_NTB.DBF.neu", ftb}}},
        {"sparse giant", {{"ZEB_NTB.DBF.neu", "giant"}}},
        {"a new file missing", {{"ZEB_XTB.dbf.neu", {}}}},
        {"a new diary's list naming a table that stands", {{"ZEB_NEU.LST", "as new"}}},
        {"previous format, damaged", {{"ZEB_NEU.LST", oldList}, {"ZEB_NTB.DBF.neu", ftb}}},
        {"previous format, three tables and two files", {{"ZEB_NEU.LST", oldList + "ZEB_FTB.dbf\n"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDiary diary;
        leaveDecided(diary.dir());
        for (auto [name, bytes] : c.planted) {
            if (bytes == "as new") {
                // The decided list's first table, named as a new diary's
                // file that was not there.
                QList<QByteArray> line = diary.read(name).split('\n')[1].split('\t');
                std::fill(line.begin() + 1, line.begin() + 5, "-");
                bytes = "KELVARA-ERSETZUNG 2\n" + line.join('\t') + '\n';
            }
            bytes.isEmpty() ? (void)QFile::remove(diary.path(name)) : diary.write(name, bytes);
            if (bytes == "giant")
                QFile(diary.path(name)).resize(qint64(2) << 30);
        }
        const QStringList aside = finishReplacement(posixFileSystem(), diary.dir());
        EXPECT_EQ(diaryContent(diary.dir()) == before, !c.finished) << aside.join(' ').toStdString();
        EXPECT_EQ(aside.isEmpty() ? "" : aside.back(), c.finished ? "" : "ZEB_NEU.LST → ZEB_NEU.LST.beiseite");
        EXPECT_EQ(QFile::exists(diary.path("ZEB_NEU.LST.beiseite")), !c.finished);
        EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
    }
}

// A table or folder made read-only while the program runs: a run is refused
// before it writes, saying what cannot be written; where the system lets it
// write all the same (as root), the table keeps its read-only mode.
TEST(Replace, ARunOnAReadOnlyTableOrFolderIsRefusedOrKeepsTheMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "taking another user's id needs root";
    for (const uid_t user : {uid_t(65534), uid_t(0)}) {
        for (const char* target : {"ZEB_NTB.DBF", "."}) {
            SCOPED_TRACE(std::string(target) + ", user " + std::to_string(user));
            SmallDiary diary;
            for (const QString& name : QDir(diary.dir()).entryList(QDir::AllEntries | QDir::NoDotDot))
                ::chown(QFile::encodeName(QDir(diary.dir()).filePath(name)).constData(), user, -1);
            Table ntb(schema::ntb());
            ntb.open(diary.dir());
            ::chmod(QFile::encodeName(QDir(diary.dir()).filePath(target)).constData(), *target == '.' ? 0555 : 0444);
            ASSERT_EQ(::seteuid(user), 0);
            try {
                testing_support::removeEntries(ntb, kDay1, QStringLiteral("Käse, Gouda"));
                EXPECT_EQ(user, 0u) << "not refused";
            } catch (const StoreError& e) {
                EXPECT_TRUE(user != 0 && e.text().contains("kann nicht beschrieben werden")) << e.text().toStdString();
            }
            ASSERT_EQ(::seteuid(0), 0);
            EXPECT_EQ(bool(QFileInfo(diary.path("ZEB_NTB.DBF")).permissions() & QFile::WriteOwner), *target == '.');
        }
    }
}
