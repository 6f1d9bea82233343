// The folder tabs of the real main window, clicked where the user clicks.

#include "main/draw/picture.h"
#include "main/draw/rules/tablayout.h"
#include "main/zeb6.h"
#include "support/window.h"

#include <QFrame>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Folders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setToday(QDate(2006, 7, 8));
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void click(int x, int y) { QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, QPoint(x, y)); }

    // The content panel that shows at the middle of the window.
    QFrame* folderInFront() const
    {
        QWidget* shown = window->childAt(388, 300);
        for (QFrame* panel : panels())
            if (shown == panel || panel->isAncestorOf(shown))
                return panel;
        return nullptr;
    }

    std::array<QFrame*, 5> panels() const
    {
        return {window->PanelZiele, window->PanelNotiz, window->PanelNahrung, window->PanelFitness,
                window->PanelStatistik};
    }

    // A pixel of the divider between the tabs and the folders.
    bool dividerAt(int row) const
    {
        const QImage& strip = window->ImageLinks1->canvas();
        return strip.pixelColor(109, row) == Qt::black && strip.pixelColor(110, row) == Qt::white;
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(Folders, ClickingATabBringsItsFolderToFrontAndPlacesTheTabs)
{
    EXPECT_EQ(window->AktuellerOrdner, 1);
    EXPECT_EQ(folderInFront(), window->PanelZiele);

    // Each tab clicked in the middle of its label, in an order that moves
    // the labels of tabs 3 to 5 each time.
    for (int folder : {3, 5, 2, 4, 1, 5, 3}) {
        SCOPED_TRACE(folder);
        const int before = window->AktuellerOrdner;
        const auto placesBefore = draw::tabPlaces(before);
        click(50, placesBefore[folder - 1].labelTop + 19);
        EXPECT_EQ(window->AktuellerOrdner, folder);
        EXPECT_EQ(folderInFront(), panels()[folder - 1]);

        EXPECT_EQ(window->PanelOrdnerNotiz->isVisible(), folder == 2);
        EXPECT_EQ(window->PanelOrdnerNahrung->isVisible(), folder == 3);
        EXPECT_EQ(window->PanelOrdnerAktiv->isVisible(), folder == 4);
        EXPECT_EQ(window->PanelOrdnerStatistik->isVisible(), folder == 5);

        const auto places = draw::tabPlaces(folder);
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(window->LabelOrdner[k]->geometry(), QRect(3, places[k - 1].labelTop, 110, 38)) << k;

        // The divider leaves the open tab's rows free and runs elsewhere.
        const draw::RowSpan open = draw::openTabRows(folder);
        EXPECT_TRUE(dividerAt(5));
        EXPECT_TRUE(dividerAt(open.first - 1));
        EXPECT_FALSE(dividerAt(open.first + 10));
        EXPECT_FALSE(dividerAt(open.last - 1));
        EXPECT_TRUE(dividerAt(open.last + 2));
        EXPECT_TRUE(dividerAt(548));
        EXPECT_EQ(window->ImageLinks1->canvas().pixel(50, open.last),
                  window->palette().color(QPalette::Dark).rgb());
    }

    // The edge pictures stay on top of the folder in front.
    EXPECT_EQ(window->childAt(400, 1), window->ImageOben1);
    EXPECT_EQ(window->childAt(400, 550), window->ImageUnten1);
}

TEST_F(Folders, WithTheFoodFolderOpenTheLowestRowsOfTab4OpenTheCharts)
{
    click(50, 150); // tab 3 while the goals are open
    ASSERT_EQ(window->AktuellerOrdner, 3);

    // Drawn tab 4 spans rows 468 to 504; its label only reaches row 492.
    click(50, 500);
    EXPECT_EQ(window->AktuellerOrdner, 5);
    EXPECT_EQ(folderInFront(), window->PanelStatistik);

    click(50, 150); // tab 3 again, now below tab 2
    ASSERT_EQ(window->AktuellerOrdner, 3);
    click(50, 470);
    EXPECT_EQ(window->AktuellerOrdner, 4);
}

TEST_F(Folders, ClickingTheOpenTabKeepsItsFolder)
{
    click(50, 150);
    ASSERT_EQ(window->AktuellerOrdner, 3);
    const QImage before = window->ImageLinks1->canvas();
    click(50, 150);
    EXPECT_EQ(window->AktuellerOrdner, 3);
    EXPECT_EQ(folderInFront(), window->PanelNahrung);
    EXPECT_EQ(window->ImageLinks1->canvas(), before);
}

TEST_F(Folders, TheCategoryGroupsLieOverTheTabLabels)
{
    click(50, 111); // notes
    ASSERT_EQ(window->AktuellerOrdner, 2);
    // Row 129 belongs both to the label of tab 2 and to the notes group.
    EXPECT_TRUE(window->PanelOrdnerNotiz->isAncestorOf(window->childAt(50, 130)));
    click(50, 127 + 21 + 8); // the second notes button
    EXPECT_EQ(window->AktuellerOrdner, 2);
    EXPECT_TRUE(window->SpeedButtonT[2]->isChecked());
    EXPECT_FALSE(window->SpeedButtonT[1]->isChecked());
}

TEST_F(Folders, EveryCategoryButtonShowsItsWordPicture)
{
    for (int k = 1; k <= 16; ++k)
        EXPECT_EQ(window->SpeedButtonN[k]->iconSize(), QSize(86, 13));
    for (int k = 1; k <= 9; ++k)
        EXPECT_FALSE(window->SpeedButtonA[k]->icon().isNull());
    for (int k = 1; k <= 2; ++k)
        EXPECT_FALSE(window->SpeedButtonT[k]->icon().isNull());
    for (int k = 1; k <= 7; ++k) {
        EXPECT_FALSE(window->SpeedButtonS[k]->icon().isNull());
        EXPECT_EQ(window->SpeedButtonS[k]->geometry(), QRect(1, 1 + 18 * (k - 1), 98, 17));
    }
    EXPECT_EQ(window->PanelOrdnerStatistik->geometry(), QRect(9, 247, 100, 126));
    EXPECT_EQ(window->PanelOrdnerNotiz->geometry(), QRect(11, 127, 100, 39));
    EXPECT_EQ(window->SpeedButtonT[2]->geometry(), QRect(1, 21, 98, 17));
}
