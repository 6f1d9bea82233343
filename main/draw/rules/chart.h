#pragma once

#include "diary/rules/chartwindow.h"

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

// The statistics chart as geometry: what lies where in chart units (one unit
// is one pixel on screen, q pixels on paper). Drawing only follows it. Its
// time axis over the diary's days: diary/rules/chartwindow.h.
//
// Plot area x 0 ... 476, y 0 ... 468; date band y 469 ... 486; value axis
// x 477 ... 512. The value of a day of series 1 is its weight in kg, of
// series 2 to 6 its amount in kJ or g, of series 7 its activity energy
// minus its food energy in kJ.
namespace chart {

constexpr int kWidth = 513;
constexpr int kHeight = 487;
constexpr int kPlotBottom = 468;

// The pieces of the sprite picture that the chart copies.
enum class Piece { Week1, Week2, Week3, Dot, NormalBar, HighlightBar };
// Their source rectangles in the 78 x 10 sprite.
constexpr QRect pieceSource(Piece piece)
{
    switch (piece) {
    case Piece::Week1:
        return QRect(50, 1, 28, 2);
    case Piece::Week2:
        return QRect(50, 4, 28, 2);
    case Piece::Week3:
        return QRect(50, 7, 28, 2);
    case Piece::Dot:
        return QRect(40, 0, 4, 4);
    case Piece::NormalBar:
        return QRect(33, 1, 3, 1);
    case Piece::HighlightBar:
        return QRect(33, 7, 3, 1);
    }
    return {};
}

// The column of the week pattern that unit r of a day with weekday w (1 =
// Sunday ... 7 = Saturday) shows at `unitsPerDay` units a day.
int patternColumn(int weekday, int unitsPerDay, int r);

struct Copy
{
    Piece piece;
    QRect target; // right and bottom exclusive
};

struct MonthBox
{
    QRect box;  // right and bottom exclusive
    QRect clip; // right and bottom exclusive
    QPoint origin;
    QString text;
};

struct Label
{
    QPoint origin; // left, top of the text
    QString text;
};

// The inputs of a drawing.
struct Input
{
    int series = 1;    // 1 ... 7
    int zoomX = 1;     // 1 ... 3
    int zoomY = 2;     // level of the series' value axis, 1 ... 3
    int scrollY = 61;  // weight range position, 0 ... 100
    bool kcal = false; // display unit
    bool smoothing = false;
    QDate start;                // first day of the window
    std::vector<double> values; // one raw value per day of the window
    int desiredWeightItem = 0;  // item of the desired weight list, 0 = "?"
    QString goalText;           // the goal field of the series (kcal field for series 2 in kcal)
};

struct Chart
{
    QString caption;
    std::vector<Copy> background; // week patterns
    std::vector<int> gridRows;    // silver lines across the plot area
    std::vector<Copy> data;       // dots, strokes and bars, in drawing order
    std::vector<int> goalLines;   // top row of each three-row goal or zero line
    std::vector<MonthBox> months;
    std::vector<Label> labels; // value axis
};

Chart build(const Input& input);

// Parts of the build, for their own tests.
// The values plotted with smoothing on, as near as a double holds them; the
// chart rounds the exact means (sum / 3) once.
std::vector<double> smoothed(const std::vector<double>& raw);
// Bottom weight of the weight scale and its units per kg.
int weightBottom(int zoomY, int scrollY);
double scaleFactor(int series, int zoomY, bool kcal);
int goalRow(int series, int zoomY, bool kcal, const QString& goalText);
QString axisLabel(int series, int zoomY, bool kcal, int scrollY, int j);
QString caption(int series, bool kcal);

// The print magnification for a page of width x height device pixels.
int printScale(int pageWidth, int pageHeight);

// The read-out of a press at (x, y) on the chart.
bool readoutHit(int x, int y);
QDate readoutDay(QDate windowStart, int zoomX, int x);
// " 05.03.2005 / 72,5 kg"; empty for a value of 0.
QString readoutText(int series, double value, bool kcal, QDate day);
// Its place in the chart panel's coordinates (the image starts at y 18).
QPoint readoutPlace(int x, int y);

} // namespace chart
