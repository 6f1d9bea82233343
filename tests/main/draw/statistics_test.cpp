// The statistics folder through the real window: the chart drawn from the
// daily summary, its controls, and the read-out.

#include "install/installer.h"
#include "main/draw/picture.h"
#include "main/draw/rules/chart.h"
#include "main/zeb6.h"
#include "support/window.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2005, 3, 20);

// Weights and energies written into the daily summary before the window
// opens, by day.
void writeDays(const QString& dir, const std::vector<std::tuple<QDate, double, qint64, qint64>>& days)
{
    for (const auto& [day, kg, food, activity] : days)
        setDayRecord(dir, day, kg, food, 0, 0, 0, activity);
}

class StatisticsFolder : public ::testing::Test
{
protected:
    void open(int scrollX = 165, qint64 series = 1)
    {
        window.reset();
        store::Table reg(store::schema::reg());
        reg.open(diary.dir());
        reg.first();
        reg.edit();
        // Weeks after 2002-01-01: 165 puts the window's start on 2005-03-01.
        reg.setFields({{"NF", qint64(1)},
                       {"SF", series},
                       {"SZX", qint64(1)},
                       {"SBM1", qint64(scrollX)},
                       {"SBM2", qint64(scrollX)},
                       {"SBM3", qint64(scrollX)}});
        reg.post();
        reg.close();
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        window->LabelOrdnerClick(5);
        settle();
    }

    QImage picture() const { return window->ImageStatistik1->canvas(); }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

const QDate kStart = QDate(2002, 1, 1).addDays(7 * 165); // 2005-03-01, a Tuesday

} // namespace

TEST_F(StatisticsFolder, TheWeightDotsFollowTheGeometry)
{
    writeDays(diary.dir(), {{kStart.addDays(10), 80.0, 0, 0}, {kStart.addDays(11), 80.5, 0, 0}});
    open();
    EXPECT_EQ(window->PanelStatistikCaption->text(), "Körpergewicht in kg");
    EXPECT_EQ(window->ScrollBarStatistikX->maximum(), 4018 / 7);
    // Level 2, scroll 61: bottom 75 kg, 20 units a kg: 80 kg at row 368, 80,5 at 358.
    const QImage image = picture();
    EXPECT_EQ(image.pixelColor(10, 368), QColor(0, 0, 255)) << "the dot's blue top left";
    EXPECT_EQ(image.pixelColor(11, 369), QColor(0, 0, 128)) << "and its navy corner";
    EXPECT_EQ(image.pixelColor(11, 362).blue() > 100, true) << "the stroke between the dots";
    EXPECT_EQ(image.pixelColor(200, 29), QColor(0xC0, 0xC0, 0xC0)) << "a grid line";
    EXPECT_TRUE(window->ScrollBarStatistikY->isVisibleTo(window.get()));
}

TEST_F(StatisticsFolder, BarsAreRedAboveTheGoalAndTheBalanceSitsOnItsZeroLine)
{
    writeDays(diary.dir(), {{kStart.addDays(3), 80.0, 12000, 500}, {kStart.addDays(4), 80.0, 8000, 12000}});
    open();
    window->ComboBoxGewicht->setCurrentIndex(36);
    window->EditEnergie->setText("10000");
    window->SpeedButtonS[2]->click();
    EXPECT_EQ(window->PanelStatistikCaption->text(), "Ernährung: Energie in MJ");
    QImage image = picture();
    // Level 2: 5000 kJ per 100 units; 12000 kJ rises to row 229, the goal is row 269.
    EXPECT_EQ(image.pixelColor(3, 300), QColor(255, 0, 0)) << "above the goal: red";
    EXPECT_EQ(image.pixelColor(4, 400), QColor(0, 0, 255)) << "the next day below it: blue";
    EXPECT_EQ(image.pixelColor(200, 269), QColor(255, 0, 255)) << "goal line, fuchsia row";
    EXPECT_EQ(image.pixelColor(200, 270), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(200, 271), QColor(128, 0, 128));

    window->ComboBoxGewicht->setCurrentIndex(0);
    window->SpeedButtonS[2]->click();
    EXPECT_NE(picture().pixelColor(200, 269), QColor(255, 0, 255))
        << "no goal line while the desired weight is ?";

    window->SpeedButtonS[7]->click();
    image = picture();
    EXPECT_EQ(image.pixelColor(200, 248), QColor(255, 0, 255)) << "the zero line";
    EXPECT_EQ(image.pixelColor(3, 260), QColor(255, 0, 0)) << "more eaten than burnt falls red";
    EXPECT_EQ(image.pixelColor(4, 200), QColor(0, 0, 255)) << "more burnt rises blue";
    EXPECT_FALSE(window->ScrollBarStatistikY->isVisibleTo(window.get()));
}

