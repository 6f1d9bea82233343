#include "main/print/rules/report.h"

#include "diary/rules/numbers.h"

#include <QLocale>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace report {
namespace {

Op box(int left, int top, int right, int bottom)
{
    Op op;
    op.kind = Op::Kind::Box;
    op.box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return op;
}

Op line(int x1, int y1, int x2, int y2)
{
    Op op;
    op.kind = Op::Kind::Line;
    op.line = QLine(x1, y1, x2, y2);
    return op;
}

Op text(int x, int y, const QString& s, Font font, int clipRight = 0)
{
    Op op;
    op.clipRight = clipRight;
    op.kind = Op::Kind::Text;
    op.at = QPoint(x, y);
    op.text = s;
    op.font = font;
    return op;
}

// Pages of one line each per step of the line counter: `line` adds the
// line's ops to the page it falls on.
template <typename Row, typename AddLine>
std::vector<Page> linedPages(Page first, const std::vector<Row>& rows, AddLine addLine, LineCounter& counter)
{
    std::vector<Page> pages;
    pages.push_back(std::move(first));
    for (const Row& row : rows) {
        if (counter.next())
            pages.emplace_back();
        addLine(pages.back(), counter, row);
    }
    return pages;
}

// One row of a ruled table from x 60 to `right` whose line starts at
// `top`: its frame, the boxes of the cells between, and the rules that
// join it to the rows above and below.
void ruledRow(Page& page, int top, int right, std::initializer_list<std::pair<int, int>> cells)
{
    page.push_back(box(60, top, right, top + 20));
    for (const auto& [left, cellRight] : cells)
        page.push_back(box(left, top, cellRight, top + 20));
    page.push_back(line(59, top, 59, top + 21));
    page.push_back(line(right + 1, top, right + 1, top + 21));
}

// Closes the table after its last line, the counter's line, and gives the
// line r after which the total's frame stands: right below the table, or
// r = 0 at the top of a new page when the frame, down to 20 r + 80, would
// pass the bottom of this one.
int closeTable(std::vector<Page>& pages, const LineCounter& counter, int right)
{
    const int r = counter.r();
    pages.back().push_back(line(59, 20 * r + 56, right + 1, 20 * r + 56));
    if (counter.fits(20 * r + 80))
        return r;
    pages.emplace_back();
    return 0;
}

// The double frame of a total from `left` on, below line `r`.
void totalFrame(Page& page, int r, int left, int right)
{
    const int r20 = 20 * r;
    page.push_back(box(left - 1, r20 + 58, right + 1, r20 + 80));
    page.push_back(box(left, r20 + 59, right, r20 + 79));
}

} // namespace

QString noteSearchMessage()
{
    return QStringLiteral("Druckvorgang hier nicht möglich.\r"
                          "Bitte wechseln Sie in die Kategorie \"Schreiben\",\r"
                          "um ihre Notizen auszudrucken.");
}

int pageUnit(int pageWidth)
{
    return pageWidth / 500;
}

QString title(int folder, QDate day)
{
    static const char* const kTitles[] = {"Kelvara: Meine Ziele am ", "Kelvara: Notizen vom ",
                                          "Kelvara: Nahrungszufuhr am ", "Kelvara: Fitnessaktivitäten am "};
    if (folder < 1 || folder > 4)
        return QString();
    return QString::fromUtf8(kTitles[folder - 1]) + QLocale().toString(day, numbers::shortDateFormat());
}

Checked<> checkPrinter(const PrinterState& printer)
{
    QStringList reasons;
    if (printer.state == 5)
        reasons << QStringLiteral("ist angehalten");
    if (!printer.accepting)
        reasons << QStringLiteral("nimmt zurzeit keine Aufträge an");
    if (reasons.isEmpty())
        return Passed{};
    return Checked<>::refused(QStringLiteral("Der Drucker \u201E%1\u201C %2.")
                                  .arg(printer.name, reasons.join(QStringLiteral(" und "))));
}

QString noPrinterMessage()
{
    return QStringLiteral("Es ist kein Drucker eingerichtet.");
}

QString missingPrinterMessage(const QString& name, const QString& variable)
{
    return QStringLiteral("Den Drucker \u201E%1\u201C, den die Umgebungsvariable %2 als Standarddrucker "
                          "nennt, gibt es nicht.")
        .arg(name, variable);
}

QString jobRefusedMessage(const QString& printer, const QString& reason)
{
    QString text =
        QStringLiteral("Der Drucker \u201E%1\u201C kann den Ausdruck nicht annehmen.").arg(printer);
    if (!reason.isEmpty())
        text += u'\r' + reason;
    return text;
}

PrintablePage printablePage(QMarginsF m, int orientation)
{
    // Turned a quarter to the left, the page's top lies on the paper's left
    // edge and its left on the paper's bottom; turned to the right, the
    // other way round.
    switch (orientation) {
    case 4:
        return {QMarginsF(m.bottom(), m.left(), m.top(), m.right()), true};
    case 5:
        return {QMarginsF(m.top(), m.right(), m.bottom(), m.left()), true};
    case 6:
        return {QMarginsF(m.right(), m.bottom(), m.left(), m.top()), false};
    default:
        return {m, false};
    }
}

QString pdfFileName(int folder, QDate day)
{
    static const char* const kFolders[] = {"Ziele", "Notizen", "Nahrung", "Aktivität", "Statistik"};
    const QString name = QString::fromUtf8(kFolders[std::clamp(folder, 1, 5) - 1]);
    return QStringLiteral("Kelvara-%1-%2.pdf").arg(name, day.toString(Qt::ISODate));
}

bool LineCounter::next()
{
    ++m_r;
    if (m_pageHeight < (20 * m_r + 55) * m_unit) {
        m_r = 1;
        return true;
    }
    return false;
}

