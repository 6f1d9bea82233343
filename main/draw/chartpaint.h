#pragma once

#include "main/draw/rules/chart.h"

#include <QImage>

class QPainter;

namespace chart {

// Paints a built chart on any painter, in chart units: the caller scales
// the painter for paper. With `printing` the caption is drawn in a box at
// the top, as the caption panel is not printed.
void paint(QPainter& painter, const Chart& chart, const QImage& sprite, bool printing);

} // namespace chart
