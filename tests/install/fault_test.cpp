// Laying out a diary whose file calls fail, or stop as a crash or power cut
// would, at every single call in turn, with any of the folder changes not
// yet synced lost: the folder then holds no diary or the whole one, once
// the program has started (which finishes or clears what the run left), or
// once the installer has run again.

#include "install/installer.h"
#include "store/clock.h"
#include "store/error.h"
#include "store/table.h"
#include "support/faultfs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testing_support::FaultFileSystem;

namespace {

// Every file in `dir`, leftovers included, as its name and checksum.
QStringList filesIn(const QString& dir)
{
    QStringList files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(QDir(dir).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        files << name + ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
    }
    return files;
}

void layOut(const QString& dir, store::FileSystem& fs = store::posixFileSystem())
{
    install::layOutDiary(dir, install::Content::Fresh, install::kOriginalFirstYear, {}, fs);
}

} // namespace

class InstallFault : public ::testing::TestWithParam<FaultFileSystem::Mode>
{
protected:
    InstallFault() { store::setToday(QDate(2011, 7, 4)); }
    ~InstallFault() override { store::setToday({}); }
};

TEST_P(InstallFault, LeavesNoDiaryOrTheWholeOne)
{
    QTemporaryDir model;
    FaultFileSystem counting;
    layOut(model.path(), counting);
    const QStringList whole = filesIn(model.path());
    ASSERT_EQ(whole.size(), 9);
    ASSERT_GT(counting.calls(), 40);

    for (int at = 1; at <= counting.calls(); ++at) {
        std::vector<quint64> kept = {0};
        for (size_t k = 0; k < kept.size(); ++k) {
            SCOPED_TRACE("call " + std::to_string(at) + ", kept folder changes " + std::to_string(kept[k]));
            QTemporaryDir dir;
            {
                FaultFileSystem fs(GetParam(), at);
                fs.setKeptDirectoryChanges(kept[k]);
                try {
                    layOut(dir.path(), fs);
                } catch (const std::exception&) {
                }
                if (k == 0 && GetParam() == FaultFileSystem::Mode::CrashDrop) {
                    const auto sets = testing_support::keptChangeSets(fs.directoryChangesAtCrash());
                    kept.insert(kept.end(), sets.begin() + 1, sets.end());
                }
            }
            // Every other time the program starts in the folder before the
            // installer runs again.
            if (at % 2 == 0) {
                ASSERT_NO_THROW(store::finishReplacement(store::posixFileSystem(), dir.path()));
                const QStringList now = filesIn(dir.path());
                EXPECT_TRUE(now.empty() || now == whole) << now.join(' ').toStdString();
            }
            bool completed = false;
            try {
                layOut(dir.path());
            } catch (const install::InstallError& e) {
                completed = QString::fromUtf8(e.what()).contains("fertiggestellt");
            }
            EXPECT_EQ(filesIn(dir.path()), whole) << (completed ? "completed" : "laid out");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, InstallFault, ::testing::ValuesIn(testing_support::faultModes()),
                         testing_support::faultModeName);