TEST_F(StatisticsFolder, TheDateBandLabelsTheFirstOfEachMonth)
{
    open();
    const QImage image = picture();
    // Level 1: 2005-04-01 is day 31 of the window, its box spans x 31 ... 71.
    EXPECT_EQ(image.pixelColor(31, 478), QColor(0, 0, 0)) << "the box's left edge";
    EXPECT_EQ(image.pixelColor(61, 478), QColor(0, 0, 0)) << "the May box begins inside it";
    EXPECT_EQ(image.pixelColor(71, 478), QColor(255, 255, 255)) << "and covers its right edge";
    EXPECT_EQ(image.pixelColor(50, 469), QColor(0, 0, 0)) << "its top";
    EXPECT_EQ(image.pixelColor(50, 486), QColor(0, 0, 0)) << "its bottom";
}

TEST_F(StatisticsFolder, ZoomingRestoresThePositionOfEachLevel)
{
    open();
    EXPECT_FALSE(window->BitBtnZoomXMinus->isEnabled());
    window->ScrollBarStatistikX->setValue(100);
    window->BitBtnZoomXPlus->click();
    EXPECT_EQ(window->ZoomStufeX, 2);
    EXPECT_EQ(window->ScrollBarStatistikX->value(), 165) << "level 2 remembered its own position";
    window->ScrollBarStatistikX->setValue(200);
    window->BitBtnZoomXMinus->click();
    EXPECT_EQ(window->ScrollBarStatistikX->value(), 100);
    window->BitBtnZoomXPlus->click();
    EXPECT_EQ(window->ScrollBarStatistikX->value(), 200);
    window->BitBtnZoomXPlus->click();
    EXPECT_FALSE(window->BitBtnZoomXPlus->isEnabled());

    window->ScrollBarStatistikY->setValue(30); // weight level 2
    window->BitBtnZoomYPlus->click();
    EXPECT_EQ(window->ScrollBarStatistikY->value(), 61);
    window->ScrollBarStatistikY->setValue(80);
    window->BitBtnZoomYMinus->click();
    EXPECT_EQ(window->ScrollBarStatistikY->value(), 30);
    window->SpeedButtonS[3]->click();
    window->BitBtnZoomYPlus->click();
    EXPECT_EQ(window->ZoomStufeY[3], 3);
    EXPECT_EQ(window->ScrollBarStatistikY->value(), 30) << "other series only change their scale";
    window->close();
    window.reset();
    store::Table reg(store::schema::reg());
    reg.open(diary.dir());
    EXPECT_EQ(reg.fieldInt("SZX"), 3);
    EXPECT_EQ(reg.fieldInt("SBM1"), 100);
    EXPECT_EQ(reg.fieldInt("SBM2"), 200);
    EXPECT_EQ(reg.fieldInt("SBM5"), 30);
}

