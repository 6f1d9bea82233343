// The tools window as a window: its frame, tabs and panels, showing and
// closing it from the main window.

#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "main/zeb6.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The main window with its two side windows, as the program builds them.
struct Program
{
    explicit Program(const QString& dir) : main(dir), tools(main) { main.setSideWindows(&help, &tools); }
    TFormMain1 main;
    THelpForm1 help;
    TToolForm1 tools;
};

void clickTab(TabControl* tabs, int index)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

} // namespace

TEST(ToolsWindow, HasItsCaptionSizeAndControlsAtTheirPlaces)
{
    FreshDiary diary;
    Seams seams;
    Program p(diary.dir());
    TToolForm1& t = p.tools;
    EXPECT_EQ(t.windowTitle(), "Tools für Kelvara [1.02f]");
    EXPECT_EQ(t.size(), QSize(610, 398));
    EXPECT_EQ(t.minimumSize(), t.maximumSize()) << "fixed border";
    EXPECT_FALSE(t.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(t.windowFlags() & Qt::WindowMinimizeButtonHint);

    EXPECT_EQ(t.TabControlTools->geometry(), QRect(6, 6, 599, 351));
    ASSERT_EQ(t.TabControlTools->count(), 3);
    EXPECT_EQ(t.TabControlTools->tabText(0), " Daten einfügen ");
    EXPECT_EQ(t.TabControlTools->tabText(1), " Daten ändern/löschen ");
    EXPECT_EQ(t.TabControlTools->tabText(2), " Tagebuch verwalten ");
    EXPECT_EQ(t.TabControlTools->rowCount(), 1);
    EXPECT_TRUE(t.TabControlTools->font().bold());

    for (QFrame* panel : {t.PanelToolsDatenEdit, t.PanelToolsVerwalten}) {
        EXPECT_EQ(panel->parentWidget(), t.TabControlTools);
        EXPECT_EQ(panel->geometry(), QRect(4, 28, 589, 317));
        EXPECT_GE(panel->y(), t.TabControlTools->tabRect(0).bottom()) << "tabs stay clear";
    }
    EXPECT_EQ(t.ButtonToolsClose->text(), "Fenster schließen !");
    EXPECT_EQ(t.ButtonToolsClose->geometry(), QRect(188, 365, 218, 27));
}

TEST(ToolsWindow, TheThirdTabBringsItsPanelToFrontAndReopensOnTheLastTab)
{
    FreshDiary diary;
    Seams seams;
    Program p(diary.dir());
    p.main.show();
    p.main.SpeedButtonTool->click();
    TToolForm1& t = p.tools;
    ASSERT_TRUE(t.isVisible());
    EXPECT_TRUE(t.PanelToolsDatenEdit->isEnabled());
    EXPECT_FALSE(t.PanelToolsVerwalten->isEnabled());

    clickTab(t.TabControlTools, 2);
    EXPECT_EQ(t.TabControlTools->currentIndex(), 2);
    EXPECT_TRUE(t.PanelToolsVerwalten->isEnabled());
    EXPECT_FALSE(t.PanelToolsDatenEdit->isEnabled());
    QWidget* top = t.TabControlTools->childAt(t.PanelToolsVerwalten->geometry().center());
    EXPECT_TRUE(top == t.PanelToolsVerwalten || t.PanelToolsVerwalten->isAncestorOf(top));

    QTest::mouseClick(t.ButtonToolsClose, Qt::LeftButton);
    EXPECT_FALSE(t.isVisible());
    p.main.SpeedButtonTool->click();
    EXPECT_EQ(t.TabControlTools->currentIndex(), 2) << "reopens on the tab last used";
    EXPECT_TRUE(t.PanelToolsVerwalten->isEnabled());

    clickTab(t.TabControlTools, 0);
    top = t.TabControlTools->childAt(t.PanelToolsDatenEdit->geometry().center());
    EXPECT_TRUE(top == t.PanelToolsDatenEdit || t.PanelToolsDatenEdit->isAncestorOf(top));
    EXPECT_TRUE(t.PanelToolsDatenEdit->isEnabled());
    p.main.close();
}

TEST(ToolsWindow, ClosingRestoresTheMainWindowsCategories)
{
    FreshDiary diary;
    Seams seams;
    Program p(diary.dir());
    p.main.show();
    p.main.NahrungKategorie = 5;
    p.main.AktivKategorie = 7;
    p.main.SpeedButtonTool->click();
    p.main.NahrungKategorie = 9;
    p.main.AktivKategorie = 3;
    p.main.FormActivate();
    EXPECT_FALSE(p.tools.isVisible());
    EXPECT_EQ(p.main.NahrungKategorie, 5);
    EXPECT_EQ(p.main.AktivKategorie, 7);
    p.main.close();
}
