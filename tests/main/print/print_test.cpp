// The print button through the real window on the demo diary: the pages
// painted on images of known size, the texts of a PDF where they stand, and
// real jobs through a private CUPS scheduler read back with poppler.

#include "controls/stringgrid.h"
#include "install/installer.h"
#include "main/panels.h"
#include "main/print/printout.h"
#include "main/zeb6.h"
#include "store/error.h"
#include "support/printers.h"
#include "support/scheduler.h"
#include "support/window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace testing_support;

namespace {

const QDate kDay(2006, 7, 8);

QString screenshotDir()
{
    const QString dir = QStringLiteral(KELVARA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    return dir;
}

// The demo diary with a person's goals, the window shown on kDay.
class DemoWindow : public ::testing::Test
{
protected:
    void open(bool kcal = false, int desiredWeight = 36)
    {
        window.reset();
        install::layOutDiary(dir.path(), install::Content::Demo);
        writeSettings(dir.path(), {{"CBG", qint64(1)},
                                   {"CBA", qint64(3)},
                                   {"CBB", qint64(1)},
                                   {"CBH", qint64(41)},
                                   {"CBM", qint64(desiredWeight)},
                                   {"EE", QStringLiteral("9200")},
                                   {"EF", QStringLiteral("70")},
                                   {"EP", QStringLiteral("80")},
                                   {"EK", QStringLiteral("300")},
                                   {"EA", qint64(kcal ? 1 : 0)}});
        platform::setToday(kDay);
        window = std::make_unique<TFormMain1>(dir.path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void clickPrint() { QTest::mouseClick(window->SpeedButtonDruck, Qt::LeftButton); }

    QTemporaryDir dir;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

// ----- pages on images -----

// A page of 5000 x 7070 pixels: u = 10, lines 2 pixels wide.
const QSize kPage(5000, 7070);

std::vector<QImage> paintPages(const print::Content& content, QSize size = kPage)
{
    std::vector<QImage> pages;
    const auto blank = [&] {
        pages.emplace_back(size, QImage::Format_RGB32);
        pages.back().fill(Qt::white);
    };
    blank();
    QPainter painter(&pages.back());
    print::paint(painter, size, content, [&] {
        painter.end();
        blank();
        painter.begin(&pages.back());
    });
    painter.end();
    return pages;
}

bool dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

bool inkIn(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (dark(image, x, y))
                return true;
        }
    }
    return false;
}

// The top edge of a box at unit row y, 2 pixels thick, seen at unit column x
// (a box above may end right on top of it).
bool edgeAcross(const QImage& image, int x, int y)
{
    return dark(image, 10 * x + 5, 10 * y) && dark(image, 10 * x + 5, 10 * y + 1) &&
           !dark(image, 10 * x + 5, 10 * y + 2);
}

// The left edge of a box or a vertical line at unit column x.
bool edgeDown(const QImage& image, int x, int y)
{
    return dark(image, 10 * x, 10 * y + 5) && dark(image, 10 * x + 1, 10 * y + 5) &&
           !dark(image, 10 * x + 2, 10 * y + 5);
}

// The right edge of a box that ends before unit column x.
bool edgeBefore(const QImage& image, int x, int y)
{
    return dark(image, 10 * x - 1, 10 * y + 5) && dark(image, 10 * x - 2, 10 * y + 5) &&
           !dark(image, 10 * x - 3, 10 * y + 5);
}

// ----- texts of a PDF -----

// A PDF page 600 pt wide at 1200 dpi without margins: 10000 pixels, u = 20,
// one unit 1.2 pt.
constexpr double kPt = 1.2;

std::vector<PdfWord> wordsOf(const print::Content& content, const QString& file)
{
    const QPageLayout layout(QPageSize(QSizeF(600, 848), QPageSize::Point), QPageLayout::Portrait,
                             QMarginsF());
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(print::pdf(content, layout));
    out.close();
    return pdfWords(file);
}

// The first word `text` on `page` whose top is at or below unit row `fromY`.
const PdfWord* find(const std::vector<PdfWord>& words, const QString& text, int page = 1, int fromY = 0)
{
    for (const PdfWord& w : words) {
        if (w.page == page && w.text == text && w.yMin >= (fromY - 2) * kPt)
            return &w;
    }
    return nullptr;
}

// Whether `text` starts at unit position (x, y), within two units.
::testing::AssertionResult at(const std::vector<PdfWord>& words, const QString& text, int x, int y,
                              int page = 1)
{
    for (const PdfWord& w : words) {
        if (w.page == page && w.text == text && std::abs(w.xMin / kPt - x) <= 2 &&
            std::abs(w.yMin / kPt - y) <= 2)
            return ::testing::AssertionSuccess();
    }
    const PdfWord* near = find(words, text, page);
    return ::testing::AssertionFailure() << text.toStdString() << " not at (" << x << ", " << y << ")"
                                         << (near ? QStringLiteral(" but at (%1, %2)")
                                                        .arg(near->xMin / kPt)
                                                        .arg(near->yMin / kPt)
                                                        .toStdString()
                                                  : std::string(" nowhere"));
}

} // namespace

TEST_F(DemoWindow, FoodPageHeaderFirstThenEveryRowThenTheTotalsBox)
{
    open();
    window->LabelOrdnerClick(3);
    const int rows = window->StringGridNTB->rowCount();
    ASSERT_GE(rows, 3) << "the demo day has food entries";
    const std::vector<QImage> pages = paintPages(window->printContent());
    ASSERT_EQ(pages.size(), 1u);
    const QImage& page = pages[0];

    EXPECT_TRUE(inkIn(page, QRect(600, 300, 2000, 110))) << "title";
    EXPECT_FALSE(inkIn(page, QRect(0, 0, 5000, 295))) << "nothing above the title";
    EXPECT_TRUE(edgeAcross(page, 200, 54)) << "box above the table";
    EXPECT_TRUE(edgeDown(page, 59, 60));
    for (int r = 1; r <= rows; ++r) {
        EXPECT_TRUE(edgeAcross(page, 120, 20 * r + 35)) << "line " << r;
        EXPECT_TRUE(edgeDown(page, 60, 20 * r + 37)) << "line " << r;
        EXPECT_TRUE(edgeDown(page, 105, 20 * r + 37)) << "line " << r;
        EXPECT_TRUE(inkIn(page, QRect(650, 10 * (20 * r + 40), 350, 90))) << "quantity of line " << r;
    }
    // The totals box right below the last line, and nothing further down.
    const int r20 = 20 * rows;
    EXPECT_TRUE(dark(page, 3000, 10 * (r20 + 56)));
    EXPECT_TRUE(edgeAcross(page, 300, r20 + 58));
    EXPECT_TRUE(edgeDown(page, 294, r20 + 60));
    EXPECT_TRUE(inkIn(page, QRect(3000, 10 * (r20 + 63), 400, 90))) << "energy total";
    EXPECT_FALSE(inkIn(page, QRect(0, 10 * (r20 + 81), 5000, 7070 - 10 * (r20 + 81))));
    page.save(screenshotDir() + QStringLiteral("/print-food-image.png"));
}

TEST_F(DemoWindow, FoodTextsStandInThePrintedColumnOrder)
{
    open();
    window->LabelOrdnerClick(3);
    const StringGrid* grid = window->StringGridNTB;
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("food.pdf"));
    EXPECT_TRUE(at(words, "Kelvara:", 60, 30));
    EXPECT_TRUE(at(words, "08.07.2006", 60, 30) || find(words, "08.07.2006"));
    const int xs[] = {65, 110, 140, 300, 400, 450, 350}; // by grid column
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < 7; ++c) {
            const QString first = grid->cell(c, r).simplified().section(u' ', 0, 0);
            ASSERT_FALSE(first.isEmpty()) << "row " << r << " column " << c;
            // The header texts begin with a blank.
            const int blank = grid->cell(c, r).startsWith(u' ') ? 2 : 0;
            EXPECT_TRUE(at(words, first, xs[c] + blank, 20 * (r + 1) + 40)) << "row " << r << " column " << c;
        }
    }
    const int r20 = 20 * grid->rowCount();
    EXPECT_TRUE(at(words, "kJ", 300 + 1, r20 + 63) || find(words, "kJ", 1, r20 + 60));
    const qint64 fat = window->Dbf_ZEB.fieldInt("ZEBFETT");
    EXPECT_TRUE(at(words, QString::number(fat), 350, r20 + 63));
}