TEST_F(StatisticsFolder, TheReadOutShowsTheRawValueOfTheDayUnderThePointer)
{
    writeDays(diary.dir(), {{kStart.addDays(7), 72.5, 9000, 2000}});
    open();
    window->BitBtnGlaettenJa->click();
    EXPECT_EQ(window->Glaetten, 1);
    Picture* image = window->ImageStatistik1;
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(7, 100));
    EXPECT_EQ(window->StaticTextDatumAnzeige->text(), " 08.03.2005 / 72,5 kg");
    EXPECT_EQ(window->StaticTextDatumAnzeige->pos(), QPoint(7, 136));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(7, 100));
    EXPECT_EQ(window->StaticTextDatumAnzeige->y(), -100);

    window->SpeedButtonS[7]->click();
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(7, 440));
    EXPECT_EQ(window->StaticTextDatumAnzeige->text(), " 08.03.2005 / -7000 kJ");
    EXPECT_EQ(window->StaticTextDatumAnzeige->pos(), QPoint(7, 440));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(7, 440));

    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(8, 100)); // a day without values
    EXPECT_EQ(window->StaticTextDatumAnzeige->y(), -100);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(7, 470)); // the date band
    EXPECT_EQ(window->StaticTextDatumAnzeige->y(), -100);
    EXPECT_EQ(window->Dbf_ZEB.fieldDate("ZEBDATUM"), kToday) << "the day record is the current one again";
}

TEST_F(StatisticsFolder, ScreenshotsOfTheSevenSeriesOnTheDemoDiary)
{
    QTemporaryDir demo;
    install::layOutDiary(demo.path(), install::Content::Demo);
    platform::setToday(QDate(2008, 6, 30));
    window = std::make_unique<TFormMain1>(demo.path());
    window->ComboBoxGewicht->setCurrentIndex(41);
    window->EditEnergie->setText("9500");
    window->EditFett->setText("80");
    window->EditProtein->setText("90");
    window->EditKohlenh->setText("300");
    window->show();
    window->LabelOrdnerClick(5);
    window->ScrollBarStatistikX->setValue(310);
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    for (int series = 1; series <= 7; ++series) {
        window->SpeedButtonS[series]->click();
        settle();
        window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/chart-series%1.png").arg(series));
    }
    window->BitBtnZoomXPlus->click();
    window->BitBtnZoomXPlus->click();
    window->SpeedButtonS[1]->click();
    settle();
    window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/chart-zoom3.png"));
}

TEST_F(StatisticsFolder, ThePrintPathDrawsAtTheWholeMagnificationOfThePage)
{
    writeDays(diary.dir(), {{kStart.addDays(10), 80.0, 0, 0}});
    open();
    QImage page(1026, 974, QImage::Format_RGB32); // portrait page 1026 wide: q = 2
    page.fill(Qt::gray);
    QPainter painter(&page);
    window->ZeichneStatistik(true, &painter, QSize(1026, 2000));
    painter.end();
    EXPECT_EQ(page.pixelColor(20, 736), QColor(0, 0, 255)) << "the dot of day 10 at row 368, twice as large";
    EXPECT_EQ(page.pixelColor(23, 739), QColor(0, 0, 128));
    bool boxEdge = false; // row 17 of the chart, two device rows high around row 34
    for (int y = 32; y <= 36; ++y)
        boxEdge = boxEdge || page.pixelColor(400, y) == QColor(0, 0, 0);
    EXPECT_TRUE(boxEdge) << "the printed caption's box";
    // The value axis's frame ends in the chart's last pixel: on the page
    // its last two rows and columns, with the white axis inside.
    for (const QPoint corner : {QPoint(1024, 972), QPoint(1025, 972), QPoint(1024, 973), QPoint(1025, 973)})
        EXPECT_EQ(page.pixelColor(corner), QColor(0, 0, 0));
    EXPECT_EQ(page.pixelColor(1023, 971), QColor(255, 255, 255));
    EXPECT_EQ(window->PanelStatistikCaption->text(), "Körpergewicht in kg")
        << "the screen caption is left alone";
}

