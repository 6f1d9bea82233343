// Start-up failures through the real main window and the real program: the
// message names every file as before, its details say which one failed and
// why, standard error says the same; a daily summary that is not one record
// per day is refused without a write; links among the diary's files are
// refused and files planted beside them change nothing outside the folder;
// a giant file under an address-space limit ends in the message, not in an
// abort. And sounds never hold up the window.

#include "main/zeb6.h"
#include "store/table.h"
#include "support/window.h"
#include "tools/rules/maintenance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testing_support;

namespace {

const QString kDataTablesUnopenedStart = QStringLiteral("Fataler Fehler beim Öffnen der Datenbankdateien !");

// Standard error of this process, caught in a file while it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = ::dup(2);
        ::dup2(m_file.handle(), 2);
    }
    ~StderrCapture() { restore(); }
    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

// The message box the window shows, read and closed by a timer.
struct ShownBox
{
    QString text;
    QString details;
};

QByteArray removeRecord(const QByteArray& file, int recno)
{
    const int headerLength = static_cast<unsigned char>(file[8]) | static_cast<unsigned char>(file[9]) << 8;
    const int recordLength = static_cast<unsigned char>(file[10]) | static_cast<unsigned char>(file[11]) << 8;
    QByteArray bytes = file;
    bytes.remove(headerLength + recno * recordLength, recordLength);
    const quint32 count = (static_cast<quint32>(static_cast<unsigned char>(file[4])) |
                           static_cast<quint32>(static_cast<unsigned char>(file[5])) << 8) -
                          1;
    bytes[4] = static_cast<char>(count & 0xFF);
    bytes[5] = static_cast<char>(count >> 8);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

TEST(StartFailure, TheFailingFileAndItsReasonAreTheDetailsAndGoToStandardError)
{
    FreshDiary diary;
    Seams seams;
    QFile::remove(diary.path("ZEB_XTB.dbf"));
    platform::setDialogHandler({}); // the real message box

    ShownBox shown;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.text = box->text();
            shown.details = box->detailedText();
            box->accept();
        }
    });
    timer.start(20);
    StderrCapture err;
    TFormMain1 window(diary.dir());
    timer.stop();
    EXPECT_TRUE(window.StartFehler);
    EXPECT_TRUE(shown.text.startsWith(kDataTablesUnopenedStart)) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains("ZEB_XTB.dbf\nZEB_REG.dbf\n")) << "every file named as before";
    EXPECT_EQ(shown.details, "ZEB_XTB.dbf: Datei nicht gefunden.");
    EXPECT_TRUE(err.text().contains("Kelvara: ZEB_XTB.dbf: Datei nicht gefunden.\n"));
    EXPECT_EQ(seams.sounds, std::vector<platform::Sound>{platform::Sound::Exclamation});
}

TEST(StartFailure, TheSettingsMessageGetsItsDetailsToo)
{
    FreshDiary diary;
    Seams seams;
    writeFile(diary.path("ZEB_REG.dbf"), "kein dBase");
    StderrCapture err;
    TFormMain1 window(diary.dir());
    EXPECT_TRUE(window.StartFehler);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].startsWith("Fataler Fehler beim Öffnen der Datei ZEB_REG.dbf !"));
    EXPECT_TRUE(err.text().contains("Kelvara: ZEB_REG.dbf: Datei ist beschädigt (Kopf fehlt).\n"))
        << err.text().toStdString();
}

TEST(StartFailure, ADailySummaryMissingADayIsRefusedWithoutAWrite)
{
    FreshDiary diary;
    Seams seams;
    platform::setToday(QDate(2005, 3, 5));
    writeFile(diary.path("ZEB_ZEB.dbf"), removeRecord(readFile(diary.path("ZEB_ZEB.dbf")), 1159));
    const QByteArray before = readFile(diary.path("ZEB_ZEB.dbf"));
    StderrCapture err;
    TFormMain1 window(diary.dir());
    EXPECT_TRUE(window.StartFehler);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].startsWith(kDataTablesUnopenedStart));
    const QString text = err.text();
    EXPECT_TRUE(text.contains("Kelvara: ZEB_ZEB.dbf: Datensatz 1160 gehört zum ")) << text.toStdString();
    EXPECT_EQ(readFile(diary.path("ZEB_ZEB.dbf")), before) << "nothing written to it";
}

TEST(StartFailure, DayRecordsOutOfOrderAreRefused)
{
    FreshDiary diary;
    Seams seams;
    QByteArray bytes = readFile(diary.path("ZEB_ZEB.dbf"));
    const int headerLength = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
    const int recordLength = static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11])
                                                                         << 8;
    const QByteArray a = bytes.mid(headerLength + 20 * recordLength, recordLength);
    const QByteArray b = bytes.mid(headerLength + 21 * recordLength, recordLength);
    bytes.replace(headerLength + 20 * recordLength, recordLength, b);
    bytes.replace(headerLength + 21 * recordLength, recordLength, a);
    writeFile(diary.path("ZEB_ZEB.dbf"), bytes);
    TFormMain1 window(diary.dir());
    EXPECT_TRUE(window.StartFehler);
    EXPECT_EQ(readFile(diary.path("ZEB_ZEB.dbf")), bytes);
}

