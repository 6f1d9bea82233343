// A diary the system does not let the program write, started through the
// real main window: the message names the folder, or the one file, that
// cannot be written and says the entries are kept, instead of the message
// for damaged files that advises reinstalling. Nothing is written.

#include "main/zeb6.h"
#include "support/window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// While alive, the calling thread obeys file permissions even as root,
// which otherwise writes any file whatever its mode.
class PermissionsApply
{
public:
    PermissionsApply()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, m_saved, sizeof lowered);
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            lowered[cap / 32].effective &= ~(1u << (cap % 32));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~PermissionsApply()
    {
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

// While alive, `dir` is a read-only mount for the calling thread, in a mount
// namespace of its own (a private copy of the system's, which the thread
// keeps: threads it starts meanwhile share it, so it cannot go back);
// mounted() is false where the system does not allow that (it needs the
// right to administer mounts).
class ReadOnlyMount
{
public:
    explicit ReadOnlyMount(const QString& dir) : m_path(QFile::encodeName(dir))
    {
        if (::unshare(CLONE_NEWNS) != 0)
            return;
        m_mounted =
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
            ::mount(nullptr, m_path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyMount()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

enum class Way { FolderAndFilesReadOnly, OneDataFileReadOnly, SettingsFileReadOnly, ReadOnlyFileSystem };

struct Case
{
    const char* name;
    Way way;
    const char* named; // the file named, or nullptr for the folder
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class ReadOnlyDiary : public ::testing::TestWithParam<Case>
{
};

QByteArray contentOfFolder(const QString& dir)
{
    QByteArray all;
    for (const QString& name : QDir(dir).entryList(QDir::Files, QDir::Name)) {
        QFile file(QDir(dir).filePath(name));
        file.open(QIODevice::ReadOnly);
        all += name.toUtf8() + '\0' + file.readAll();
    }
    return all;
}

} // namespace

TEST_P(ReadOnlyDiary, TheStartNamesWhatCannotBeWrittenAndKeepsTheDiary)
{
    const Case& c = GetParam();
    FreshDiary diary;
    Seams seams;
    const QByteArray before = contentOfFolder(diary.dir());
    const QByteArray dir = QFile::encodeName(diary.dir());
    const auto setMode = [&](const char* name, mode_t mode) {
        ASSERT_EQ(::chmod(name ? QFile::encodeName(diary.path(name)).constData() : dir.constData(), mode), 0);
    };
    switch (c.way) {
    case Way::FolderAndFilesReadOnly:
        for (const QString& name : QDir(diary.dir()).entryList(QDir::Files))
            setMode(name.toLatin1().constData(), 0444);
        setMode(nullptr, 0555);
        break;
    case Way::OneDataFileReadOnly:
    case Way::SettingsFileReadOnly:
        setMode(c.named, 0444);
        break;
    case Way::ReadOnlyFileSystem:
        break;
    }

    {
        const PermissionsApply permissions;
        const std::optional<ReadOnlyMount> mount =
            c.way == Way::ReadOnlyFileSystem ? std::make_optional<ReadOnlyMount>(diary.dir()) : std::nullopt;
        if (mount && !mount->mounted())
            GTEST_SKIP() << "no read-only mount allowed here";
        TFormMain1 window(diary.dir());
        EXPECT_TRUE(window.StartFehler);
    }
    setMode(nullptr, 0755);

    ASSERT_EQ(seams.messages.size(), 1);
    const QStringList lines = seams.messages[0].split(u'\r');
    const QString shown = c.named ? QFileInfo(diary.path(c.named)).absoluteFilePath()
                                  : QFileInfo(diary.dir()).absoluteFilePath();
    EXPECT_EQ(lines[0],
              QStringLiteral("%1 „%2“ kann nicht beschrieben werden.")
                  .arg(c.named ? QStringLiteral("Die Datei") : QStringLiteral("Der Ordner"), shown));
    EXPECT_EQ(lines.contains(QStringLiteral("Der Datenträger ist schreibgeschützt.")),
              c.way == Way::ReadOnlyFileSystem);
    EXPECT_TRUE(lines.contains(QStringLiteral("Die Tagebucheinträge sind unverändert erhalten.")));
    EXPECT_FALSE(seams.messages[0].contains(QStringLiteral("neu installieren")));
    EXPECT_EQ(seams.sounds, std::vector<platform::Sound>{platform::Sound::Exclamation});
    EXPECT_EQ(contentOfFolder(diary.dir()), before) << "nothing written";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ReadOnlyDiary,
    ::testing::Values(Case{"FolderAndFilesReadOnly", Way::FolderAndFilesReadOnly, nullptr},
                      Case{"OneDataFileReadOnly", Way::OneDataFileReadOnly, "ZEB_XTB.dbf"},
                      Case{"SettingsFileReadOnly", Way::SettingsFileReadOnly, "ZEB_REG.dbf"},
                      Case{"ReadOnlyFileSystem", Way::ReadOnlyFileSystem, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });
