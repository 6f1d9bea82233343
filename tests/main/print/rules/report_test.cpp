// The printout as plain geometry: page unit, line counter and page breaks,
// the boxes and texts of each folder, and the energy texts.

#include "diary/rules/numbers.h"
#include "main/print/rules/pdffile.h"
#include "main/print/rules/report.h"
#include "store/error.h"
#include "support/faultfs.h"
#include "support/locale.h"
#include "support/printers.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cerrno>

#include <gtest/gtest.h>

using report::Font;
using report::Op;
using report::Page;
using testing_support::LocaleScope;

namespace {

const Op* textAt(const Page& page, int x, int y)
{
    for (const Op& op : page) {
        if (op.kind == Op::Kind::Text && op.at == QPoint(x, y))
            return &op;
    }
    return nullptr;
}

QString textOf(const Page& page, int x, int y)
{
    const Op* op = textAt(page, x, y);
    return op ? op->text : QStringLiteral("<none>");
}

bool hasBox(const Page& page, int left, int top, int right, int bottom)
{
    for (const Op& op : page) {
        if (op.kind == Op::Kind::Box && op.box == QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)))
            return true;
    }
    return false;
}

bool hasLine(const Page& page, int x1, int y1, int x2, int y2)
{
    for (const Op& op : page) {
        if (op.kind == Op::Kind::Line && op.line == QLine(x1, y1, x2, y2))
            return true;
    }
    return false;
}

int textCount(const Page& page)
{
    return static_cast<int>(
        std::count_if(page.begin(), page.end(), [](const Op& op) { return op.kind == Op::Kind::Text; }));
}

std::vector<std::array<QString, 7>> foodRows(int entries)
{
    std::vector<std::array<QString, 7>> rows = {
        {"Menge", "ME", "Nahrungsmittel", "kJ", "Protein", "Kohlenh.", "Fett"}};
    for (int i = 1; i <= entries; ++i)
        rows.push_back({QString::number(i), "g", QStringLiteral("Speise %1").arg(i), QString::number(100 * i),
                        QStringLiteral("P%1").arg(i), QStringLiteral("K%1").arg(i),
                        QStringLiteral("F%1").arg(i)});
    return rows;
}

// A page of 5000 x h device pixels: u = 10.
report::PageFormat page10(int height = 7070)
{
    return {5000, height};
}

} // namespace

TEST(PageUnit, IsTheWidthDividedBy500Truncated)
{
    EXPECT_EQ(report::pageUnit(4999), 9);
    EXPECT_EQ(report::pageUnit(5000), 10);
    EXPECT_EQ(report::pageUnit(2480), 4);
    EXPECT_EQ(report::pageUnit(499), 0);
}

TEST(LineCounter, BreaksThePageWhenTheNextLineWouldPassItsBottomMargin)
{
    // (20 r + 55) u = 1550 for r = 5 at u = 10: line 5 still fits exactly.
    report::LineCounter counter(1550, 10);
    for (int r = 1; r <= 5; ++r) {
        EXPECT_FALSE(counter.next()) << r;
        EXPECT_EQ(counter.r(), r);
    }
    EXPECT_TRUE(counter.next());
    EXPECT_EQ(counter.r(), 1);
    EXPECT_EQ(counter.top(), 55);
    EXPECT_EQ(counter.textTop(), 60);

    report::LineCounter shorter(1549, 10);
    for (int r = 1; r <= 4; ++r)
        EXPECT_FALSE(shorter.next());
    EXPECT_TRUE(shorter.next());
}

