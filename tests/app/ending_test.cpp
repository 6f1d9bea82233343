// The real program's traces: a sound leaves no file in the home folder and
// no noise on standard error, also on a machine without a sound card. (A
// signal that ends the program at a start-up message acts as its OK.)

#include "support/window.h"
#include "support/wait.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using testing_support::within;

namespace {

// The program in `diary`, offscreen, with a guard and a home folder of its
// own and the user's settings folders left out.
void startProgram(QProcess& process, const QString& diary, const QString& home, const QString& runtime)
{
    process.setWorkingDirectory(diary);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KELVARA_GUARD_NAME", QStringLiteral("kelvara-ending-test-%1").arg(::getpid()));
    env.insert("HOME", home);
    env.insert("XDG_RUNTIME_DIR", runtime);
    for (const char* name : {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARA_BINARY_DIR "/ZEB2006.exe"), {});
}

// Every file below `dir`.
QStringList filesBelow(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

} // namespace

// A start-up failure sounds the exclamation; the program is ended at its
// message by a signal, after which every sound asked for has been played.
TEST(Traces, ASoundWritesNothingAtHomeAndNothingOnStandardError)
{
    testing_support::FreshDiary diary;
    QFile::remove(diary.path("ZEB_XTB.dbf"));
    QTemporaryDir home;
    QTemporaryDir runtime;
    QProcess program;
    startProgram(program, diary.dir(), home.path(), runtime.path());
    ASSERT_TRUE(program.waitForStarted());
    QByteArray err;
    ASSERT_TRUE(within(60000, [&] {
        program.waitForReadyRead(20);
        err += program.readAllStandardError();
        return err.contains("Kelvara: ZEB_XTB.dbf") || program.state() != QProcess::Running;
    })) << err.toStdString();
    ASSERT_EQ(program.state(), QProcess::Running) << "it shows its message";
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    err += program.readAllStandardError();
    EXPECT_FALSE(err.contains("ALSA")) << err.toStdString();
    const QStringList written = filesBelow(home.path());
    EXPECT_TRUE(written.isEmpty()) << "written in the home folder: " << written.join(u' ').toStdString();
}