TEST_F(DemoWindow, FoodTotalsInKilocaloriesWithTheKcalDisplay)
{
    open(true);
    window->LabelOrdnerClick(3);
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("food.pdf"));
    const int r20 = 20 * window->StringGridNTB->rowCount();
    const qint64 kj = window->Dbf_ZEB.fieldInt("ZEBENERGIE");
    EXPECT_TRUE(at(words, QString::number(qint64(std::nearbyint(kj / 4.1868))), 300, r20 + 63));
    EXPECT_NE(find(words, "kcal", 1, r20 + 60), nullptr);
    EXPECT_EQ(find(words, "kJ", 1, r20 + 60), nullptr);
}

TEST_F(DemoWindow, GoalPageInKilojoules)
{
    open();
    window->LabelOrdnerClick(1);
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("goals.pdf"));
    EXPECT_TRUE(at(words, "Kelvara:", 60, 30));
    EXPECT_TRUE(at(words, "Berechnungsgrundlagen", 60, 60));
    EXPECT_TRUE(at(words, "Geschlecht", 60, 80));
    EXPECT_TRUE(at(words, window->ComboBoxGeschlecht->currentText(), 180, 80));
    EXPECT_TRUE(at(words, "Körperhöhe", 60, 140));
    EXPECT_TRUE(at(words, "Empfehlung", 65, 200));
    EXPECT_TRUE(at(words, "Nahrungszufuhr", 65, 236));
    EXPECT_TRUE(at(words, "Normal-", 215, 200));
    EXPECT_TRUE(at(words, QString::number(window->NormGewicht), 215, 236));
    EXPECT_TRUE(at(words, window->ComboBoxGewicht->currentText().section(u' ', 0, 0), 315, 236));
    EXPECT_TRUE(at(words, "aktuellen", 415, 218));
    EXPECT_TRUE(at(words, "Nahrungsenergie", 65, 260));
    EXPECT_NE(find(words, "(kJ)"), nullptr);
    EXPECT_TRUE(at(words, window->LabelEnergie1->text(), 215, 260));
    EXPECT_TRUE(at(words, "9200", 415, 260));
    EXPECT_TRUE(at(words, "Kohlenhydrate", 65, 320));
    EXPECT_TRUE(at(words, "300", 415, 320));
}

TEST_F(DemoWindow, GoalPageInKilocaloriesPrintsTheKcalLabelsAndGoal)
{
    open(true);
    window->LabelOrdnerClick(1);
    ASSERT_NE(window->LabelEnergie1cal->text(), window->LabelEnergie1->text());
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("goals.pdf"));
    EXPECT_NE(find(words, "(kcal)"), nullptr);
    EXPECT_TRUE(at(words, window->LabelEnergie1cal->text(), 215, 260));
    EXPECT_TRUE(at(words, window->LabelEnergie2cal->text(), 315, 260));
    EXPECT_TRUE(at(words, window->EditEnergieCal->text(), 415, 260));
}

