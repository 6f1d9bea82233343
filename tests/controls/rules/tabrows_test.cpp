// Tabs wrapping into rows, without a window.

#include "controls/rules/tabrows.h"

#include <gtest/gtest.h>

using help::layoutTabRows;

TEST(TabRows, TabsThatFitStayInOneRowAtTheirOwnWidths)
{
    const auto layout = layoutTabRows({30, 40, 50}, 120, 20, 0);
    EXPECT_EQ(layout.rows, 1);
    EXPECT_EQ(layout.height, 20);
    EXPECT_EQ(layout.tabs, (QList<QRect>{{0, 0, 30, 20}, {30, 0, 40, 20}, {70, 0, 50, 20}}));
    EXPECT_EQ(layoutTabRows({30, 40, 50}, 200, 20, 0).tabs.last(), QRect(70, 0, 50, 20))
        << "a single row is not stretched";
}

TEST(TabRows, ATabThatDoesNotFitBeginsTheNextRow)
{
    // 30 + 40 + 50 = 120 fits exactly in 120; one pixel less and the third
    // tab moves down.
    EXPECT_EQ(layoutTabRows({30, 40, 50}, 120, 20, 0).rows, 1);
    const auto layout = layoutTabRows({30, 40, 50}, 119, 20, 0);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.height, 40);
    // The selected tab's row lies at the bottom; both rows span the width.
    EXPECT_EQ(layout.tabs, (QList<QRect>{{0, 20, 55, 20}, {55, 20, 64, 20}, {0, 0, 119, 20}}));
}

TEST(TabRows, SparePixelsAreSharedFromTheLeft)
{
    // Row one: 30 + 30 + 30 = 90 of 100, ten spare pixels for three tabs.
    const auto layout = layoutTabRows({30, 30, 30, 80}, 100, 20, 0);
    ASSERT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.tabs[0], QRect(0, 20, 34, 20));
    EXPECT_EQ(layout.tabs[1], QRect(34, 20, 33, 20));
    EXPECT_EQ(layout.tabs[2], QRect(67, 20, 33, 20));
    EXPECT_EQ(layout.tabs[3], QRect(0, 0, 100, 20));
}

TEST(TabRows, TheSelectedRowMovesNextToThePageAndTheOthersKeepTheirOrder)
{
    const QList<int> widths{50, 50, 50, 50, 50, 50}; // two per row of 100
    const auto rowTop = [&](int selected, int tab) {
        return layoutTabRows(widths, 100, 10, selected).tabs[tab].y();
    };
    // Rows 0, 1, 2 from the bottom up while tab 0 is selected.
    EXPECT_EQ(rowTop(0, 0), 20);
    EXPECT_EQ(rowTop(0, 2), 10);
    EXPECT_EQ(rowTop(0, 4), 0);
    // Tab 3 selected: its row 1 at the bottom, then 2, then 0 on top.
    EXPECT_EQ(rowTop(3, 2), 20);
    EXPECT_EQ(rowTop(3, 3), 20);
    EXPECT_EQ(rowTop(3, 4), 10);
    EXPECT_EQ(rowTop(3, 0), 0);
    // Tab 5 selected: 2, 0, 1 from the bottom up.
    EXPECT_EQ(rowTop(5, 4), 20);
    EXPECT_EQ(rowTop(5, 0), 10);
    EXPECT_EQ(rowTop(5, 2), 0);
    // Nothing selected: as for the first tab.
    EXPECT_EQ(rowTop(-1, 0), 20);
    EXPECT_EQ(rowTop(6, 0), 20);
}

TEST(TabRows, ATabWiderThanARowGetsARowOfItsOwn)
{
    const auto layout = layoutTabRows({30, 150, 30}, 100, 20, 1);
    ASSERT_EQ(layout.rows, 3);
    EXPECT_EQ(layout.tabs[1], QRect(0, 40, 100, 20));
    EXPECT_EQ(layout.tabs[0], QRect(0, 0, 100, 20));
    EXPECT_EQ(layout.tabs[2], QRect(0, 20, 100, 20));
}

TEST(TabRows, NoTabsNoRows)
{
    const auto layout = layoutTabRows({}, 100, 20, 0);
    EXPECT_EQ(layout.rows, 0);
    EXPECT_EQ(layout.height, 0);
    EXPECT_TRUE(layout.tabs.isEmpty());
}
