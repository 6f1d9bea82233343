// The single-instance guard between real processes. Every test runs under a
// guard name of its own (KELVARA_GUARD_NAME), so a diary that the user has
// open on this machine never disturbs it, nor it the user's diary; and each
// runs with a runtime folder of the user's own ($XDG_RUNTIME_DIR) and
// without one.

#include "app/nichtdoppeltstarten.h"
#include "store/error.h"
#include "store/table.h"
#include "support/child.h"
#include "support/window.h"
#include "support/wait.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using testing_support::ReportingChild;

using testing_support::within;

namespace {

// What a child taking the guard reports.
constexpr qint64 kHeld = 1;
constexpr qint64 kRefused = 2;

constexpr uid_t kNobody = 65534;

// The work of a child process that takes the guard, as the user `uid`
// when one is given, reports whether it got it and holds it until it is
// killed.
std::function<void(ReportingChild&)> takeGuard(std::optional<uid_t> uid = std::nullopt)
{
    return [uid](ReportingChild& self) {
        if (uid && (::setgid(*uid) != 0 || ::setuid(*uid) != 0))
            ::_exit(1);
        NichtDoppeltStarten guard;
        self.report(guard.acquired() ? kHeld : kRefused);
        for (;;)
            ::pause();
    };
}

// The work of a squatter: as `uid` (when one is given), it binds the
// abstract socket name `abstractName` and holds an flock on each file of
// `files`, reports kHeld when it holds all, and waits to be killed.
std::function<void(ReportingChild&)> squat(const std::string& abstractName,
                                           const std::vector<std::string>& files, std::optional<uid_t> uid)
{
    return [=](ReportingChild& self) {
        if (uid && (::setgid(*uid) != 0 || ::setuid(*uid) != 0))
            ::_exit(1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
        bool all = ::bind(sock, reinterpret_cast<const sockaddr*>(&address), size) == 0;
        for (const std::string& file : files) {
            const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0666);
            all = all && fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        }
        self.report(all ? kHeld : kRefused);
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
// past the guard and opened the diary. The locks are read from /proc/locks:
// trying to take one would, for an instant, keep the program from opening
// the table itself.
bool tablesHeld(const QString& dir)
{
    struct stat st{};
    if (::stat(QFile::encodeName(QDir(dir).filePath("ZEB_ZEB.dbf")).constData(), &st) != 0)
        return false;
    const std::string file = QStringLiteral("%1:%2:%3")
                                 .arg(major(st.st_dev), 2, 16, QLatin1Char('0'))
                                 .arg(minor(st.st_dev), 2, 16, QLatin1Char('0'))
                                 .arg(st.st_ino)
                                 .toStdString();
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : locks.readAll().split('\n'))
        for (const QByteArray& word : line.simplified().split(' '))
            if (word.toStdString() == file)
                return true;
    return false;
}

// Each test with a runtime folder of the user's own and without one.
class Guard : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_hadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        qputenv("KELVARA_GUARD_NAME", ownName().toLocal8Bit());
        if (GetParam()) {
            ASSERT_TRUE(m_runtime.isValid());
            ::chmod(QFile::encodeName(m_runtime.path()).constData(), 0700);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }
    void TearDown() override
    {
        qunsetenv("KELVARA_GUARD_NAME");
        if (m_hadRuntime)
            qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    static QString ownName() { return QStringLiteral("kelvara-guard-test-%1").arg(::getpid()); }
    bool runtimeFolder() const { return GetParam(); }

    QTemporaryDir m_runtime;

private:
    QByteArray m_savedRuntime;
    bool m_hadRuntime = false;
};

std::string paramName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "WithRuntimeFolder" : "WithoutRuntimeFolder";
}

// The tests about the runtime folder itself.
class OwnRuntimeFolder : public Guard
{
};

} // namespace

TEST_P(Guard, OneProcessHoldsTheLockUntilItEndsHoweverItEnds)
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
    EXPECT_EQ(after.place(),
              runtimeFolder() ? NichtDoppeltStarten::lockFilePath() : "@" + NichtDoppeltStarten::name());
}