TEST_F(StatisticsFolder, AStoredSeriesOutsideTwoToSevenIsTheWeightEverywhere)
{
    writeDays(diary.dir(), {{kStart.addDays(10), 80.0, 12000, 500}});
    for (const qint64 stored : {qint64(0), qint64(9), qint64(-3)}) {
        writeSettings(diary.dir(), {{"SZY1", qint64(2)}, {"SBM5", qint64(61)}, {"SZY7", qint64(1)}});
        open(165, stored);
        SCOPED_TRACE(stored);
        EXPECT_TRUE(window->SpeedButtonS[1]->isChecked());
        for (int k = 2; k <= 7; ++k)
            EXPECT_FALSE(window->SpeedButtonS[k]->isChecked()) << k;
        EXPECT_EQ(window->PanelStatistikCaption->text(), "Körpergewicht in kg");
        EXPECT_TRUE(window->ScrollBarStatistikY->isVisibleTo(window.get()));
        EXPECT_TRUE(window->BitBtnZoomYPlus->isEnabled()) << "the weight axis is at level 2";
        EXPECT_TRUE(window->BitBtnZoomYMinus->isEnabled());
        // Level 2, scroll 61: 80 kg at row 368; the day's balance is no bar.
        const QImage image = picture();
        EXPECT_EQ(image.pixelColor(10, 368), QColor(0, 0, 255)) << "the weight dot";
        EXPECT_NE(image.pixelColor(10, 300), QColor(255, 0, 0)) << "no balance bar";
        EXPECT_EQ(image.pixelColor(200, 248), QColor(255, 255, 255)) << "no zero line";

        QTest::mousePress(window->ImageStatistik1, Qt::LeftButton, {}, QPoint(10, 100));
        EXPECT_EQ(window->StaticTextDatumAnzeige->text(), " 11.03.2005 / 80,0 kg");
        QTest::mouseRelease(window->ImageStatistik1, Qt::LeftButton, {}, QPoint(10, 100));

        // Zooming acts on the weight axis, whose position follows its level.
        window->ScrollBarStatistikY->setValue(40);
        window->BitBtnZoomYPlus->click();
        EXPECT_EQ(window->ZoomStufeY[1], 3);
        EXPECT_EQ(window->ZoomStufeY[7], 1);
        EXPECT_EQ(window->ScrollBarStatistikY->value(), 61);
        window->close();
        window.reset();
        store::Table reg(store::schema::reg());
        reg.open(diary.dir());
        EXPECT_EQ(reg.fieldInt("SF"), stored) << "the stored value is written back as it was read";
        EXPECT_EQ(reg.fieldInt("SZY1"), 3);
        EXPECT_EQ(reg.fieldInt("SBM5"), 40) << "the position of weight level 2";
    }
}

TEST(NewDiaryChart, OpensOnTheLastWeeksAtEveryZoomLevel)
{
    for (const install::Content content : {install::Content::Fresh, install::Content::Demo}) {
        SCOPED_TRACE(content == install::Content::Demo ? "demo" : "fresh");
        QTemporaryDir dir;
        install::layOutDiary(dir.path(), content);
        writeSettings(dir.path(), {{"SF", qint64(2)}});
        Seams seams;
        platform::setToday(QDate(2012, 12, 29));
        TFormMain1 window(dir.path());
        window.show();
        window.LabelOrdnerClick(5);
        settle();
        const QDate lastWeeks(2012, 12, 28);
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE(level);
            if (level > 1)
                window.BitBtnZoomXPlus->click();
            settle();
            const QDate start = QDate(2002, 1, 1).addDays(7 * window.ScrollBarStatistikX->value());
            const int s = 1 << (level - 1);
            const int x = static_cast<int>(start.daysTo(lastWeeks)) * s;
            EXPECT_GE(x, 0);
            EXPECT_LE(x, 476 - s) << "2012-12-28 is in the window";
            EXPECT_GT(x + 7 * s, 476 - s) << "in its last week";
            if (content == install::Content::Demo) {
                const QImage image = window.ImageStatistik1->canvas();
                const QColor bar = image.pixelColor(x, 466);
                EXPECT_TRUE(bar == QColor(0, 0, 255) || bar == QColor(255, 0, 0)) << "the day's food bar";
            } else {
                window.grab().save(
                    QStringLiteral(KELVARA_BINARY_DIR "/screenshots/new-diary-chart-level%1.png").arg(level));
            }
        }
        window.close();
        EXPECT_TRUE(seams.messages.isEmpty());
    }
}
