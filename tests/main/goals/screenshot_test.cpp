// Pictures of the goals folder and the right-hand panel with the worked
// example filled in, saved under build/screenshots/ to be looked at.

#include "main/draw/picture.h"
#include "main/draw/pictures/scale.h"
#include "main/goals/rules/weightrules.h"
#include "main/zeb6.h"
#include "support/window.h"

#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

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
    QTest::mousePress(window.ImageRechts1, Qt::LeftButton, {}, QPoint(52, 96));
    window.PanelRechts1->grab()
        .toImage()
        .copy(0, 0, 115, 160)
        .scaled(460, 640, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/right-panel-bmi.png"));
    QTest::mouseRelease(window.ImageRechts1, Qt::LeftButton, {}, QPoint(52, 96));
    window.close();
}

TEST(GoalsScreenshot, TheScaleWithEachNeedle)
{
    // Sixteen scales, at rest and at each reading, at twice their size.
    QImage sheet(8 * 200, 2 * 200, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(240, 240, 240));
    QPainter painter(&sheet);
    for (int tile = 0; tile <= 15; ++tile) {
        QImage one(100, 100, QImage::Format_ARGB32_Premultiplied);
        one.fill(QColor(240, 240, 240));
        QPainter p(&one);
        const QPoint offset = QPoint(5, 5) - pictures::kScaleFace;
        pictures::drawScale(p, pictures::kScaleFace + offset, tile, goals::needlePlace(tile) + offset);
        p.end();
        painter.drawImage(QRect(200 * (tile % 8), 200 * (tile / 8), 200, 200), one);
    }
    painter.end();
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    EXPECT_TRUE(sheet.save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/scale-needles.png")));
}
