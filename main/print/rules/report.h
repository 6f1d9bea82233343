#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/daytotals.h"

#include <QDate>
#include <QLine>
#include <QMarginsF>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The printout of the folder in front as plain geometry: pages of boxes,
// lines and texts in page units. A page unit is the page width in device
// pixels divided by 500 (integer division); every position here is in units
// and is multiplied by the unit when painted. A text position is the top left
// corner of the text.
namespace report {

// The message shown instead of printing while the note search is open.
QString noteSearchMessage();

// The page unit for a page `pageWidth` device pixels wide.
int pageUnit(int pageWidth);

// The title line of folders 1 ... 4 for `day` in the locale's short date
// format; empty for the statistics folder, which prints its own caption.
QString title(int folder, QDate day);

// What the print system tells of the default printer before a job.
struct PrinterState
{
    QString name;          // as the user knows it: its description, else its queue name
    bool accepting = true; // printer-is-accepting-jobs
    int state = 3;         // printer-state: 3 idle, 4 printing, 5 stopped
};

// Whether the printer can take the printout now; refused naming it ("Der
// Drucker „Büro“ ist angehalten.").
Checked<> checkPrinter(const PrinterState& printer);
// The message when the print system has no default printer at all.
QString noPrinterMessage();
// The message when the environment variable `variable` (PRINTER, LPDEST)
// names `name` as the default printer and the print system has no such
// printer.
QString missingPrinterMessage(const QString& name, const QString& variable);
// The message when the printer took no job, or dropped it at once; `reason`
// is the print system's own text and may be empty.
QString jobRefusedMessage(const QString& printer, const QString& reason);

// The page as the printout is laid out on a printer's paper. The print
// system gives the margins the printer cannot print on for the paper held
// upright, and an orientation as IPP names it: 3 portrait, 4 landscape (the
// page turned a quarter to the left on the paper), 5 reverse landscape, 6
// reverse portrait; anything else counts as portrait. The page's margins
// turn with it.
struct PrintablePage
{
    QMarginsF margins; // left, top, right, bottom of the page
    bool landscape = false;
};
PrintablePage printablePage(QMarginsF paperMargins, int orientation);

// The name proposed for saving the printout as a PDF:
// "Kelvara-<folder>-<YYYY-MM-DD>.pdf".
QString pdfFileName(int folder, QDate day);

enum class Font {
    Title,  // bold italic, 11 units
    Normal, // regular, 11 units
    Small   // regular, 9 units (the note and the food table)
};

struct Op
{
    enum class Kind {
        Box,  // outline rectangle (left, top)-(right, bottom), the right and
              // bottom edge excluded, filled white
        Line, // from p1 up to p2, p2 excluded; horizontal or vertical
        Text
    };
    Kind kind = Kind::Text;
    QRect box;  // Box: QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))
    QLine line; // Line
    QPoint at;  // Text
    QString text;
    int clipRight = 0; // a table cell's text ends at this x, shortened to end in
                       // "…" when it is longer; 0: not clipped
    Font font = Font::Normal;
};

using Page = std::vector<Op>;

// The line counter of the tables and the note: one line per 20 units. A new
// page begins when the page, `pageHeight` device pixels high, is shorter than
// the bottom of the next line plus its margin, (20 r + 55) units.
class LineCounter
{
public:
    LineCounter(int pageHeight, int unit) : m_pageHeight(pageHeight), m_unit(unit) {}

    // Advances to the next line; true when that line starts a new page.
    bool next();
    // Whether something reaching down to `bottom` units fits the page.
    bool fits(int bottom) const { return m_pageHeight >= bottom * m_unit; }
    int r() const { return m_r; }
    // The top of the current line's box and of its text, in units.
    int top() const { return 20 * m_r + 35; }
    int textTop() const { return 20 * m_r + 40; }

private:
    int m_pageHeight;
    int m_unit;
    int m_r = 0;
};

// Folder 1: the personal data, and the table of recommendations and goals.
struct GoalSheet
{
    std::array<QString, 4> personCaptions; // sex, age, work, height
    std::array<QString, 4> personTexts;
    int normGewicht = 0;
    QString wunschGewicht;                      // the desired weight's text
    std::array<std::array<QString, 4>, 4> rows; // caption, normal, desired, goal
};

// Every page of a printout with the page's size in device pixels.
struct PageFormat
{
    int width = 0;
    int height = 0;
    int unit() const { return pageUnit(width); }
};

std::vector<Page> goalPages(const QString& title, const GoalSheet& sheet);
// The note as lines that fit the page; an empty note prints the text
// "Keine Eintragungen vorhanden !".
std::vector<Page> notePages(const PageFormat& format, const QString& title, const QStringList& lines);
// Every grid row from the header row on, each of 7 cells in the grid's
// column order (quantity, unit, food, energy, protein, carbohydrate, fat),
// then the day's food totals (energy as units::energyText writes it, nutrients
// as "70 g"). The totals box follows the last row; when it would pass the
// bottom of the page it stands at the top of a new page instead.
std::vector<Page> foodPages(const PageFormat& format, const QString& title,
                            const std::vector<std::array<QString, 7>>& rows, const diary::DayTotals& totals,
                            bool kcal);
// Every grid row from the header row on (minutes, activity, energy), then the
// day's activity energy, moved to a new page as the food totals are.
std::vector<Page> activityPages(const PageFormat& format, const QString& title,
                                const std::vector<std::array<QString, 3>>& rows,
                                const diary::DayTotals& totals, bool kcal);

// The right edge of the note's lines, in units.
constexpr int kNoteRight = 495;

} // namespace report
