// The signs of the real main window: the day bars drawn against the goals,
// their read-outs under the mouse in both display units, and the pictures
// they are made of.

#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/zeb6.h"
#include "support/locale.h"
#include "support/window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;
namespace piece = pictures::balken;

namespace {

const QDate kDay(2006, 7, 8);

const QColor kBlue(0, 0, 255), kRed(255, 0, 0), kFuchsia(255, 0, 255), kWhite(255, 255, 255), kBlack(0, 0, 0),
    kGrey(128, 128, 128), kLime(0, 255, 0), kSilver(192, 192, 192), kNavy(0, 0, 128), kPurple(128, 0, 128),
    kYellow(255, 255, 0), kGreen(0, 128, 0), kTeal(0, 128, 128);

void setDay(const QString& dir, double weight, qint64 energie, qint64 fitness, qint64 fett, qint64 protein,
            qint64 kohlenh)
{
    setDayRecord(dir, kDay, weight, energie, protein, kohlenh, fett, fitness);
}

class Signs : public ::testing::Test
{
    testing_support::LocaleScope m_locale{QLocale(QLocale::German, QLocale::Germany)};

protected:
    void SetUp() override
    {
        platform::setToday(kDay);
        setDay(diary.dir(), 80, 9494, 2977, 86, 78, 281);
        writeSettings(diary.dir(), {{"EE", QStringLiteral("9200")},
                                    {"EF", QStringLiteral("70")},
                                    {"EP", QStringLiteral("80")},
                                    {"EK", QStringLiteral("300")},
                                    {"CBH", qint64(41)}});
    }

