// The places of the folder tabs for each open folder.

#include "main/draw/rules/tablayout.h"

#include <gtest/gtest.h>

using namespace draw;

TEST(TabLayout, TheFirstTwoTabsNeverMove)
{
    for (int open = 1; open <= 5; ++open) {
        const auto tabs = tabPlaces(open);
        EXPECT_EQ(tabs[0].pictureTop, 57);
        EXPECT_EQ(tabs[0].labelTop, 54);
        EXPECT_EQ(tabs[1].pictureTop, 96);
        EXPECT_EQ(tabs[1].labelTop, 93);
    }
}

TEST(TabLayout, TabsAfterTheOpenOneMoveBelowItsCategoryPanel)
{
    const int expected[5][3][2] = {
        {{135, 132}, {174, 171}, {213, 210}}, {{179, 176}, {218, 215}, {257, 254}},
        {{135, 132}, {471, 455}, {510, 494}}, {{135, 132}, {174, 171}, {384, 380}},
        {{135, 132}, {174, 171}, {213, 210}},
    };
    const RowSpan spans[5] = {{54, 90}, {93, 173}, {132, 465}, {171, 378}, {210, 380}};
    for (int open = 1; open <= 5; ++open) {
        SCOPED_TRACE(open);
        const auto tabs = tabPlaces(open);
        for (int tab = 3; tab <= 5; ++tab) {
            EXPECT_EQ(tabs[tab - 1].pictureTop, expected[open - 1][tab - 3][0]);
            EXPECT_EQ(tabs[tab - 1].labelTop, expected[open - 1][tab - 3][1]);
        }
        EXPECT_EQ(openTabRows(open).first, spans[open - 1].first);
        EXPECT_EQ(openTabRows(open).last, spans[open - 1].last);
        // The open tab begins where its own closed tab would.
        EXPECT_EQ(openTabRows(open).first, closedTabRows(open, open).first);
    }
}

TEST(TabLayout, ClosedTabsNeitherOverlapTheOpenOneNorEachOther)
{
    for (int open = 1; open <= 5; ++open) {
        SCOPED_TRACE(open);
        int below = 51; // the strip under the date caption
        for (int tab = 1; tab <= 5; ++tab) {
            const RowSpan rows = tab == open ? openTabRows(open) : closedTabRows(open, tab);
            EXPECT_GT(rows.first, below);
            EXPECT_LE(rows.last, 548);
            below = rows.last;
        }
    }
}

TEST(TabLayout, WithTheFoodFolderOpenTheLowRowsOfTab4BelongToTab5)
{
    const auto tabs = tabPlaces(3);
    const RowSpan drawn4 = closedTabRows(3, 4);
    const int label4Last = tabs[3].labelTop + kTabLabelHeight - 1;
    EXPECT_EQ(drawn4.first, 468);
    EXPECT_LT(label4Last, drawn4.last);
    EXPECT_LE(tabs[4].labelTop, drawn4.last);
}

TEST(TabLayout, AFolderOutsideTheFiveCountsAsTheGoals)
{
    EXPECT_EQ(tabPlaces(0)[2].pictureTop, tabPlaces(1)[2].pictureTop);
    EXPECT_EQ(openTabRows(9).first, 54);
}
