// Pictures of the goals folder and the right-hand panel with the worked
// example filled in, saved under build/screenshots/ to be looked at.

#include "main/zeb6.h"
#include "support/window.h"

#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace testing_support;

TEST(GoalsScreenshot, TheGoalsFolderWithTheExampleAndTheScale)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"CBG", qint64(1)},
                                {"CBA", qint64(3)},
                                {"CBB", qint64(1)},
                                {"CBH", qint64(41)},
                                {"CBM", qint64(36)},
                                {"EE", QStringLiteral("9400")},
                                {"EF", QStringLiteral("70")},
                                {"EP", QStringLiteral("75")},
                                {"EK", QStringLiteral("310")}});
    platform::setToday(QDate(2008, 3, 14));
    TFormMain1 window(diary.dir());
    window.show();
    window.EditTagesgewicht->setText(QStringLiteral("83,5"));
    settle();

    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    const QImage folder = window.PanelZiele->grab().toImage();
    EXPECT_EQ(folder.size(), QSize(553, 546));
    folder.save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/goals-folder.png"));
    const QImage right = window.PanelRechts1->grab().toImage();
    right.save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/right-panel.png"));
    right.scaled(right.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .copy(0, 0, 460, 600)
        .save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/right-panel-zoomed.png"));
    window.grab().toImage().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/main-goals.png"));
    window.close();
}
