#include "controls/rules/tabrows.h"

#include <algorithm>

namespace help {

TabRows layoutTabRows(const QList<int>& widths, int width, int rowHeight, int selected)
{
    TabRows result;
    if (widths.isEmpty())
        return result;

    // First tab of every row.
    QList<qsizetype> rowStart{0};
    int used = 0;
    for (qsizetype i = 0; i < widths.size(); ++i) {
        const int w = std::min(widths[i], width);
        if (used > 0 && used + w > width) {
            rowStart.append(i);
            used = 0;
        }
        used += w;
    }
    const int rows = int(rowStart.size());
    rowStart.append(widths.size());

    int selectedRow = 0;
    for (int r = 0; r < rows; ++r) {
        if (selected >= rowStart[r] && selected < rowStart[r + 1])
            selectedRow = r;
    }

    result.tabs.resize(widths.size());
    for (int r = 0; r < rows; ++r) {
        const int level = (r - selectedRow + rows) % rows; // 0 at the bottom
        const int y = (rows - 1 - level) * rowHeight;
        const qsizetype first = rowStart[r];
        const qsizetype count = rowStart[r + 1] - first;
        int natural = 0;
        for (qsizetype i = first; i < first + count; ++i)
            natural += std::min(widths[i], width);
        const int spare = rows > 1 ? width - natural : 0;
        int x = 0;
        for (qsizetype k = 0; k < count; ++k) {
            int w = std::min(widths[first + k], width) + int(spare / count);
            if (k < spare % count)
                ++w;
            result.tabs[first + k] = QRect(x, y, w, rowHeight);
            x += w;
        }
    }
    result.rows = rows;
    result.height = rows * rowHeight;
    return result;
}

} // namespace help