// A diary folder from elsewhere with links or pipes among its files: the
// start shows message 2 naming the file and the reason (message 1 for the
// settings table, whose message it is), and what a link points to, outside
// the folder, stays as it was.
TEST(StartFailure, ALinkAmongTheDiaryFilesIsRefusedAndItsTargetKept)
{
    enum Kind { TextFile, MovedOut, Nowhere, Pipe };
    const struct
    {
        const char* name;
        Kind kind;
        const char* reason;
    } cases[] = {
        {"NRGNAME.NDX", TextFile, "Datei ist ein symbolischer Verweis"},
        {"ZEB_XTB.dbf", MovedOut, "Datei ist ein symbolischer Verweis"},
        {"ZEB_NTB.DBF", Nowhere, "Datei ist ein symbolischer Verweis"},
        {"ZEB_FTB.dbf", Pipe, "Ist keine gewöhnliche Datei"},
        {"ZEB_REG.dbf", MovedOut, "Datei ist ein symbolischer Verweis"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDiary diary;
        QTemporaryDir outside;
        const QString target = QDir(outside.path()).filePath("ziel");
        if (c.kind == TextFile)
            writeFile(target, QByteArray(330, 'x'));
        if (c.kind == MovedOut)
            ASSERT_TRUE(QFile::rename(diary.path(c.name), target));
        QFile::remove(diary.path(c.name));
        const QByteArray link = QFile::encodeName(diary.path(c.name));
        if (c.kind == Pipe)
            ASSERT_EQ(::mkfifo(link.constData(), 0644), 0);
        else
            ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), link.constData()), 0);
        const QStringList outsideBefore = QDir(outside.path()).entryList(QDir::Files);
        const QByteArray before = c.kind == TextFile || c.kind == MovedOut ? readFile(target) : QByteArray();
        Seams seams;
        StderrCapture err;
        {
            TFormMain1 window(diary.dir());
            EXPECT_TRUE(window.StartFehler);
            window.close();
        }
        const bool settings = QByteArray(c.name) == "ZEB_REG.dbf";
        ASSERT_EQ(seams.messages.size(), settings ? 2 : 1) << "the settings are saved when they were read";
        EXPECT_TRUE(seams.messages[0].startsWith(
            settings ? "Fataler Fehler beim Öffnen der Datei ZEB_REG.dbf !" : kDataTablesUnopenedStart));
        EXPECT_TRUE(err.text().contains(QStringLiteral("Kelvara: %1: %2").arg(c.name, c.reason)));
        EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), outsideBefore);
        if (!before.isEmpty())
            EXPECT_EQ(readFile(target), before);
    }
}

