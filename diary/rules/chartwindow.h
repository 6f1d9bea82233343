#pragma once

#include <QDate>

// The days the statistics chart shows, which the settings record keeps the
// position of for each of its three time-axis levels. The plot is 477 units
// wide (x 0 ... kPlotRight); its window starts on the diary's first day plus
// seven days per scroll step.
namespace chart {

constexpr int kPlotRight = 476;

// Units per day and days in the window for time-axis level z (1 ... 3).
int unitsPerDay(int zoomX);
int windowDays(int zoomX);
// The first day of the window: `firstRecord` + 7 weeks per scroll step.
QDate windowStart(QDate firstRecord, int scrollX);
// The scroll position whose window shows `day` in its last week: the least
// position at which the window still reaches `day` (0 when the first window
// reaches it).
int scrollToShowAtRightEdge(QDate firstRecord, QDate day, int zoomX);

} // namespace chart
