#include "diary/rules/chartwindow.h"

#include <algorithm>

namespace chart {

int unitsPerDay(int zoomX)
{
    return 1 << (std::clamp(zoomX, 1, 3) - 1);
}

int windowDays(int zoomX)
{
    return kPlotRight / unitsPerDay(zoomX) + 1;
}

QDate windowStart(QDate firstRecord, int scrollX)
{
    return firstRecord.addDays(7LL * scrollX);
}

int scrollToShowAtRightEdge(QDate firstRecord, QDate day, int zoomX)
{
    // Days from the first record to the earliest window start that still reaches `day`.
    const qint64 earliest = firstRecord.daysTo(day) - windowDays(zoomX) + 1;
    return earliest <= 0 ? 0 : static_cast<int>((earliest + 6) / 7);
}

} // namespace chart
