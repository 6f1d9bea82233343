// The whole main window on the demo diary, once with each folder in front and
// once in kcal, saved under screenshots/ of the build folder to be looked at.

#include "install/installer.h"
#include "main/zeb6.h"
#include "support/window.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QString screenshotDir()
{
    const QString dir = QStringLiteral(KELVARA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(Screenshots, TheMainWindowOnTheDemoDiaryWithEachFolderInFront)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    writeExampleSettings(dir.path());
    Seams seams;
    platform::setToday(QDate(2006, 7, 8));
    for (bool kcal : {false, true}) {
        writeSettings(dir.path(), {{"EA", qint64(kcal ? 1 : 0)}});
        TFormMain1 window(dir.path());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (int folder = 1; folder <= 5; ++folder) {
            window.LabelOrdnerClick(folder);
            const QImage shot = window.grab().toImage();
            EXPECT_EQ(shot.size(), QSize(780, 554));
            EXPECT_TRUE(shot.save(QStringLiteral("%1/folder%2%3.png")
                                      .arg(screenshotDir())
                                      .arg(folder)
                                      .arg(kcal ? QStringLiteral("-kcal") : QString())));
            if (kcal)
                break;
        }
        window.close();
    }
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}
