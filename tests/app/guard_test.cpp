// The single-instance guard between real processes.

#include "app/nichtdoppeltstarten.h"
#include "store/error.h"
#include "store/table.h"
#include "support/window.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts the program in `dir` as its working folder, on the offscreen platform.
void startProgram(QProcess& process, const QString& dir)
{
    process.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARA_BINARY_DIR "/ZEB2006.exe"), {});
}

} // namespace

TEST(Guard, OneProcessHoldsTheLockUntilItEndsHoweverItEnds)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NichtDoppeltStarten guard;
        const char held = guard.acquired() ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    {
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired());
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    NichtDoppeltStarten after;
    EXPECT_TRUE(after.acquired()) << "the system released the lock of the killed process";
    NichtDoppeltStarten again;
    EXPECT_FALSE(again.acquired());
}

TEST(Guard, ASecondProgramOpensNoTable)
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

TEST(Guard, TheProgramStartsAndEndsOnAFreshDiary)
{
    testing_support::FreshDiary diary;
    QProcess program;
    startProgram(program, diary.dir());
    ASSERT_TRUE(program.waitForStarted());
    QThread::msleep(1000);
    EXPECT_EQ(program.state(), QProcess::Running);
    // It holds its tables while it runs.
    store::Table zeb(store::schema::zeb());
    EXPECT_THROW(zeb.open(diary.dir()), store::StoreError);
    {
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired());
    }
    program.terminate();
    program.waitForFinished();
}

TEST(Guard, ANameOfItsOwnKeepsATestApartFromTheUsersCopy)
{
    NichtDoppeltStarten users;
    ASSERT_TRUE(users.acquired());
    ::setenv("KELVARA_GUARD_NAME", "kelvara-guard-test-own-name", 1);
    {
        NichtDoppeltStarten test;
        EXPECT_TRUE(test.acquired()) << "the user's copy does not stop the test";
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired()) << "one copy per name all the same";
    }
    ::setenv("KELVARA_GUARD_NAME", "", 1);
    NichtDoppeltStarten empty;
    EXPECT_FALSE(empty.acquired()) << "an empty name is the usual name";
    ::unsetenv("KELVARA_GUARD_NAME");
}