TEST_F(DemoWindow, GoalPageBoxesFormFourColumns)
{
    open();
    window->LabelOrdnerClick(1);
    const QImage page = paintPages(window->printContent())[0];
    EXPECT_TRUE(dark(page, 1000, 1940) && dark(page, 1000, 1941)) << "outer box at 194";
    EXPECT_TRUE(edgeAcross(page, 100, 195));
    EXPECT_TRUE(dark(page, 590, 2000) && dark(page, 591, 2000)) << "outer box at 59";
    EXPECT_TRUE(edgeDown(page, 60, 200));
    for (int y : {200, 300}) {
        EXPECT_TRUE(edgeBefore(page, 199, y)) << y;
        EXPECT_TRUE(edgeDown(page, 200, y)) << y;
        EXPECT_TRUE(edgeDown(page, 300, y)) << y;
        EXPECT_TRUE(edgeBefore(page, 400, y)) << y;
        EXPECT_TRUE(edgeBefore(page, 500, y)) << y;
    }
    EXPECT_TRUE(edgeAcross(page, 100, 256));
    EXPECT_TRUE(dark(page, 3000, 3408) && dark(page, 3000, 3409)) << "outer box bottom edge before 341";
    EXPECT_FALSE(inkIn(page, QRect(0, 3410, 5000, 7070 - 3410))) << "nothing below the table";
}

TEST_F(DemoWindow, NoDesiredWeightPrintsTheNormalWeightAsZero)
{
    open();
    window->LabelOrdnerClick(1);
    window->ComboBoxGewicht->setCurrentIndex(0);
    window->ComboBoxZieleClick(window->ComboBoxGewicht);
    ASSERT_NE(window->NormGewicht, 0) << "the normal weight stays from the personal data";
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("goals.pdf"));
    EXPECT_EQ(window->NormGewicht, 0);
    EXPECT_TRUE(at(words, "0", 215, 236));
    EXPECT_TRUE(at(words, "?", 315, 236));
}

TEST_F(DemoWindow, ActivityPageWithItsTotal)
{
    open();
    window->LabelOrdnerClick(4);
    const StringGrid* grid = window->StringGridFTB;
    const int rows = grid->rowCount();
    const QImage page = paintPages(window->printContent())[0];
    EXPECT_TRUE(edgeAcross(page, 200, 54));
    for (int r = 1; r <= rows; ++r) {
        EXPECT_TRUE(edgeDown(page, 60, 20 * r + 37)) << r;
        EXPECT_TRUE(edgeDown(page, 110, 20 * r + 37)) << r;
        EXPECT_TRUE(edgeBefore(page, 320, 20 * r + 37)) << r;
        EXPECT_TRUE(edgeBefore(page, 400, 20 * r + 37)) << r;
        EXPECT_TRUE(edgeDown(page, 401, 20 * r + 37)) << r;
    }
    EXPECT_TRUE(edgeAcross(page, 330, 20 * rows + 58));

    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("activity.pdf"));
    for (int r = 0; r < rows; ++r)
        EXPECT_TRUE(at(words, grid->cell(1, r).simplified().section(u' ', 0, 0),
                       120 + (grid->cell(1, r).startsWith(u' ') ? 2 : 0), 20 * (r + 1) + 40))
            << r;
    EXPECT_TRUE(at(words, QString::number(window->Dbf_ZEB.fieldInt("ZEBFITNESS")), 330, 20 * rows + 63));
    EXPECT_NE(find(words, "kJ", 1, 20 * rows + 60), nullptr);
}

TEST_F(DemoWindow, ActivityTotalInKilocaloriesWithTheKcalDisplay)
{
    open(true);
    window->LabelOrdnerClick(4);
    const int r20 = 20 * window->StringGridFTB->rowCount();
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("activity.pdf"));
    const qint64 kj = window->Dbf_ZEB.fieldInt("ZEBFITNESS");
    EXPECT_TRUE(at(words, QString::number(qint64(std::nearbyint(kj / 4.1868))), 330, r20 + 63));
    EXPECT_NE(find(words, "kcal", 1, r20 + 60), nullptr);
    EXPECT_EQ(find(words, "kJ", 1, r20 + 60), nullptr);
}

TEST_F(DemoWindow, AnEmptyNotePrintsItsPlaceholder)
{
    open();
    window->LabelOrdnerClick(2);
    window->MemoNotiz->setPlainText(QString());
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("note.pdf"));
    EXPECT_TRUE(at(words, "Notizen", 60 + 1, 30) || find(words, "Notizen"));
    EXPECT_TRUE(at(words, "Keine", 60, 60));
    EXPECT_NE(find(words, "!"), nullptr);
}

TEST_F(DemoWindow, ALongNoteContinuesAtSixtyWithoutATitle)
{
    open();
    window->LabelOrdnerClick(2);
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("Zeile%1").arg(i);
    window->MemoNotiz->setPlainText(lines.join(u'\n'));
    const std::vector<QImage> pages = paintPages(window->printContent());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(inkIn(pages[0], QRect(600, 300, 2000, 110)));
    EXPECT_FALSE(inkIn(pages[1], QRect(0, 0, 5000, 590))) << "no title on the second page";
    EXPECT_TRUE(inkIn(pages[1], QRect(600, 600, 600, 90)));

    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("note.pdf"));
    // 848 pt is 14133 pixels, u = 20: 32 lines fit the first page.
    EXPECT_TRUE(at(words, "Zeile1", 60, 60));
    EXPECT_TRUE(at(words, "Zeile32", 60, 20 * 32 + 40));
    EXPECT_TRUE(at(words, "Zeile33", 60, 60, 2));
    EXPECT_EQ(find(words, "Kelvara:", 2), nullptr);
}