TEST_P(Guard, TheNameCarriesTheUsersId)
{
    const std::string uid = std::to_string(::getuid());
    EXPECT_EQ(NichtDoppeltStarten::name(), ownName().toStdString() + "." + uid);
    if (runtimeFolder()) {
        EXPECT_EQ(NichtDoppeltStarten::lockFilePath(), QFile::encodeName(m_runtime.path()).toStdString() +
                                                           "/" + NichtDoppeltStarten::name() + ".lock");
    } else {
        EXPECT_EQ(NichtDoppeltStarten::lockFilePath(), "");
    }
    qunsetenv("KELVARA_GUARD_NAME");
    EXPECT_EQ(NichtDoppeltStarten::name(), "ZEB2004." + uid) << "a user's copy";
    qputenv("KELVARA_GUARD_NAME", "");
    EXPECT_EQ(NichtDoppeltStarten::name(), "ZEB2004." + uid) << "an empty name counts as none";
}

TEST_P(Guard, EachUserHasACopyOfHisOwn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "taking another user's id needs root";
    ReportingChild child(takeGuard(kNobody));
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

// Another local user (or, without root, another program) takes the socket
// name and a lock file of the guard's name in a folder everybody may write
// before the user starts: with a runtime folder of the user's own, the
// user's copy starts all the same, and a second copy is still refused.
TEST_P(OwnRuntimeFolder, ALockTakenByAnotherUserElsewhereDoesNotKeepTheUserOut)
{
    QTemporaryDir elsewhere;
    ::chmod(QFile::encodeName(elsewhere.path()).constData(), 0777);
    const std::string planted =
        QFile::encodeName(elsewhere.path()).toStdString() + "/" + NichtDoppeltStarten::name() + ".lock";
    const std::optional<uid_t> other = ::geteuid() == 0 ? std::optional<uid_t>(kNobody) : std::nullopt;
    ReportingChild squatter(squat(NichtDoppeltStarten::name(),
                                  {planted, "/tmp/" + NichtDoppeltStarten::name() + ".lock"}, other));
    ASSERT_TRUE(squatter.started());
    ASSERT_EQ(squatter.readUntil(kHeld), kHeld) << "the squatter holds the socket name and the files";
    {
        NichtDoppeltStarten mine;
        EXPECT_TRUE(mine.acquired()) << "the user's copy starts";
        ReportingChild second(takeGuard());
        EXPECT_EQ(second.readUntil(kRefused), kRefused) << "a second copy of the user is refused";
        second.kill();
    }
    squatter.kill();
    ::unlink(("/tmp/" + NichtDoppeltStarten::name() + ".lock").c_str());
}

// A runtime folder that others may write, or that is not the user's own
// folder, could hold a lock file planted by someone else: it is not used.
TEST_P(OwnRuntimeFolder, ARuntimeFolderOthersCouldWriteIsNotUsed)
{
    const QByteArray dir = QFile::encodeName(m_runtime.path());
    QTemporaryDir linkParent;
    const QByteArray link = QFile::encodeName(linkParent.filePath("runtime"));
    ASSERT_EQ(::symlink(dir.constData(), link.constData()), 0);
    const struct
    {
        const char* what;
        mode_t mode;
        std::optional<uid_t> owner;
        bool throughLink;
    } cases[] = {
        {"open for everybody", 0777, std::nullopt, false},
        {"open for the group", 0770, std::nullopt, false},
        {"a link to the user's folder", 0700, std::nullopt, true},
        {"another user's folder", 0700, kNobody, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.owner && ::geteuid() != 0)
            continue;
        ASSERT_EQ(::chmod(dir.constData(), c.mode), 0);
        ASSERT_EQ(::chown(dir.constData(), c.owner.value_or(::geteuid()), -1), 0);
        qputenv("XDG_RUNTIME_DIR", c.throughLink ? link : dir);
        EXPECT_EQ(NichtDoppeltStarten::lockFilePath(), "");
        NichtDoppeltStarten guard;
        EXPECT_TRUE(guard.acquired());
        EXPECT_EQ(guard.place(), "@" + NichtDoppeltStarten::name());
    }
    ::chown(dir.constData(), ::geteuid(), -1);
    ::chmod(dir.constData(), 0700);
}

TEST_P(Guard, ACopyUnderAnotherNameDoesNotStopATestCopy)
{
    testing_support::FreshDiary usersDiary;
    testing_support::FreshDiary testDiary;
    QProcess users;
    startProgram(users, usersDiary.dir(), ownName() + "-user");
    ASSERT_TRUE(users.waitForStarted());
    EXPECT_TRUE(within(60000, [&] { return tablesHeld(usersDiary.dir()); })) << "the user's copy is running";

    QProcess test;
    startProgram(test, testDiary.dir());
    ASSERT_TRUE(test.waitForStarted());
    EXPECT_TRUE(within(60000, [&] { return tablesHeld(testDiary.dir()); }))
        << "the test's copy opened its diary instead of stopping at its message";
    test.terminate();
    test.waitForFinished();
    users.terminate();
    users.waitForFinished();
}

TEST_P(Guard, ASecondProgramOpensNoTable)
{
    testing_support::FreshDiary diary;
    NichtDoppeltStarten first;
    ASSERT_TRUE(first.acquired());
    QProcess second;
    startProgram(second, diary.dir());
    ASSERT_TRUE(second.waitForStarted());
    // The second copy says on standard error that it stops, shows its
    // message and waits for OK; meanwhile every table stays free for the
    // first copy.
    QByteArray err;
    EXPECT_TRUE(within(60000, [&] {
        second.waitForReadyRead(20);
        err += second.readAllStandardError();
        return err.contains("läuft bereits") || second.state() != QProcess::Running;
    }));
    EXPECT_TRUE(err.contains("\"Kelvara\" läuft bereits !")) << err.toStdString();
    EXPECT_TRUE(err.contains(first.place().c_str())) << "it names the lock: " << err.toStdString();
    EXPECT_EQ(second.state(), QProcess::Running) << "it waits at its message";
    for (const store::TableSchema* schema : store::schema::all()) {
        store::Table table(*schema);
        EXPECT_NO_THROW(table.open(diary.dir())) << schema->fileName;
    }
    second.kill();
    second.waitForFinished();
}

TEST_P(Guard, TheProgramStartsAndEndsOnAFreshDiary)
{
    testing_support::FreshDiary diary;
    QProcess program;
    startProgram(program, diary.dir());
    ASSERT_TRUE(program.waitForStarted());
    EXPECT_TRUE(within(60000, [&] { return tablesHeld(diary.dir()); }))
        << "it holds its tables while it runs";
    EXPECT_EQ(program.state(), QProcess::Running);
    {
        NichtDoppeltStarten second;
        EXPECT_FALSE(second.acquired());
    }
    program.terminate();
    program.waitForFinished();
}

// A second copy on the same diary with another guard (another runtime
// folder, user or session) stops at the message and opens no window.
TEST_P(Guard, ASecondCopyOnTheSameDiaryStopsWhateverItsGuard)
{
    testing_support::FreshDiary diary;
    QProcess first, second;
    startProgram(first, diary.dir());
    ASSERT_TRUE(within(60000, [&] { return tablesHeld(diary.dir()); }));
    startProgram(second, diary.dir(), ownName() + "-elsewhere");
    QByteArray err;
    EXPECT_TRUE(within(60000, [&] {
        second.waitForReadyRead(20);
        return (err += second.readAllStandardError()).contains("läuft bereits !");
    }));
    EXPECT_TRUE(err.contains("ZEB_REG.dbf")) << "it names the diary's lock: " << err.toStdString();
    second.kill();
    first.kill();
    second.waitForFinished();
    first.waitForFinished();
}

// Something else at the lock file's path is told as what it is.
TEST_P(OwnRuntimeFolder, SomethingElseAtTheLockPathIsToldAsWhatItIs)
{
    const std::string path = NichtDoppeltStarten::lockFilePath();
    const bool root = ::geteuid() == 0;
    const std::vector<std::pair<std::function<int()>, std::string>> cases = {
        {[&] { return ::symlink("/nirgends", path.c_str()); }, "ist ein symbolischer Verweis"},
        {[&] { return ::mkdir(path.c_str(), 0700); }, "ist ein Ordner"},
        {[&] { return ::mkfifo(path.c_str(), 0600); }, "ist keine gewöhnliche Datei"},
        {[&] { return ::close(::creat(path.c_str(), 0600)) | (root ? ::chown(path.c_str(), kNobody, 0) : 0); },
         root ? "gehört einem anderen Benutzer" : ""},
    };
    for (const auto& [plant, problem] : cases) {
        ::unlink(path.c_str());
        ::rmdir(path.c_str());
        ASSERT_EQ(plant(), 0) << problem;
        const NichtDoppeltStarten guard;
        EXPECT_EQ(guard.acquired(), problem.empty());
        EXPECT_EQ(guard.problem(), problem);
    }
}

INSTANTIATE_TEST_SUITE_P(RuntimeFolder, Guard, ::testing::Bool(), paramName);
INSTANTIATE_TEST_SUITE_P(RuntimeFolder, OwnRuntimeFolder, ::testing::Values(true), paramName);
