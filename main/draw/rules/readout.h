#pragma once

#include "main/draw/rules/barlengths.h"

#include <QPoint>
#include <QString>
#include <optional>

// The read-out that a mouse press on a bar of the right-hand picture shows:
// where a press counts, what it reads and where the read-out is placed.
namespace draw {

enum class HitArea { None, FoodEnergy, ActivityEnergy, Fat, Protein, Carbohydrate, BodyMassIndex };

// The area under a point of the right-hand picture. The areas reach a unit
// or two past the troughs, so a press on their frame counts too.
HitArea hitArea(QPoint picturePoint);

// The read-out of a bar: " 2390 kJ", " 571 kcal" (the kJ total divided by
// 4.1868, rounded half to even), " 65 g " (with a trailing blank). Empty for
// None and BodyMassIndex.
QString barReadout(HitArea area, const diary::DayTotals& totals, bool kcal);

// Top left of a read-out `size` wide and high shown for a press at
// `picturePoint`, in the coordinates of the right-hand panel (`panelWidth`
// wide): 18 rows below the press; 5 to the right of it in the left half,
// starting 15 to its left in the right half; moved left where it would
// cross the panel's right edge.
QPoint readoutPlace(QPoint picturePoint, int width, int panelWidth);

} // namespace draw