    void open(bool kcal = false)
    {
        writeSettings(diary.dir(), {{"EA", qint64(kcal ? 1 : 0)}});
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QColor at(int x, int y) const { return window->ImageRechts1->canvas().pixelColor(x, y); }

    // Presses and releases a button at a point of the right-hand picture;
    // returns the read-out's text and place while the button was down.
    std::pair<QString, QPoint> press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint point(664 + 8 + x, y);
        QTest::mousePress(window->windowHandle(), button, {}, point);
        const auto shown = std::pair{window->StaticTextAnzeige->text(), window->StaticTextAnzeige->pos()};
        const bool visible = shown.second.x() >= 0;
        QTest::mouseRelease(window->windowHandle(), button, {}, point);
        EXPECT_EQ(window->StaticTextAnzeige->x(), -100) << "parked again on release";
        return visible ? shown : std::pair{QString(), QPoint(-100, 0)};
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(Signs, BarsAgainstTheGoals)
{
    open();
    // Food 9494 kJ = 37 units against 9200 kJ = 36: over, red, the mark in it.
    EXPECT_EQ(at(11, 288), kRed);
    EXPECT_EQ(at(13, 252), kFuchsia);
    EXPECT_EQ(at(11, 251), kSilver) << "the empty trough above";
    EXPECT_EQ(at(9, 253), kBlack);
    EXPECT_EQ(at(13, 254), kGrey);
    EXPECT_EQ(at(11, 255), kRed);
    // Activity 2977 kJ = 11 units, green whatever the goals.
    EXPECT_EQ(at(65, 278), kLime);
    EXPECT_EQ(at(65, 277), kWhite);
    // Fat 86 g = 34 units over 70 g = 28: the red tube with the mark at 28.
    EXPECT_EQ(at(46, 334), kRed);
    EXPECT_EQ(at(47, 334), kSilver);
    EXPECT_EQ(at(39, 333), kBlack);
    EXPECT_EQ(at(40, 337), kGrey);
    // Protein 78 g = 31 units under 80 g = 32: blue; the mark covers the
    // last two units of a 32-unit bar.
    EXPECT_EQ(at(42, 384), kBlue);
    EXPECT_EQ(at(42, 382), kNavy);
    EXPECT_EQ(at(43, 384), kBlack);
    EXPECT_EQ(at(44, 386), kGrey);
    // Carbohydrate 281 g = 28 units under 300 g = 30.
    EXPECT_EQ(at(40, 436), kBlue);
    EXPECT_EQ(at(41, 436), kBlack);
}

TEST_F(Signs, FullTubesGoalsAtTheValueAndGoalsThatAreNoNumber)
{
    open();
    window->Dbf_ZEB.edit();
    window->Dbf_ZEB.setField("ZEBENERGIE", qint64(21250));
    window->Dbf_ZEB.setField("ZEBFETT", qint64(70));
    window->Dbf_ZEB.post();
    window->EditEnergie->setText(QStringLiteral("30000"));
    window->ZeichneBalken();
    // 85 units fill the tube; 120 goal units: blue and no mark.
    EXPECT_EQ(at(11, 204), kBlue);
    EXPECT_EQ(at(9, 204), kNavy);
    // Fat exactly at its goal is over it.
    EXPECT_EQ(at(20, 334), kRed);

    window->EditEnergie->setText(QStringLiteral("21250"));
    window->EditFett->setText(QString());
    window->ZeichneBalken();
    EXPECT_EQ(at(11, 204), kRed) << "85 units at a goal of 85";
    EXPECT_NE(at(9, 205), kBlack) << "no mark at 85";
    // An empty goal counts as one unit: the mark at the start, the bar red.
    EXPECT_EQ(at(12, 333), kBlack);
    EXPECT_EQ(at(20, 334), kRed);

    // A day without totals: empty troughs only.
    window->Dbf_ZEB.edit();
    window->Dbf_ZEB.setFields(diary::totalFields({}));
    window->Dbf_ZEB.post();
    window->ZeichneBalken();
    EXPECT_EQ(at(11, 288), kSilver);
    EXPECT_EQ(at(12, 288), kWhite);
    EXPECT_EQ(at(20, 337), kWhite);
}

TEST_F(Signs, ReadoutsInKilojoules)
{
    open();
    EXPECT_EQ(press(14, 250), std::pair(QString(" 9494 kJ"), QPoint(19, 268)));
    EXPECT_EQ(press(65, 203, Qt::RightButton).first, " 2977 kJ");
    EXPECT_EQ(press(65, 203).second, QPoint(50, 221));
    EXPECT_EQ(press(11, 331).first, " 86 g ");
    EXPECT_EQ(press(50, 391).first, " 78 g ");
    const auto [carbohydrate, place] = press(94, 444);
    EXPECT_EQ(carbohydrate, " 281 g ");
    EXPECT_EQ(place.y(), 462);
    EXPECT_LE(place.x() + window->StaticTextAnzeige->width(), 115) << "inside the panel";
    // Between the areas nothing shows.
    EXPECT_EQ(press(40, 250).first, "");
    EXPECT_EQ(press(50, 360).first, "");
}

TEST_F(Signs, ReadoutsInKilocalories)
{
    open(true);
    EXPECT_EQ(press(14, 289).first, " 2268 kcal"); // 2267.6
    EXPECT_EQ(press(70, 289).first, " 711 kcal");  // 711.04
    EXPECT_EQ(press(50, 380).first, " 78 g ");
}

TEST_F(Signs, BodyMassIndexAtTheScaleCentre)
{
    open();
    EXPECT_EQ(window->EditTagesgewicht->text(), "80");
    EXPECT_EQ(press(52, 96), std::pair(QString(" BMI 24,7"), QPoint(57, 114)));
    EXPECT_EQ(press(57, 102).second, QPoint(42, 120));
    window->ComboBoxHoehe->setCurrentIndex(0);
    EXPECT_EQ(press(52, 96).first, "");
}

TEST_F(Signs, TheDisplayUnitChoosesTheTubeMarksAndUnits)
{
    const auto tubeRegion = [](const QImage& canvas) { return canvas.copy(20, 202, 31, 103); };
    open(false);
    const QImage kj = tubeRegion(window->ImageRechts1->canvas());
    window->AnzeigeKcal = true;
    window->ZeichneSchilder();
    const QImage kcal = tubeRegion(window->ImageRechts1->canvas());
    EXPECT_NE(kj, kcal);

    // The kcal tube frame drawn at its place, as the list holds it.
    QImage expected(45, 45, QImage::Format_RGB32);
    expected.fill(window->palette().color(QPalette::Button));
    QPainter(&expected).drawImage(0, 0, window->ImageList45x45.image(22));
    EXPECT_EQ(window->ImageRechts1->canvas().copy(6 + 13, 202, 32, 45), expected.copy(13, 0, 32, 45));
}

TEST_F(Signs, EdgeLines)
{
    open();
    const QImage top = window->ImageOben1->pixmap().toImage();
    EXPECT_EQ(top.size(), QSize(600, 3));
    EXPECT_EQ(top.pixelColor(300, 0), kBlack);
    EXPECT_EQ(top.pixelColor(300, 1), kWhite);
    EXPECT_EQ(top.pixelColor(300, 2), kWhite);
    const QImage bottom = window->ImageUnten1->pixmap().toImage();
    EXPECT_EQ(bottom.size(), QSize(560, 5));
    EXPECT_EQ(bottom.pixelColor(10, 2), kBlack);
    EXPECT_EQ(bottom.pixel(10, 0), window->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(bottom.pixel(10, 4), window->palette().color(QPalette::Dark).rgb());
}

TEST(Pictures, SpritePiecesInTheirColours)
{
    const QImage sheet = pictures::balkenSprite();
    ASSERT_EQ(sheet.size(), QSize(78, 10));
    const auto across = [&](const QRect& r, const std::vector<QColor>& colours) {
        const bool vertical = r.width() == 9;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y) {
                const int i = vertical ? x - r.left() : y - r.top();
                EXPECT_EQ(sheet.pixelColor(x, y), colours[static_cast<size_t>(i)]) << x << "," << y;
            }
    };
    const std::vector<QColor> trough{kGrey,  kSilver, kSilver, kWhite, kWhite,
                                     kWhite, kSilver, kSilver, kGrey};
    const std::vector<QColor> blue{kNavy, kNavy, kBlue, kBlue, kSilver, kBlue, kBlue, kBlue, kNavy};
    const std::vector<QColor> red{kPurple, kRed, kRed, kRed, kFuchsia, kYellow, kRed, kRed, kPurple};
    across(piece::kTroughVertical, trough);
    across(piece::kTroughHorizontal, trough);
    across(piece::kActivityTube, {kGreen, kTeal, kTeal, kSilver, kLime, kSilver, kTeal, kTeal, kBlack});
    across(piece::kFoodTube, blue);
    across(piece::kFoodTubeOver, red);
    across(piece::kHorizontalTube, blue);
    across(piece::kFatTubeOver, red);
    across(piece::kNutrientTubeOver,
           {kPurple, kFuchsia, kFuchsia, kFuchsia, kYellow, kFuchsia, kFuchsia, kRed, kPurple});
    const std::vector<QColor> mark{kBlack, kBlack, kBlack, kBlack, kGrey, kBlack, kBlack, kBlack, kBlack};
    across(piece::kGoalMarkVertical, mark);
    across(piece::kGoalMarkHorizontal, mark);

    // The chart's pieces.
    EXPECT_EQ(sheet.pixelColor(33, 1), kBlue);
    EXPECT_EQ(sheet.pixelColor(35, 1), kSilver);
    EXPECT_EQ(sheet.pixelColor(34, 7), kRed);
    EXPECT_EQ(sheet.pixelColor(35, 7), kFuchsia);
    EXPECT_EQ(sheet.pixelColor(42, 0), kBlue);
    EXPECT_EQ(sheet.pixelColor(43, 0), kNavy);
    EXPECT_EQ(sheet.pixelColor(40, 3), kNavy);
    const char* weeks[] = {"GWWWWWSGWWWWWSGWWWWWSGWWWWWS", "SGWSWSWSWSWSSSSGWSWSWSWSWSSS",
                           "SSSKWWWSWWWSWWWSWWWSWWWSSSSG"};
    for (int level = 1; level <= 3; ++level) {
        const QRect r = piece::weekPattern(level);
        ASSERT_EQ(r.width(), 28);
        for (int i = 0; i < 28; ++i) {
            const QColor expected = QMap<char, QColor>{
                {'W', kWhite}, {'S', kSilver}, {'G', kGrey}, {'K', kBlack}}[weeks[level - 1][i]];
            EXPECT_EQ(sheet.pixelColor(50 + i, r.top()), expected) << level << ":" << i;
            EXPECT_EQ(sheet.pixelColor(50 + i, r.bottom()), expected) << level << ":" << i;
        }
    }
}

TEST(Pictures, ImageListsHoldEveryPicture)
{
    const auto drawn = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    return true;
        return false;
    };
    const ImageList tabs = pictures::imageList100x30();
    EXPECT_EQ(tabs.size(), QSize(100, 30));
    EXPECT_EQ(tabs.count(), 6);
    const ImageList labels = pictures::imageList96x13();
    EXPECT_EQ(labels.size(), QSize(96, 13));
    EXPECT_EQ(labels.count(), 12);
    const ImageList tubes = pictures::imageList45x45();
    EXPECT_EQ(tubes.count(), 24);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(drawn(tabs.image(i))) << i;
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(drawn(labels.image(i))) << i;
    for (int i = 20; i < 24; ++i)
        EXPECT_TRUE(drawn(tubes.image(i))) << i;
    EXPECT_FALSE(drawn(tubes.image(5))) << "left to the scale";
    // The marks of the nutrient frame line up under the trough's 0, 20, 40
    // and 60 units (x = 3, 23, 43, 63 of the frame picture).
    for (int x : {3, 23, 43, 63})
        EXPECT_NE(qAlpha(tabs.image(5).pixel(x, 19)), 0) << x;
    EXPECT_EQ(pictures::categoryWord(QStringLiteral("Fett")).pixmap(QSize(86, 13), 1.0).size(), QSize(86, 13));
}