TEST_F(DemoWindow, ALongParagraphIsBrokenAtBlanksInsideThePage)
{
    open();
    window->LabelOrdnerClick(2);
    QString paragraph;
    for (int i = 1; i <= 60; ++i)
        paragraph += QStringLiteral("Wort%1 ").arg(i);
    window->MemoNotiz->setPlainText(paragraph);
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("note.pdf"));
    int lines = 0;
    for (const PdfWord& w : words) {
        EXPECT_LE(w.xMax, 496 * kPt) << w.text.toStdString();
        if (w.text.startsWith("Wort") && std::abs(w.xMin / kPt - 60) <= 2)
            ++lines;
    }
    EXPECT_GE(lines, 3);
    EXPECT_TRUE(at(words, "Wort1", 60, 60));
    EXPECT_NE(find(words, "Wort60"), nullptr);
}

TEST_F(DemoWindow, NoteLinesKeepTheirLeadingBlanks)
{
    open();
    QImage device(10, 10, QImage::Format_RGB32);
    QString wrapped = QStringLiteral("  ");
    for (int i = 1; i <= 40; ++i)
        wrapped += QStringLiteral("Wort%1 ").arg(i);
    struct Case
    {
        QString note;
        QStringList lines; // empty: only the first line is checked
    };
    const Case cases[] = {
        {"   eingerückt", {"   eingerückt"}},
        {"Liste:\n  - Brot\n    - Butter", {"Liste:", "  - Brot", "    - Butter"}},
        {"Ende   \n   ", {"Ende", ""}},
        {wrapped, {}},
    };
    for (const Case& c : cases) {
        const QStringList lines = print::noteLines(c.note, 10, &device);
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(lines, c.lines) << c.note.toStdString();
            continue;
        }
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("  Wort1 "))) << lines[0].toStdString();
        for (int i = 1; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(QStringLiteral("Wort"))) << lines[i].toStdString();
    }

    // On paper too: the word stands where the blanks put it.
    window->LabelOrdnerClick(2);
    window->MemoNotiz->setPlainText(QStringLiteral("bündig\n        eingerückt"));
    const std::vector<PdfWord> words = wordsOf(window->printContent(), dir.filePath("note.pdf"));
    const PdfWord* flush = find(words, "bündig");
    const PdfWord* indented = find(words, "eingerückt");
    ASSERT_TRUE(flush && indented);
    EXPECT_NEAR(flush->xMin / kPt, 60, 2);
    EXPECT_GT(indented->xMin / kPt, 60 + 10);
}