TEST(Titles, NameTheFolderAndTheDayInTheShortDateFormat)
{
    const QDate day(2005, 3, 5);
    {
        LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(report::title(1, day), QStringLiteral("Kelvara: Meine Ziele am 05.03.2005"));
        EXPECT_EQ(report::title(2, day), QStringLiteral("Kelvara: Notizen vom 05.03.2005"));
        EXPECT_EQ(report::title(3, day), QStringLiteral("Kelvara: Nahrungszufuhr am 05.03.2005"));
        EXPECT_EQ(report::title(4, day), QStringLiteral("Kelvara: Fitnessaktivitäten am 05.03.2005"));
        EXPECT_EQ(report::title(5, day), QString());
    }
    {
        LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(report::title(3, day), QStringLiteral("Kelvara: Nahrungszufuhr am 3/5/2005"));
    }
}

TEST(EnergyTexts, ShowTheStoredKilojoulesOrTheKilocaloriesRoundedToEven)
{
    EXPECT_EQ(units::energyText(8000, false), QStringLiteral("8000 kJ"));
    EXPECT_EQ(units::energyText(8000, true), QStringLiteral("1911 kcal")); // 1910.77
    EXPECT_EQ(units::energyText(2093, true), QStringLiteral("500 kcal"));  // 499.90
    EXPECT_EQ(units::energyText(0, true), QStringLiteral("0 kcal"));
    EXPECT_EQ(units::energyText(-419, true), QStringLiteral("-100 kcal"));
}

TEST(PdfName, HoldsTheFolderAndTheDayInIsoForm)
{
    EXPECT_EQ(report::pdfFileName(3, QDate(2006, 7, 8)), QStringLiteral("Kelvara-Nahrung-2006-07-08.pdf"));
    EXPECT_EQ(report::pdfFileName(1, QDate(2002, 1, 1)), QStringLiteral("Kelvara-Ziele-2002-01-01.pdf"));
    EXPECT_EQ(report::pdfFileName(5, QDate(2012, 12, 31)),
              QStringLiteral("Kelvara-Statistik-2012-12-31.pdf"));
}

