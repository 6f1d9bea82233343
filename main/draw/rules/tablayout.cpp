#include "main/draw/rules/tablayout.h"

namespace draw {
namespace {

struct FolderLayout
{
    std::array<TabPlace, 5> tabs;
    RowSpan open;
};

// Tabs 1 and 2 never move; the rest are placed by hand to fit the category
// panels, whose heights differ.
constexpr std::array<FolderLayout, 5> kLayouts{{
    {{{{57, 54}, {96, 93}, {135, 132}, {174, 171}, {213, 210}}}, {54, 90}},
    {{{{57, 54}, {96, 93}, {179, 176}, {218, 215}, {257, 254}}}, {93, 173}},
    {{{{57, 54}, {96, 93}, {135, 132}, {471, 455}, {510, 494}}}, {132, 465}},
    {{{{57, 54}, {96, 93}, {135, 132}, {174, 171}, {384, 380}}}, {171, 378}},
    {{{{57, 54}, {96, 93}, {135, 132}, {174, 171}, {213, 210}}}, {210, 380}},
}};

const FolderLayout& layout(int openFolder)
{
    return kLayouts[openFolder >= 1 && openFolder <= 5 ? openFolder - 1 : 0];
}

} // namespace

std::array<TabPlace, 5> tabPlaces(int openFolder)
{
    return layout(openFolder).tabs;
}

RowSpan openTabRows(int openFolder)
{
    return layout(openFolder).open;
}

RowSpan closedTabRows(int openFolder, int tab)
{
    const int top = layout(openFolder).tabs[tab - 1].pictureTop - kTabAbovePicture;
    return {top, top + kClosedTabRows - 1};
}

} // namespace draw
