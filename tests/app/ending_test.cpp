// The real program's end from outside and its traces: SIGTERM and SIGHUP
// (a logout, `kill`) end it as its end button does, the settings written;
// during a start-up message such a signal acts as its OK. A sound leaves no
// file in the home folder and no noise on standard error, also on a machine
// without a sound card.

#include "store/dbfformat.h"
#include "store/error.h"
#include "store/table.h"
#include "support/window.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

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

template <class Condition> bool within(int ms, Condition condition)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// True while the program holds its tables.
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

// Sets the text of the settings field `name` in the file itself, behind the
// back of the program that holds it open.
void overwriteSetting(const QString& path, const char* name, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray image = file.readAll();
    const store::dbf::Header header = store::dbf::parseHeader(image, QStringLiteral("ZEB_REG.dbf"));
    for (const store::dbf::FieldLayout& field : header.fields) {
        if (field.name == name) {
            file.seek(header.headerLength + field.offset);
            file.write(text.leftJustified(field.width, ' ', true));
            return;
        }
    }
    FAIL() << name;
}

QString setting(const QString& dir, const char* name)
{
    store::Table reg(store::schema::reg());
    reg.open(dir);
    reg.first();
    return reg.fieldText(name).trimmed();
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

class EndSignal : public ::testing::TestWithParam<int>
{
};

// The program's settings record is changed by another program while it
// runs: after the signal the record holds the program's settings again,
// which only its normal close writes.
TEST_P(EndSignal, EndsTheProgramAsItsEndButtonDoes)
{
    testing_support::FreshDiary diary;
    QTemporaryDir home;
    QTemporaryDir runtime;
    QProcess program;
    startProgram(program, diary.dir(), home.path(), runtime.path());
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(within(60000, [&] { return tablesHeld(diary.dir()); }));
    overwriteSetting(diary.path("ZEB_REG.dbf"), "EF", "77");
    ::kill(static_cast<pid_t>(program.processId()), GetParam());
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(setting(diary.dir(), "EF"), "0") << "the settings were written at the end";
}

INSTANTIATE_TEST_SUITE_P(Signals, EndSignal, ::testing::Values(SIGTERM, SIGHUP),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Hangup"; });

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