std::vector<Page> goalPages(const QString& title, const GoalSheet& sheet)
{
    Page page;
    page.push_back(text(60, 30, title, Font::Title));
    page.push_back(text(60, 60, QStringLiteral("Berechnungsgrundlagen :"), Font::Normal));
    for (int i = 0; i < 4; ++i) {
        page.push_back(text(60, 80 + 20 * i, sheet.personCaptions[i], Font::Normal));
        page.push_back(text(180, 80 + 20 * i, sheet.personTexts[i], Font::Normal));
    }

    page.push_back(box(59, 194, 501, 341));
    page.push_back(box(60, 195, 199, 255));
    page.push_back(box(200, 195, 500, 255));
    page.push_back(box(300, 195, 400, 255));
    page.push_back(box(60, 256, 199, 340));
    page.push_back(box(200, 256, 500, 340));
    page.push_back(box(300, 256, 400, 340));

    const QString head[4][3] = {
        {QStringLiteral("Empfehlung für "), QStringLiteral("die tägliche "),
         QStringLiteral("Nahrungszufuhr : ")},
        {QStringLiteral("Normal- "), QStringLiteral("gewicht "),
         QString::number(sheet.normGewicht) + QStringLiteral(" kg")},
        {QStringLiteral("Wunsch- "), QStringLiteral("gewicht "), sheet.wunschGewicht},
        {QStringLiteral("Meine "), QStringLiteral("aktuellen "), QStringLiteral("Ziele ")},
    };
    const int columnX[4] = {65, 215, 315, 415};
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 3; ++k)
            page.push_back(text(columnX[c], 200 + 18 * k, head[c][k], Font::Normal));
    }
    for (int row = 0; row < 4; ++row) {
        for (int c = 0; c < 4; ++c)
            page.push_back(text(columnX[c], 260 + 20 * row, sheet.rows[row][c], Font::Normal));
    }
    return {page};
}

std::vector<Page> notePages(const PageFormat& format, const QString& title, const QStringList& lines)
{
    Page first;
    first.push_back(text(60, 30, title, Font::Title));
    if (lines.isEmpty()) {
        first.push_back(text(60, 60, QStringLiteral("Keine Eintragungen vorhanden !"), Font::Small));
        return {first};
    }
    LineCounter counter(format.height, format.unit());
    return linedPages(
        std::move(first), std::vector<QString>(lines.begin(), lines.end()),
        [](Page& page, const LineCounter& at, const QString& line) {
            page.push_back(text(60, at.textTop(), line, Font::Small));
        },
        counter);
}

std::vector<Page> foodPages(const PageFormat& format, const QString& title,
                            const std::vector<std::array<QString, 7>>& rows, const diary::DayTotals& totals,
                            bool kcal)
{
    Page first;
    first.push_back(text(60, 30, title, Font::Title));
    first.push_back(box(59, 54, 496, 75));
    LineCounter counter(format.height, format.unit());
    // Printed order: quantity, unit, food, energy, fat, protein, carbohydrate.
    // A long food name ends at its cell instead of running over the energy.
    struct Cell
    {
        int column, x, right;
    };
    static constexpr Cell kCells[] = {{0, 65, 105},  {1, 110, 135}, {2, 140, 295}, {3, 300, 345},
                                      {6, 350, 395}, {4, 400, 445}, {5, 450, 495}};
    std::vector<Page> pages = linedPages(
        std::move(first), rows,
        [](Page& page, const LineCounter& at, const std::array<QString, 7>& row) {
            ruledRow(page, at.top(), 495, {{105, 135}, {295, 345}, {395, 445}});
            for (const Cell& cell : kCells)
                page.push_back(text(cell.x, at.textTop(), row[cell.column], Font::Small, cell.right));
        },
        counter);

    const int r = closeTable(pages, counter, 495);
    const int r20 = 20 * r;
    Page& last = pages.back();
    totalFrame(last, r, 295, 495);
    last.push_back(box(345, r20 + 59, 495, r20 + 79));
    last.push_back(box(395, r20 + 59, 445, r20 + 79));
    const auto grams = [](qint64 g) { return QString::number(g) + QStringLiteral(" g"); };
    last.push_back(text(300, r20 + 63, units::energyText(totals.energy, kcal), Font::Small));
    last.push_back(text(350, r20 + 63, grams(totals.fat), Font::Small));
    last.push_back(text(400, r20 + 63, grams(totals.protein), Font::Small));
    last.push_back(text(450, r20 + 63, grams(totals.carbohydrate), Font::Small));
    return pages;
}

std::vector<Page> activityPages(const PageFormat& format, const QString& title,
                                const std::vector<std::array<QString, 3>>& rows,
                                const diary::DayTotals& totals, bool kcal)
{
    Page first;
    first.push_back(text(60, 30, title, Font::Title));
    first.push_back(box(59, 54, 401, 75));
    LineCounter counter(format.height, format.unit());
    std::vector<Page> pages = linedPages(
        std::move(first), rows,
        [](Page& page, const LineCounter& at, const std::array<QString, 3>& row) {
            ruledRow(page, at.top(), 400, {{110, 320}});
            page.push_back(text(70, at.textTop(), row[0], Font::Normal, 110));
            page.push_back(text(120, at.textTop(), row[1], Font::Normal, 320));
            page.push_back(text(330, at.textTop(), row[2], Font::Normal, 400));
        },
        counter);

    const int r = closeTable(pages, counter, 400);
    Page& last = pages.back();
    totalFrame(last, r, 320, 400);
    last.push_back(text(330, 20 * r + 63, units::energyText(totals.fitness, kcal), Font::Normal));
    return pages;
}

} // namespace report
