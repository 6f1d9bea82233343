// The single-instance guard between real processes. Every test runs under a
// guard name of its own (KELVARA_GUARD_NAME), so a diary that the user has
// open on this machine never disturbs it, nor it the user's diary.

#include "app/nichtdoppeltstarten.h"
#include "store/error.h"
#include "store/table.h"
#include "support/child.h"
#include "support/window.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>

using testing_support::ReportingChild;

namespace {

// What a child taking the guard reports.
constexpr qint64 kHeld = 1;
constexpr qint64 kRefused = 2;

// The work of a child process that takes the guard, as the user `uid`
// when one is given, reports whether it got it and holds it until it is
// killed.
std::function<void(ReportingChild&)> takeGuard(std::optional<uid_t> uid = std::nullopt)
{
    return [uid](ReportingChild& self) {
        if (uid && ::setuid(*uid) != 0)
            ::_exit(1);
        NichtDoppeltStarten guard;
        self.report(guard.acquired() ? kHeld : kRefused);
        for (;;)
            ::pause();
    };
}

// Starts the program in `dir` as its working folder, on the offscreen
// platform, with the guard name of this test or with `guardName`.
void startProgram(QProcess& process, const QString& dir, const QString& guardName = QString())
{
    process.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (!guardName.isEmpty())
        env.insert("KELVARA_GUARD_NAME", guardName);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARA_BINARY_DIR "/ZEB2006.exe"), {});
}

// True when the program running on `dir` holds its tables, that is, it got
// past the guard and opened the diary.
bool tablesHeld(const QString& dir)
{
    store::Table zeb(store::schema::zeb());
    try {
        zeb.open(dir);
    } catch (const store::StoreError&) {
        return true;
    }
    return false;
}

// Waits up to `ms` for `condition`.
template <class Condition> bool within(int ms, Condition condition)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

class Guard : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("KELVARA_GUARD_NAME", ownName().toLocal8Bit()); }
    static QString ownName() { return QStringLiteral("kelvara-guard-test-%1").arg(::getpid()); }
    void TearDown() override { qunsetenv("KELVARA_GUARD_NAME"); }
};

} // namespace

TEST_F(Guard, OneProcessHoldsTheLockUntilItEndsHoweverItEnds)
{
    ReportingChild child(takeGuard());
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.readUntil(kHeld), kHeld);
    {
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired());
    }
    child.kill();
    NichtDoppeltStarten after;
    EXPECT_TRUE(after.acquired()) << "the system released the lock of the killed process";
    NichtDoppeltStarten again;
    EXPECT_FALSE(again.acquired());
}

TEST_F(Guard, TheNameCarriesTheUsersId)
{
    const std::string uid = std::to_string(::getuid());
    EXPECT_EQ(NichtDoppeltStarten::name(), ownName().toStdString() + "." + uid);
    qunsetenv("KELVARA_GUARD_NAME");
    EXPECT_EQ(NichtDoppeltStarten::name(), "ZEB2004." + uid) << "a user's copy";
    qputenv("KELVARA_GUARD_NAME", "");
    EXPECT_EQ(NichtDoppeltStarten::name(), "ZEB2004." + uid) << "an empty name counts as none";
}

TEST_F(Guard, EachUserHasACopyOfHisOwn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "taking another user's id needs root";
    ReportingChild child(takeGuard(65534)); // nobody
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.readUntil(kHeld), kHeld) << "the other user's copy starts";
    {
        NichtDoppeltStarten mine;
        EXPECT_TRUE(mine.acquired()) << "and does not keep this user's copy from starting";
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired()) << "while this user still gets only one";
    }
    child.kill();
}

TEST_F(Guard, ACopyUnderAnotherNameDoesNotStopATestCopy)
{
    testing_support::FreshDiary usersDiary;
    testing_support::FreshDiary testDiary;
    QProcess users;
    startProgram(users, usersDiary.dir(), ownName() + "-user");
    ASSERT_TRUE(users.waitForStarted());
    EXPECT_TRUE(within(10000, [&] { return tablesHeld(usersDiary.dir()); })) << "the user's copy is running";

    QProcess test;
    startProgram(test, testDiary.dir());
    ASSERT_TRUE(test.waitForStarted());
    EXPECT_TRUE(within(10000, [&] { return tablesHeld(testDiary.dir()); }))
        << "the test's copy opened its diary instead of stopping at its message";
    test.terminate();
    test.waitForFinished();
    users.terminate();
    users.waitForFinished();
}

TEST_F(Guard, ASecondProgramOpensNoTable)
{
    testing_support::FreshDiary diary;
    NichtDoppeltStarten first;
    ASSERT_TRUE(first.acquired());
    QProcess second;
    startProgram(second, diary.dir());
    ASSERT_TRUE(second.waitForStarted());
    // The second copy shows its message and waits for OK; meanwhile every
    // table stays free for the first copy.
    second.waitForFinished(1500);
    EXPECT_EQ(second.state(), QProcess::Running) << "it waits at its message";
    for (const store::TableSchema* schema : store::schema::all()) {
        store::Table table(*schema);
        EXPECT_NO_THROW(table.open(diary.dir())) << schema->fileName;
    }
    second.kill();
    second.waitForFinished();
}

TEST_F(Guard, TheProgramStartsAndEndsOnAFreshDiary)
{
    testing_support::FreshDiary diary;
    QProcess program;
    startProgram(program, diary.dir());
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_TRUE(within(10000, [&] { return tablesHeld(diary.dir()); }))
        << "it holds its tables while it runs";
    EXPECT_EQ(program.state(), QProcess::Running);
    {
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired());
    }
    program.terminate();
    program.waitForFinished();
}