// A text longer than its printed cell ends in "…" inside the cell; a text
// that fits is printed as it stands.
TEST_F(DemoWindow, ANameLongerThanItsCellEndsInAnEllipsis)
{
    open();
    struct Case
    {
        int folder;
        QString name;
        bool fits;
    };
    const Case cases[] = {
        {3, "Apfel", true},
        {3, "Bauernbrot, Scheibe", true},
        {3, "Bauernbrot, Scheibe, mit Butter, Schnittlauch und Gouda belegt", false},
        {3, "Mineralwasser,kohlensäurehaltig,ohneZuckerundohneAromastoffe", false},
        {4, "Radfahren", true},
        {4, "Gartenarbeit: Umgraben, Hacken, Rasenmähen mit dem Handmäher", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        print::Content content;
        content.folder = c.folder;
        content.title = QStringLiteral("Kelvara:");
        int x = 140, right = 295; // the food's cell
        if (c.folder == 3) {
            content.food = {{"Menge", "ME", "Nahrungsmittel", "kJ", "Protein", "Kohlenh.", "Fett"},
                            {"100", "g", c.name, "1000", "1", "2", "3"}};
        } else {
            content.activities = {{"Min.", "Aktivität", "kJ"}, {"30", c.name, "1000"}};
            x = 120;
            right = 320;
        }
        const std::vector<PdfWord> words = wordsOf(content, dir.filePath("cell.pdf"));
        // The entry's line is r = 2, its text at y 80.
        QStringList printed;
        double xMax = 0;
        for (const PdfWord& w : words) {
            if (std::abs(w.yMin / kPt - 80) <= 3 && w.xMin / kPt >= x - 1 && w.xMin / kPt < right) {
                printed << w.text;
                xMax = std::max(xMax, w.xMax);
            }
        }
        ASSERT_FALSE(printed.isEmpty());
        EXPECT_LE(xMax / kPt, right) << printed.join(u' ').toStdString();
        if (c.fits) {
            EXPECT_EQ(printed.join(u' '), c.name);
        } else {
            const QString shown = printed.join(u' ');
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(c.name.startsWith(shown.chopped(1).trimmed())) << shown.toStdString();
            EXPECT_GT(shown.size(), 10) << "as much of the name as fits";
        }
    }
}

// On paper the chart stands in the page's printable area at its left edge:
// what of the date band lies left of the chart (the box and label of a
// month begun before the first day) is cut at the chart's frame, as the
// screen's picture cuts it.
TEST_F(DemoWindow, TheChartsFirstMonthLabelIsClippedToTheChartFrame)
{
    open();
    window->LabelOrdnerClick(5);
    // A window that starts in the middle of a month, at a day a unit: the
    // month's box begins 4 to 19 units left of the chart and its label
    // "M.YY" reaches across the frame.
    window->ZoomStufeX = 1;
    int p = 0;
    while (window->ErstesDatum.addDays(7 * p).day() < 5 || window->ErstesDatum.addDays(7 * p).day() > 20)
        ++p;
    window->ScrollBarStatistikX->setValue(p);
    const QSize page(5130, 7000); // q = 10
    const int margin = 300;
    QImage sheet(page + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.translate(margin, margin);
    print::paint(painter, page, window->printContent(), [] {});
    painter.end();
    sheet.save(screenshotDir() + QStringLiteral("/print-chart-margin.png"));

    EXPECT_TRUE(inkIn(sheet, QRect(margin, margin + 4700, 5, 160))) << "the chart's left frame";
    EXPECT_TRUE(inkIn(sheet, QRect(margin + 15, margin + 4710, 45, 110))) << "the label's part inside";
    EXPECT_FALSE(inkIn(sheet, QRect(0, 0, margin, sheet.height()))) << "nothing left of the frame";
    EXPECT_FALSE(inkIn(sheet, QRect(0, 0, sheet.width(), margin))) << "nothing above it";
}

TEST_F(DemoWindow, TheNoteSearchShowsTheMessageAndPrintsNothing)
{
    open();
    window->LabelOrdnerClick(2);
    window->ListeNotizClick(false);
    clickPrint();
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(seams.messages[0], QStringLiteral("Druckvorgang hier nicht möglich.\rBitte wechseln Sie in die "
                                                "Kategorie \"Schreiben\",\rum ihre Notizen auszudrucken."));
    EXPECT_TRUE(seams.proposedFiles.isEmpty()) << "no PDF offered either";
}

// ----- through a private print server -----

namespace {

class PrintServer : public DemoWindow
{
protected:
    static void SetUpTestSuite() { scheduler = new PrivateScheduler; }
    static void TearDownTestSuite()
    {
        delete scheduler;
        scheduler = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(scheduler->error().isEmpty()) << scheduler->error().toStdString();
        const QString error = scheduler->addQueue("Kelvara", 300);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        QFile::remove(scheduler->output("Kelvara"));
    }
    void TearDown() override { scheduler->removeQueue("Kelvara"); }

    // The job's file once every job is done.
    QString printed(const QString& queue = "Kelvara")
    {
        EXPECT_TRUE(scheduler->waitUntilIdle());
        return scheduler->output(queue);
    }

    // The diary folder's files with their sizes and times.
    QStringList diaryFolder() const
    {
        QStringList state;
        for (const QFileInfo& f :
             QDir(dir.path())
                 .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
            state << f.fileName() + u' ' + QString::number(f.size()) + u' ' +
                         f.lastModified().toString(Qt::ISODateWithMs);
        return state;
    }

    // Clicks print with the temporary folder on an empty one of its own;
    // what was left there.
    QStringList clickPrintLeavingInTemp()
    {
        QTemporaryDir tmp;
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp.path().toLocal8Bit());
        clickPrint();
        if (saved.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", saved);
        return QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // Jobs not yet done, held or waiting.
    QString waitingJobs() const { return scheduler->run("lpstat", {"-o"}).trimmed(); }

    static PrivateScheduler* scheduler;
};

PrivateScheduler* PrintServer::scheduler = nullptr;

} // namespace

TEST_F(PrintServer, OneClickGivesOneJobWithTheTitleAndTheRowsInPrintedOrder)
{
    open();
    window->LabelOrdnerClick(3);
    const int before = scheduler->jobs().size();
    const QStringList diary = diaryFolder();
    EXPECT_EQ(clickPrintLeavingInTemp(), QStringList()) << "no temporary file left";
    EXPECT_EQ(diaryFolder(), diary) << "nothing written in the diary folder";
    EXPECT_EQ(scheduler->jobs().size(), before + 1);
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
    const QString text = pdfText(printed());
    EXPECT_EQ(scheduler->jobs().size(), before + 1);
    EXPECT_TRUE(text.contains("Kelvara: Nahrungszufuhr am 08.07.2006")) << text.toStdString();

    const StringGrid* grid = window->StringGridNTB;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c : {0, 1, 2, 3, 6, 4, 5})
            cells << QRegularExpression::escape(grid->cell(c, r));
        const QRegularExpression line(cells.join(QStringLiteral("\\s+")));
        EXPECT_TRUE(text.contains(line)) << "row " << r << ": " << line.pattern().toStdString();
    }
    EXPECT_EQ(pdfInfo(printed(), "Pages"), "1");
}

TEST_F(PrintServer, CtrlPPrintsTheFolderInFrontAsTheButtonDoes)
{
    open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->windowHandle(), Qt::Key_3, Qt::ControlModifier);
    ASSERT_EQ(window->AktuellerOrdner, 3);
    const int before = scheduler->jobs().size();
    QTest::keyClick(window->windowHandle(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(scheduler->jobs().size(), before + 1);
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
    const QString text = pdfText(printed());
    EXPECT_TRUE(text.contains("Kelvara: Nahrungszufuhr am 08.07.2006")) << text.toStdString();
}

TEST_F(PrintServer, TheChartPageCarriesItsCaption)
{
    open();
    window->LabelOrdnerClick(5);
    const int before = scheduler->jobs().size();
    clickPrint();
    EXPECT_EQ(scheduler->jobs().size(), before + 1);
    const QString text = pdfText(printed()).simplified();
    EXPECT_TRUE(text.contains(window->PanelStatistikCaption->text().simplified())) << text.toStdString();
}

TEST_F(PrintServer, ALongNoteIsOneJobOfTwoPages)
{
    open();
    window->LabelOrdnerClick(2);
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("Zeile%1").arg(i);
    window->MemoNotiz->setPlainText(lines.join(u'\n'));
    const int before = scheduler->jobs().size();
    clickPrint();
    EXPECT_EQ(scheduler->jobs().size(), before + 1);
    EXPECT_EQ(pdfInfo(printed(), "Pages"), "2");
    const QString text = pdfText(printed());
    EXPECT_LT(text.indexOf("Zeile1\n"), text.indexOf("\f"));
    EXPECT_GT(text.indexOf("Zeile60"), text.indexOf("\f"));
}

TEST_F(PrintServer, TheNoteSearchStartsNoJob)
{
    open();
    window->LabelOrdnerClick(2);
    window->ListeNotizClick(false);
    const int before = scheduler->jobs().size();
    clickPrint();
    EXPECT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(scheduler->jobs().size(), before);
}

// The box above the food table where the unit puts it: the queue's page is
// A4 with the printable area from (18, 36) pt, 559 pt wide; on the 1200 dpi
// layout grid u = 9316 div 500 = 18, one unit 1.08 pt.
TEST_F(PrintServer, PixelsOfTheJobStandWhereTheUnitPutsThem)
{
    open();
    window->LabelOrdnerClick(3);
    clickPrint();
    const QString png = dir.filePath("page");
    ASSERT_TRUE(renderPdfPage(printed(), 1, 144, png));
    const QImage page(png + ".png");
    ASSERT_EQ(page.width(), 1190); // 595 pt at 2 pixels per point
    const auto px = [](double pt) { return int(pt * 2); };
    const double unit = 1.08;
    // The left edge of the box (59, 54)-(496, 75) and of the first line.
    const int y = px(36 + 65 * unit);
    bool edge = false;
    for (int x = px(18 + 59 * unit) - 2; x <= px(18 + 59 * unit) + 2; ++x)
        edge = edge || dark(page, x, y);
    EXPECT_TRUE(edge);
    EXPECT_FALSE(dark(page, px(18 + 57 * unit), y));
    // Its top edge at 54, the title's ink between 30 and 41.
    bool top = false;
    for (int yy = px(36 + 54 * unit) - 2; yy <= px(36 + 54 * unit) + 2; ++yy)
        top = top || dark(page, px(18 + 200 * unit), yy);
    EXPECT_TRUE(top);
    EXPECT_TRUE(inkIn(page, QRect(px(18 + 60 * unit), px(36 + 30 * unit), px(100 * unit), px(11 * unit))));
    EXPECT_FALSE(inkIn(page, QRect(0, 0, page.width(), px(36 + 29 * unit))));
    page.save(screenshotDir() + "/print-food-positions.png");
}

TEST_F(PrintServer, ThreeAndSixHundredDpiGiveTheSamePage)
{
    open();
    window->LabelOrdnerClick(3);
    clickPrint();
    const std::vector<PdfWord> at300 = pdfWords(printed());
    ASSERT_EQ(scheduler->addQueue("Kelvara600", 600), QString());
    clickPrint();
    const std::vector<PdfWord> at600 = pdfWords(printed("Kelvara600"));
    scheduler->removeQueue("Kelvara600");
    ASSERT_FALSE(at300.empty());
    ASSERT_EQ(at300.size(), at600.size());
    for (std::size_t i = 0; i < at300.size(); ++i) {
        EXPECT_EQ(at300[i].text, at600[i].text);
        EXPECT_NEAR(at300[i].xMin, at600[i].xMin, 0.5) << at300[i].text.toStdString();
        EXPECT_NEAR(at300[i].yMin, at600[i].yMin, 0.5) << at300[i].text.toStdString();
    }
}

TEST_F(PrintServer, WithoutAPrinterTheSamePagesAreSavedAsAPdf)
{
    scheduler->removeQueue("Kelvara");
    open();
    window->LabelOrdnerClick(3);
    const QString target = dir.filePath("Ausdruck.pdf");
    seams.saveAs = target;
    const int before = scheduler->jobs().size();
    clickPrint();
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(seams.messages[0], "Es ist kein Drucker eingerichtet.\r"
                                 "Sie können den Ausdruck stattdessen als PDF-Datei speichern.");
    ASSERT_EQ(seams.proposedFiles.size(), 1);
    EXPECT_EQ(seams.proposedFiles[0], QDir(scheduler->home()).filePath("Kelvara-Nahrung-2006-07-08.pdf"));
    EXPECT_EQ(scheduler->jobs().size(), before);
    EXPECT_EQ(pdfInfo(target, "Pages"), "1");
    EXPECT_TRUE(pdfInfo(target, "Page size").startsWith("595")) << pdfInfo(target, "Page size").toStdString();
    EXPECT_TRUE(pdfText(target).contains("Kelvara: Nahrungszufuhr am 08.07.2006"));
    EXPECT_FALSE(QFile::exists(target + ".tmp"));
}

TEST_F(PrintServer, ANameWithoutSuffixIsSavedAsPdf)
{
    scheduler->removeQueue("Kelvara");
    open();
    window->LabelOrdnerClick(5);
    seams.saveAs = dir.filePath("Statistik");
    clickPrint();
    EXPECT_EQ(seams.messages.size(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("Statistik")));
    EXPECT_EQ(pdfInfo(dir.filePath("Statistik.pdf"), "Pages"), "1");
    EXPECT_TRUE(pdfText(dir.filePath("Statistik.pdf"))
                    .simplified()
                    .contains(window->PanelStatistikCaption->text().simplified()));
}

TEST_F(PrintServer, CancellingTheFileDialogWritesNothing)
{
    scheduler->removeQueue("Kelvara");
    open();
    window->LabelOrdnerClick(1);
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    seams.saveAs.clear();
    clickPrint();
    EXPECT_EQ(seams.messages.size(), 1);
    ASSERT_EQ(seams.proposedFiles.size(), 1);
    EXPECT_TRUE(seams.proposedFiles[0].endsWith("/Kelvara-Ziele-2006-07-08.pdf"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    EXPECT_FALSE(QFile::exists(seams.proposedFiles[0]));
}

TEST_F(PrintServer, AFailedSaveNamesTheChosenFileAndOffersTheDialogAgain)
{
    scheduler->removeQueue("Kelvara");
    open();
    window->LabelOrdnerClick(1);
    QTemporaryDir out;
    const QString missing = QDir(out.path()).filePath("fehlt/Ziele.pdf");
    const QString good = QDir(out.path()).filePath("Ziele.pdf");
    QStringList answers = {missing, good};
    QStringList proposed;
    platform::setSaveDialogHandler([&](const QString& p) {
        proposed << p;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
    clickPrint();
    ASSERT_EQ(seams.messages.size(), 2);
    EXPECT_TRUE(seams.messages[1].contains(missing)) << seams.messages[1].toStdString();
    EXPECT_FALSE(seams.messages[1].contains(".tmp")) << seams.messages[1].toStdString();
    ASSERT_EQ(proposed.size(), 2) << "the dialog again after the failure";
    EXPECT_EQ(proposed[1], missing) << "on the file chosen";
    EXPECT_EQ(pdfInfo(good, "Pages"), "1");
    EXPECT_FALSE(QDir(out.path()).exists("fehlt"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Ziele.pdf"}));
}

// Without a documents folder the dialog starts at home, never in the diary
// folder the program runs in.
TEST_F(PrintServer, TheSaveDialogStartsInTheDocumentsFolderOrAtHome)
{
    scheduler->removeQueue("Kelvara");
    open();
    window->LabelOrdnerClick(4);
    const QString home = scheduler->home();
    ASSERT_EQ(QDir::homePath(), home);
    for (const bool documents : {true, false}) {
        SCOPED_TRACE(documents ? "with Documents" : "without Documents");
        if (documents)
            ASSERT_TRUE(QDir(home).mkpath("Documents"));
        else
            ASSERT_TRUE(QDir(home + "/Documents").removeRecursively());
        seams.proposedFiles.clear();
        clickPrint();
        ASSERT_EQ(seams.proposedFiles.size(), 1);
        EXPECT_EQ(seams.proposedFiles[0],
                  home + (documents ? "/Documents" : "") + "/Kelvara-Aktivität-2006-07-08.pdf");
    }
}

// The print system asked before the job, and the job's taking checked: a
// printer that cannot print is named with the reason, the PDF is offered,
// and no job waits for ever.
TEST_F(PrintServer, APrinterThatCannotTakeTheJobIsNamedWithTheReasonAndThePdfFollows)
{
    const QString user = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    const auto denyUser = [&] { scheduler->run("lpadmin", {"-p", "Kelvara", "-u", "deny:" + user}); };
    struct Case
    {
        const char* name;
        std::function<void()> refuse;
        const char* message; // the first line
        bool reasonFollows;  // a second line with the print system's words
    };
    const Case cases[] = {
        {"rejecting jobs", [] { scheduler->run("cupsreject", {"Kelvara"}); },
         "Der Drucker \u201EKelvara\u201C nimmt zurzeit keine Aufträge an.", false},
        {"stopped", [] { scheduler->run("cupsdisable", {"Kelvara"}); },
         "Der Drucker \u201EKelvara\u201C ist angehalten.", false},
        {"PRINTER names a missing queue", [] { qputenv("PRINTER", "Fehlt"); },
         "Den Drucker \u201EFehlt\u201C, den die Umgebungsvariable PRINTER als Standarddrucker nennt, "
         "gibt es nicht.",
         false},
        {"LPDEST names a missing queue", [] { qputenv("LPDEST", "Fehlt"); },
         "Den Drucker \u201EFehlt\u201C, den die Umgebungsvariable LPDEST als Standarddrucker nennt, "
         "gibt es nicht.",
         false},
        {"no queue at all", [] { scheduler->removeQueue("Kelvara"); }, "Es ist kein Drucker eingerichtet.",
         false},
        {"the user may not print", denyUser,
         "Der Drucker \u201EKelvara\u201C kann den Ausdruck nicht annehmen.", true},
        {"the document is refused after the job was made",
         [] { scheduler->addQueue("Kelvara", 300, {}, "image/x-kelvara"); },
         "Der Drucker \u201EKelvara\u201C kann den Ausdruck nicht annehmen.", true},
    };
    open();
    window->LabelOrdnerClick(3);
    QTemporaryDir out;
    const QString target = QDir(out.path()).filePath("Ausdruck.pdf");
    const QStringList diary = diaryFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(scheduler->addQueue("Kelvara"), QString());
        QFile::remove(scheduler->output("Kelvara"));
        QFile::remove(target);
        seams.messages.clear();
        seams.proposedFiles.clear();
        seams.saveAs = target;
        c.refuse();
        const QStringList left = clickPrintLeavingInTemp();
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");

        ASSERT_EQ(seams.messages.size(), 1);
        const QStringList lines = seams.messages[0].split(u'\r');
        EXPECT_EQ(lines.first(), QString::fromUtf8(c.message));
        EXPECT_EQ(lines.last(), "Sie können den Ausdruck stattdessen als PDF-Datei speichern.");
        EXPECT_EQ(lines.size(), c.reasonFollows ? 3 : 2) << seams.messages[0].toStdString();
        EXPECT_EQ(seams.proposedFiles.size(), 1);
        EXPECT_EQ(pdfInfo(target, "Pages"), "1");
        EXPECT_EQ(waitingJobs(), QString());
        EXPECT_FALSE(QFile::exists(scheduler->output("Kelvara")));
        EXPECT_EQ(left, QStringList());
        EXPECT_EQ(diaryFolder(), diary);
        scheduler->removeQueue("Kelvara");
    }
}

// The job is laid out on the queue's default paper in its default
// orientation, whether the queue or the user's lpoptions set it; the page's
// unit follows the printable width, 18 pt and 36 pt from the paper's edges.
TEST_F(PrintServer, TheJobTakesThePrintersDefaultPaperAndOrientation)
{
    struct Case
    {
        const char* name;
        QStringList queue; // lpadmin options
        const char* lpoptions;
        const char* pageSize; // pdfinfo
        double left, top;     // the printable area's corner on the page, pt
    };
    const QStringList a5 = {"-o", "media-default=iso_a5_148x210mm"};
    const QStringList landscape = {"-o", "orientation-requested-default=4"};
    const Case cases[] = {
        {"A4 upright", {}, "", "595 x 842", 18, 36},
        {"landscape by the queue", landscape, "", "842 x 595", 36, 18},
        {"landscape by lpoptions", {}, "Dest Kelvara orientation-requested=4", "842 x 595", 36, 18},
        {"A5 by the queue", a5, "", "420 x 595", 18, 36},
        {"A5 landscape", a5 + landscape, "", "595 x 420", 36, 18},
    };
    open();
    window->LabelOrdnerClick(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(scheduler->addQueue("Kelvara", 300, c.queue), QString());
        ASSERT_TRUE(scheduler->setLpoptions(QString::fromUtf8(c.lpoptions)));
        QFile::remove(scheduler->output("Kelvara"));
        seams.messages.clear();
        clickPrint();
        scheduler->setLpoptions(QString());
        EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
        const QString job = printed();
        const QString size = pdfInfo(job, "Page size");
        EXPECT_TRUE(size.startsWith(c.pageSize)) << size.toStdString();
        EXPECT_EQ(pdfInfo(job, "Page rot"), "0");

        // u = printable width at 1200 dpi div 500, in points.
        const double width = size.section(' ', 0, 0).toDouble() - 2 * c.left;
        const double unit = int(width / 72 * 1200) / 500 * 72.0 / 1200;
        const std::vector<PdfWord> words = pdfWords(job);
        const auto title =
            std::find_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "Kelvara:"; });
        ASSERT_NE(title, words.end());
        EXPECT_NEAR(title->xMin, c.left + 60 * unit, 2 * unit);
        EXPECT_NEAR(title->yMin, c.top + 30 * unit, 2 * unit);
        scheduler->removeQueue("Kelvara");
    }
}

// On a landscape page the chart is scaled by the page's height
// (q = 9316 div 487 = 19 on A4 at 1200 dpi), so that it fits the page.
TEST_F(PrintServer, TheChartOnALandscapePageIsScaledByThePagesHeight)
{
    ASSERT_EQ(scheduler->addQueue("Kelvara", 300, {"-o", "orientation-requested-default=4"}), QString());
    open();
    window->LabelOrdnerClick(5);
    clickPrint();
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
    const QString job = printed();
    EXPECT_TRUE(pdfInfo(job, "Page size").startsWith("842 x 595"));
    const std::vector<PdfWord> words = pdfWords(job);
    ASSERT_FALSE(words.empty());
    const double q = 19 * 72.0 / 1200; // one chart unit in points
    const QString caption = window->PanelStatistikCaption->text().simplified().section(' ', 0, 0);
    const auto first =
        std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == caption; });
    ASSERT_NE(first, words.end()) << caption.toStdString();
    EXPECT_NEAR(first->xMin, 36 + 190 * q, 2 * q);
    for (const PdfWord& w : words) {
        EXPECT_LE(w.yMax, 595 - 18 + 0.5) << w.text.toStdString();
        EXPECT_LE(w.xMax, 36 + 513 * q + 0.5) << w.text.toStdString();
    }
}

TEST_F(PrintServer, ScreenshotsOfTheDemoDiaryFromRealJobs)
{
    open();
    const char* names[] = {"goals", "note", "food", "activity", "chart"};
    for (int folder = 1; folder <= 5; ++folder) {
        window->LabelOrdnerClick(folder);
        if (folder == 2)
            window->MemoNotiz->setPlainText(
                "Morgens 30 Minuten Rad gefahren, mittags nur einen Salat.\n\n"
                "Abends Grillfest bei den Nachbarn: Bratwurst im Brötchen, dazu zwei Gläser Apfelschorle. "
                "Morgen wieder früh aufstehen und vor der Arbeit eine Runde laufen, damit die Woche gut "
                "anfängt.\nGewicht: unverändert.");
        clickPrint();
        const QString png = screenshotDir() + QStringLiteral("/print-") + names[folder - 1];
        EXPECT_TRUE(renderPdfPage(printed(), 1, 100, png)) << names[folder - 1];
    }
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}

TEST_F(PrintServer, AnErrorWhileThePagesArePaintedLeavesNoJob)
{
    print::Content content;
    content.folder = 5;
    content.chart = [](QPainter& painter, QSize page) {
        painter.drawText(QRect(QPoint(0, 0), page), QStringLiteral("halb gedruckt"));
        throw store::StoreError(QStringLiteral("ZEB_ZEB.dbf: Lesefehler"));
    };
    const int before = scheduler->jobs().size();
    QString problem;
    EXPECT_THROW(print::onPrinter(content, problem), store::StoreError);
    EXPECT_TRUE(scheduler->waitUntilIdle());
    EXPECT_EQ(scheduler->jobs().size(), before);
    EXPECT_FALSE(QFile::exists(scheduler->output("Kelvara")));
}
