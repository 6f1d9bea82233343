#pragma once

#include "main/print/rules/report.h"

#include <QByteArray>
#include <QPageLayout>
#include <QSize>
#include <functional>

class QPainter;
class QPaintDevice;

// The printout of the folder in front, painted on any painter: the printer,
// a PDF or an image in tests.
namespace print {

// What the window's controls and the day record show, read before the
// printout starts.
struct Content
{
    int folder = 1;
    QString title;
    report::GoalSheet goals;
    QString note;
    std::vector<std::array<QString, 7>> food;
    std::vector<std::array<QString, 3>> activities;
    // The day's totals for the food and activity printouts.
    diary::DayTotals totals;
    bool kcal = false;
    // Folder 5: paints the chart for a page of the given size; may throw.
    std::function<void(QPainter&, QSize)> chart;
};

// The font of a printed text for the page unit `unit` (device pixels).
QFont reportFont(report::Font font, int unit);

// Boxes and lines are drawn this many device pixels wide, so that a page
// looks the same at any resolution.
int penWidth(int unit);

// The note as printed lines: the memo's lines, each broken at blanks where it
// would run past the right edge of the page. A line keeps its leading
// blanks; the blanks where it is broken are dropped.
QStringList noteLines(const QString& note, int unit, QPaintDevice* device);

// `text` as it fits `width` device pixels in `font` on `device`: unchanged
// when it fits, else shortened to end in "…" (or "..." in a font without
// that character), never cut through a letter.
QString fitted(const QString& text, const QFont& font, QPaintDevice* device, qreal width);

// Paints one page of geometry.
void paintPage(QPainter& painter, int unit, QSize page, const report::Page& ops);

// Paints the whole printout on `painter` for pages of `page` device pixels;
// `newPage` starts the next page of the device. The chart is clipped to its
// frame as on screen: nothing of it shows outside (0, 0)-(513, 487) q.
void paint(QPainter& painter, QSize page, const Content& content, const std::function<void()>& newPage);

// Printouts are laid out on a grid of this many pixels per inch and scaled to
// the device, so that a page looks the same at any printer resolution.
constexpr int kLayoutDpi = 1200;

// The printout as the bytes of a PDF with pages of `layout`.
QByteArray pdf(const Content& content, const QPageLayout& layout);

// The printout as one job on the system's default printer, without a dialog,
// on the printer's default paper in its default orientation. The print
// system is asked first whether the printer exists, takes jobs and is not
// stopped; the pages are made as a PDF in memory and sent as one job, which
// the print system must confirm. False with `problem` set (naming the printer
// and the reason) when any of that fails; then no job is left. Nothing is
// written to a file. An exception of the chart leaves no job behind.
bool onPrinter(const Content& content, QString& problem);

// The page layout of a PDF when no printer gives one: A4 with 10 mm margins.
QPageLayout defaultPdfLayout();

} // namespace print