TEST(PrinterRefusal, NamesThePrinterAndEveryReasonItCannotTakeAJob)
{
    struct Case
    {
        bool accepting;
        int state;
        const char* message;
    };
    const Case cases[] = {
        {true, 3, ""},
        {true, 4, ""},
        {true, 0, ""}, // a printer that does not say
        {false, 3, "Der Drucker \u201EBüro\u201C nimmt zurzeit keine Aufträge an."},
        {true, 5, "Der Drucker \u201EBüro\u201C ist angehalten."},
        {false, 5, "Der Drucker \u201EBüro\u201C ist angehalten und nimmt zurzeit keine Aufträge an."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(report::checkPrinter({QStringLiteral("Büro"), c.accepting, c.state}).message(),
                  QString::fromUtf8(c.message))
            << c.accepting << " " << c.state;
}

TEST(PrintablePage, TurnsThePapersMarginsWithTheOrientation)
{
    // The paper upright: left 1, top 2, right 3, bottom 4.
    const QMarginsF paper(1, 2, 3, 4);
    struct Case
    {
        int orientation;
        QMarginsF page;
        bool landscape;
    };
    const Case cases[] = {
        {3, QMarginsF(1, 2, 3, 4), false},
        {4, QMarginsF(4, 1, 2, 3), true}, // turned left: the top on the paper's left edge
        {5, QMarginsF(2, 3, 4, 1), true},
        {6, QMarginsF(3, 4, 1, 2), false},
        {0, QMarginsF(1, 2, 3, 4), false}, // no orientation given
        {7, QMarginsF(1, 2, 3, 4), false},
    };
    for (const Case& c : cases) {
        const report::PrintablePage page = report::printablePage(paper, c.orientation);
        EXPECT_EQ(page.margins, c.page) << c.orientation;
        EXPECT_EQ(page.landscape, c.landscape) << c.orientation;
    }
}

TEST(NoteSearchMessage, IsThreeLinesJoinedByCarriageReturns)
{
    EXPECT_EQ(
        report::noteSearchMessage().split(u'\r'),
        QStringList({"Druckvorgang hier nicht möglich.", "Bitte wechseln Sie in die Kategorie \"Schreiben\",",
                     "um ihre Notizen auszudrucken."}));
}

TEST(GoalPage, PlacesThePersonalDataAndTheTableOfFourColumns)
{
    report::GoalSheet sheet;
    sheet.personCaptions = {"Geschlecht :", "Lebensalter :", "Tätigkeit :", "Körperhöhe :"};
    sheet.personTexts = {"männlich", "31 ... 60 Jahre", "Leichte Arbeit", "181 cm"};
    sheet.normGewicht = 0;
    sheet.wunschGewicht = "?";
    sheet.rows[0] = {"Nahrungsenergie (kcal) :", "2200", "2100", "1911"};
    sheet.rows[3] = {"Kohlenhydrate (g) :", "300", "280", "250"};
    const std::vector<Page> pages = report::goalPages("Kelvara: Meine Ziele am 08.07.2006", sheet);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];

    ASSERT_NE(textAt(p, 60, 30), nullptr);
    EXPECT_EQ(textAt(p, 60, 30)->font, Font::Title);
    EXPECT_EQ(textOf(p, 60, 60), "Berechnungsgrundlagen :");
    EXPECT_EQ(textOf(p, 60, 120), "Tätigkeit :");
    EXPECT_EQ(textOf(p, 180, 140), "181 cm");
    for (auto [l, t, r, b] : {std::array{59, 194, 501, 341},
                              {60, 195, 199, 255},
                              {200, 195, 500, 255},
                              {300, 195, 400, 255},
                              {60, 256, 199, 340},
                              {200, 256, 500, 340},
                              {300, 256, 400, 340}})
        EXPECT_TRUE(hasBox(p, l, t, r, b)) << l << "," << t << "-" << r << "," << b;
    EXPECT_EQ(textOf(p, 65, 200), "Empfehlung für ");
    EXPECT_EQ(textOf(p, 65, 236), "Nahrungszufuhr : ");
    EXPECT_EQ(textOf(p, 215, 236), "0 kg");
    EXPECT_EQ(textOf(p, 315, 236), "?");
    EXPECT_EQ(textOf(p, 415, 218), "aktuellen ");
    EXPECT_EQ(textOf(p, 65, 260), "Nahrungsenergie (kcal) :");
    EXPECT_EQ(textOf(p, 415, 260), "1911");
    EXPECT_EQ(textOf(p, 315, 320), "280");
    for (const Op& op : p) {
        if (op.kind == Op::Kind::Text && op.at != QPoint(60, 30))
            EXPECT_EQ(op.font, Font::Normal) << op.text.toStdString();
    }
    // Boxes come before the texts they frame.
    const auto firstText =
        std::find_if(p.begin() + 1, p.end(), [](const Op& op) { return op.at.y() >= 194; });
    EXPECT_TRUE(std::none_of(firstText, p.end(), [](const Op& op) { return op.kind == Op::Kind::Box; }));
}

TEST(NotePages, AnEmptyNotePrintsItsPlaceholder)
{
    const std::vector<Page> pages = report::notePages(page10(), "Kelvara: Notizen vom 08.07.2006", {});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(textOf(pages[0], 60, 60), "Keine Eintragungen vorhanden !");
    EXPECT_EQ(textAt(pages[0], 60, 60)->font, Font::Small);
}

TEST(NotePages, ALongNoteContinuesAtSixtyWithoutATitle)
{
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("Zeile %1").arg(i);
    // 7070 / 10 units: 32 lines fit on a page (20 * 32 + 55 = 695 <= 707).
    const std::vector<Page> pages = report::notePages(page10(), "Kelvara: Notizen vom 08.07.2006", lines);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(textOf(pages[0], 60, 30), "Kelvara: Notizen vom 08.07.2006");
    EXPECT_EQ(textOf(pages[0], 60, 60), "Zeile 1");
    EXPECT_EQ(textOf(pages[0], 60, 20 * 32 + 40), "Zeile 32");
    EXPECT_EQ(textCount(pages[0]), 33);
    EXPECT_EQ(textOf(pages[1], 60, 60), "Zeile 33");
    EXPECT_EQ(textOf(pages[1], 60, 20 * 8 + 40), "Zeile 40");
    EXPECT_EQ(textCount(pages[1]), 8);
    EXPECT_EQ(textAt(pages[1], 60, 30), nullptr);
}

TEST(FoodPages, HeaderRowFirstInPrintedColumnOrderThenTotals)
{
    const diary::DayTotals totals{
        .energy = 8001, .protein = 80, .carbohydrate = 300, .fat = 70}; // 1911,03 kcal
    const std::vector<Page> pages =
        report::foodPages(page10(), "Kelvara: Nahrungszufuhr am 08.07.2006", foodRows(2), totals, true);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    EXPECT_TRUE(hasBox(p, 59, 54, 496, 75));
    // r = 1: the header row.
    EXPECT_TRUE(hasBox(p, 60, 55, 495, 75));
    for (auto [l, r] : {std::pair{105, 135}, {295, 345}, {395, 445}})
        EXPECT_TRUE(hasBox(p, l, 55, r, 75));
    EXPECT_TRUE(hasLine(p, 59, 55, 59, 76));
    EXPECT_TRUE(hasLine(p, 496, 55, 496, 76));
    const QStringList header = {"Menge", "ME", "Nahrungsmittel", "kJ", "Fett", "Protein", "Kohlenh."};
    const int xs[] = {65, 110, 140, 300, 350, 400, 450};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(textOf(p, xs[i], 60), header[i]);
    EXPECT_EQ(textOf(p, 140, 80), "Speise 1");
    EXPECT_EQ(textOf(p, 350, 100), "F2");
    EXPECT_EQ(textOf(p, 400, 100), "P2");
    EXPECT_EQ(textOf(p, 450, 100), "K2");
    // Totals after r = 3.
    EXPECT_TRUE(hasLine(p, 59, 116, 496, 116));
    EXPECT_TRUE(hasBox(p, 294, 118, 496, 140));
    EXPECT_TRUE(hasBox(p, 295, 119, 495, 139));
    EXPECT_TRUE(hasBox(p, 345, 119, 495, 139));
    EXPECT_TRUE(hasBox(p, 395, 119, 445, 139));
    EXPECT_EQ(textOf(p, 300, 123), "1911 kcal");
    EXPECT_EQ(textOf(p, 350, 123), "70 g");
    EXPECT_EQ(textOf(p, 400, 123), "80 g");
    EXPECT_EQ(textOf(p, 450, 123), "300 g");
    for (const Op& op : p) {
        if (op.kind == Op::Kind::Text && op.at != QPoint(60, 30))
            EXPECT_EQ(op.font, Font::Small);
    }
}

TEST(FoodPages, ManyEntriesContinueOnANewPageAndTheTotalsFollowTheLastRow)
{
    // Header and 40 entries: 32 lines on the first page, 9 on the second.
    const std::vector<Page> pages = report::foodPages(page10(), "t", foodRows(40), {}, false);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(textOf(pages[0], 140, 20 * 32 + 40), "Speise 31");
    EXPECT_FALSE(hasBox(pages[0], 294, 20 * 32 + 58, 496, 20 * 32 + 80));
    EXPECT_EQ(textAt(pages[1], 60, 30), nullptr);
    EXPECT_FALSE(hasBox(pages[1], 59, 54, 496, 75));
    EXPECT_TRUE(hasBox(pages[1], 60, 55, 495, 75));
    EXPECT_EQ(textOf(pages[1], 140, 60), "Speise 32");
    EXPECT_EQ(textOf(pages[1], 140, 20 * 9 + 40), "Speise 40");
    EXPECT_TRUE(hasBox(pages[1], 294, 20 * 9 + 58, 496, 20 * 9 + 80));
    EXPECT_EQ(textOf(pages[1], 300, 20 * 9 + 63), "0 kJ");
}

// On a page of 721 units the 33 lines of the header and 32 entries fit
// (20 * 33 + 55 = 715), but a totals box right below them would end at 740.
TEST(TotalsBox, GoesToTheTopOfANewPageWhenItWouldPassTheBottom)
{
    struct Case
    {
        bool food;
        int entries;
        std::size_t pages;
        int lastLine;   // r of the last table line, on the page before the totals or on theirs
        int totalsLine; // the r the totals box follows; 0: the top of a new page
    };
    const Case cases[] = {
        {true, 31, 1, 32, 32},  {true, 32, 2, 33, 0},  {true, 33, 2, 1, 1},
        {false, 31, 1, 32, 32}, {false, 32, 2, 33, 0}, {false, 33, 2, 1, 1},
    };
    const report::PageFormat format = page10(7219);
    for (const Case& c : cases) {
        SCOPED_TRACE((c.food ? "food, " : "activities, ") + std::to_string(c.entries) + " entries");
        std::vector<std::array<QString, 3>> activities = {{"Min.", "Aktivität", "kJ"}};
        for (int i = 1; i <= c.entries; ++i)
            activities.push_back({"30", QStringLiteral("Sport %1").arg(i), "500"});
        const std::vector<Page> pages = c.food
                                            ? report::foodPages(format, "t", foodRows(c.entries), {}, false)
                                            : report::activityPages(format, "t", activities, {}, false);
        const int left = c.food ? 295 : 320, right = c.food ? 495 : 400;
        ASSERT_EQ(pages.size(), c.pages);

        // The rule closing the table stays below its last line.
        const Page& table = c.totalsLine == 0 ? pages[pages.size() - 2] : pages.back();
        EXPECT_TRUE(hasLine(table, 59, 20 * c.lastLine + 56, right + 1, 20 * c.lastLine + 56));
        const Page& last = pages.back();
        const int r20 = 20 * c.totalsLine;
        EXPECT_TRUE(hasBox(last, left - 1, r20 + 58, right + 1, r20 + 80));
        EXPECT_TRUE(hasBox(last, left, r20 + 59, right, r20 + 79));
        EXPECT_EQ(textOf(last, c.food ? 300 : 330, r20 + 63), "0 kJ");
        if (c.totalsLine == 0)
            EXPECT_EQ(textCount(last), c.food ? 4 : 1) << "the new page holds the totals only";

        for (std::size_t i = 0; i < pages.size(); ++i) {
            for (const Op& op : pages[i]) {
                const int bottom = op.kind == Op::Kind::Box    ? op.box.bottom() + 1
                                   : op.kind == Op::Kind::Line ? std::max(op.line.y1(), op.line.y2())
                                                               : op.at.y() + 11;
                EXPECT_LE(bottom, 721) << "page " << i + 1 << ": " << op.text.toStdString();
            }
        }
    }
}

TEST(FoodPages, LongCellTextsEndAtTheirCell)
{
    const std::vector<Page> pages = report::foodPages(page10(), "t", foodRows(1), {}, false);
    EXPECT_EQ(textAt(pages[0], 140, 80)->clipRight, 295);
    EXPECT_EQ(textAt(pages[0], 65, 80)->clipRight, 105);
    EXPECT_EQ(textAt(pages[0], 300, 103)->clipRight, 0);
}

TEST(ActivityPages, RowsInThreeCellsThenTheActivityTotal)
{
    const std::vector<std::array<QString, 3>> rows = {{"Min.", "Aktivität", "kJ"},
                                                      {"30", "Radfahren", "1000"},
                                                      {"1440", "Grund- und Arbeitsumsatz", "9000"}};
    const std::vector<Page> pages = report::activityPages(
        page10(), "Kelvara: Fitnessaktivitäten am 08.07.2006", rows, {.fitness = 10000}, false);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    EXPECT_TRUE(hasBox(p, 59, 54, 401, 75));
    for (int r = 1; r <= 3; ++r) {
        EXPECT_TRUE(hasBox(p, 60, 20 * r + 35, 400, 20 * r + 55)) << r;
        EXPECT_TRUE(hasBox(p, 110, 20 * r + 35, 320, 20 * r + 55)) << r;
        EXPECT_TRUE(hasLine(p, 59, 20 * r + 35, 59, 20 * r + 56)) << r;
        EXPECT_TRUE(hasLine(p, 401, 20 * r + 35, 401, 20 * r + 56)) << r;
    }
    EXPECT_EQ(textOf(p, 70, 60), "Min.");
    EXPECT_EQ(textOf(p, 120, 80), "Radfahren");
    EXPECT_EQ(textOf(p, 330, 100), "9000");
    EXPECT_EQ(textAt(p, 120, 100)->font, Font::Normal);
    EXPECT_TRUE(hasLine(p, 59, 116, 401, 116));
    EXPECT_TRUE(hasBox(p, 319, 118, 401, 140));
    EXPECT_TRUE(hasBox(p, 320, 119, 400, 140 - 1));
    EXPECT_EQ(textOf(p, 330, 123), "10000 kJ");
}

// ----- saving a PDF -----

namespace {

class SavedFile : public ::testing::Test
{
protected:
    QString target() const { return QDir(dir.path()).filePath("Kelvara-Nahrung-2006-07-08.pdf"); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QByteArray contents() const
    {
        QFile f(target());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SavedFile, IsWrittenUnderItsNameAndNothingElseRemains)
{
    report::writeWholeFile(target(), QByteArray("%PDF-1.4 neu"));
    EXPECT_EQ(contents(), QByteArray("%PDF-1.4 neu"));
    EXPECT_EQ(entries(), QStringList({"Kelvara-Nahrung-2006-07-08.pdf"}));
}

TEST_F(SavedFile, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryOne)
{
    report::writeWholeFile(target(), QByteArray("%PDF-1.4 alt"));
    testing_support::FaultFileSystem counting;
    report::writeWholeFile(target(), QByteArray("%PDF-1.4 neu"), counting);
    const int calls = counting.calls();
    ASSERT_GE(calls, 5); // create, write, sync, rename, folder sync

    for (int n = 1; n <= calls; ++n) {
        report::writeWholeFile(target(), QByteArray("%PDF-1.4 alt"));
        testing_support::FaultFileSystem failing(testing_support::FaultFileSystem::Mode::Fail, n);
        failing.setFailError(ENOSPC);
        bool thrown = false;
        try {
            report::writeWholeFile(target(), QByteArray("%PDF-1.4 neu"), failing);
        } catch (const store::StoreError& e) {
            thrown = true;
            EXPECT_FALSE(e.text().isEmpty());
            // The user knows the file by its own name only.
            EXPECT_FALSE(e.text().contains(".tmp")) << "call " << n << ": " << e.text().toStdString();
        }
        EXPECT_TRUE(thrown) << "call " << n;
        // Old or new, never a mixture; the temporary file is gone.
        const QByteArray now = contents();
        EXPECT_TRUE(now == "%PDF-1.4 alt" || now == "%PDF-1.4 neu")
            << "call " << n << ": " << now.toStdString();
        EXPECT_EQ(entries(), QStringList({"Kelvara-Nahrung-2006-07-08.pdf"})) << "call " << n;
    }
}

TEST_F(SavedFile, AFolderThatDoesNotExistIsReportedWithTheFileName)
{
    const QString path = QDir(dir.path()).filePath("fehlt/Kelvara.pdf");
    try {
        report::writeWholeFile(path, QByteArray("%PDF"));
        FAIL() << "no error";
    } catch (const store::StoreError& e) {
        EXPECT_TRUE(e.text().startsWith("Kelvara.pdf: ")) << e.text().toStdString();
        EXPECT_FALSE(e.text().contains(".tmp")) << e.text().toStdString();
    }
}