// Files planted beside the diary: a list of renames naming files outside,
// a link named as a new table file, a giant list. The start runs, renames
// and writes nothing outside, and a compress afterwards follows no link.
TEST(StartFailure, PlantedRenamesAndLinksChangeNothingOutsideTheFolder)
{
    QTemporaryDir outside;
    const QString victim = QDir(outside.path()).filePath("victim.txt");
    writeFile(victim, "Meine eigene Datei.\n");
    struct Case
    {
        const char* what;
        std::function<void(const FreshDiary&)> plant;
    };
    const std::vector<Case> cases = {
        {"list renaming onto a file outside",
         [&](const FreshDiary& d) {
             writeFile(d.path("planted.bin"), "planted");
             writeFile(d.path("ZEB_NEU.LST"), "planted.bin\t" + QFile::encodeName(victim) + "\n");
         }},
        {"list moving the settings out",
         [&](const FreshDiary& d) {
             writeFile(d.path("ZEB_NEU.LST"), QFile::encodeName(d.path("ZEB_REG.dbf")) + "\t../" +
                                                  QFile::encodeName(QFileInfo(outside.path()).fileName()) +
                                                  "/moved-away.dbf\n");
         }},
        {"broken link named as a new table file",
         [&](const FreshDiary& d) {
             ASSERT_EQ(::symlink(QFile::encodeName(QDir(outside.path()).filePath("created.dbf")).constData(),
                                 QFile::encodeName(d.path("ZEB_NTB.DBF.neu")).constData()),
                       0);
         }},
        {"giant sparse list that names a planted table",
         [&](const FreshDiary& d) {
             writeFile(d.path("ZEB_NTB.DBF.neu"), "kein dBase");
             QFile list(d.path("ZEB_NEU.LST"));
             ASSERT_TRUE(list.open(QIODevice::WriteOnly));
             list.write("ZEB_NTB.DBF\n");
             ASSERT_TRUE(list.resize(qint64(2) << 30));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreshDiary diary;
        setDayRecord(diary.dir(), QDate(2002, 1, 10), 80.5, 1000, 10, 20, 30, 500);
        const QByteArray settings = readFile(diary.path("ZEB_REG.dbf"));
        const QByteArray foods = readFile(diary.path("ZEB_NTB.DBF"));
        c.plant(diary);
        Seams seams;
        platform::setToday(QDate(2005, 3, 5));
        {
            TFormMain1 window(diary.dir());
            EXPECT_FALSE(window.StartFehler);
            EXPECT_EQ(readFile(diary.path("ZEB_REG.dbf")), settings);
            EXPECT_EQ(readFile(diary.path("ZEB_NTB.DBF")), foods);
            EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
            EXPECT_FALSE(QFileInfo(diary.path("ZEB_NTB.DBF.neu")).isSymLink());
            EXPECT_FALSE(QFileInfo::exists(diary.path("ZEB_NTB.DBF.neu")));
            // A compress after the start writes its new file in the folder.
            window.Dbf_NTB.setFiltered(false);
            window.Dbf_FTB.setFiltered(false);
            window.Dbf_ZEB.setFiltered(false);
            EXPECT_NO_THROW(maintenance::compress(
                {window.Dbf_NTB, window.Dbf_FTB, window.Dbf_XTB, window.Dbf_ZEB}, QDate(2002, 1, 1),
                QDate(2002, 1, 31), maintenance::Everything, [](int) {}));
            window.close();
        }
        EXPECT_FALSE(QFileInfo(diary.path("ZEB_NTB.DBF")).isSymLink());
        EXPECT_EQ(QDir(outside.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                  QStringList{"victim.txt"});
        EXPECT_EQ(readFile(victim), "Meine eigene Datei.\n");
    }
}

// The real program, its address space limited to 8 GiB as on many
// desktops, on a diary whose notes table is a sparse tebibyte: it must
// show the start-up message (and say why on standard error), not abort.
class GiantFile : public ::testing::TestWithParam<bool>
{
};

TEST_P(GiantFile, TheProgramUnderAnAddressSpaceLimitShowsTheStartMessage)
{
    const bool countToo = GetParam();
    FreshDiary diary;
    const QString notes = diary.path("ZEB_XTB.dbf");
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray head = file.read(12);
        const qint64 size = qint64(1) << 40;
        ASSERT_TRUE(file.resize(size));
        if (countToo) {
            // A header that declares as many records as the file could hold.
            const int headerLength = static_cast<unsigned char>(head[8]) | static_cast<unsigned char>(head[9])
                                                                               << 8;
            const int recordLength =
                static_cast<unsigned char>(head[10]) | static_cast<unsigned char>(head[11]) << 8;
            const quint32 count = static_cast<quint32>((size - headerLength - 1) / recordLength);
            const char bytes[4] = {char(count & 0xFF), char(count >> 8 & 0xFF), char(count >> 16 & 0xFF),
                                   char(count >> 24)};
            file.seek(4);
            file.write(bytes, 4);
        }
    }
    QProcess program;
    program.setWorkingDirectory(diary.dir());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    // A network namespace of its own gives the program a single-instance
    // lock of its own, apart from any other copy on this machine.
    const bool ownLock = QProcess::execute("unshare", {"-n", "true"}) == 0;
    const QString run =
        QStringLiteral("ulimit -v 8388608 && exec \"%1\"").arg(KELVARA_BINARY_DIR "/ZEB2006.exe");
    if (ownLock)
        program.start("unshare", {"-n", "bash", "-c", run});
    else
        program.start("bash", {"-c", run});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray err;
    while (!err.contains('\n') && program.state() == QProcess::Running) {
        program.waitForReadyRead(1000);
        err += program.readAllStandardError();
    }
    const bool stillShowing = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    err += program.readAllStandardError();
    EXPECT_TRUE(stillShowing) << "the program ended: " << err.toStdString();
    const QString expected = countToo
                                 ? "Kelvara: ZEB_XTB.dbf: Zu wenig Arbeitsspeicher, um die Datei zu lesen.\n"
                                 : "Kelvara: ZEB_XTB.dbf: Datei ist beschädigt (";
    EXPECT_TRUE(QString::fromUtf8(err).contains(expected)) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(SparseTebibyte, GiantFile, ::testing::Values(false, true), [](const auto& info) {
    return info.param ? "CountForTheWholeFile" : "ValidHeader";
});

TEST(Sounds, ASoundNeverHoldsUpTheCallerAndSoundsKeepTheirOrder)
{
    platform::setSoundRecorder({});
    std::mutex mutex;
    std::condition_variable changed;
    bool release = false;
    std::vector<platform::Sound> played;
    std::thread::id player;
    platform::setSoundPlayer([&](platform::Sound sound) {
        std::unique_lock lock(mutex);
        player = std::this_thread::get_id();
        changed.wait(lock, [&] { return release; });
        played.push_back(sound);
        changed.notify_all();
    });
    // The player is held until released: both calls must return at once.
    platform::MessageBeep(platform::Sound::Information);
    platform::MessageBeep(platform::Sound::DefaultBeep);
    {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(played.empty());
        release = true;
        changed.notify_all();
        changed.wait(lock, [&] { return played.size() == 2; });
    }
    EXPECT_EQ(played,
              (std::vector<platform::Sound>{platform::Sound::Information, platform::Sound::DefaultBeep}));
    EXPECT_NE(player, std::this_thread::get_id());
    platform::setSoundPlayer([](platform::Sound) {});
    platform::setSoundRecorder([](platform::Sound) {});
}
