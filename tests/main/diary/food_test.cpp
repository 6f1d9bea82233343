// The food folder through the real window: symbols dragged with the mouse at
// the booking panel's pixel coordinates, the day list, the waste bin, and
// the day record.

#include "controls/stringgrid.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"

#include <QDateEdit>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;
using platform::Sound;

namespace {

const QDate kToday(2006, 5, 17);

// Test foods in the favourites, added to a fresh diary.
void addFoods(const QString& dir)
{
    store::Table nrg(store::schema::nrg());
    nrg.open(dir);
    const std::vector<store::Row> rows = {
        testing_support::foodItem(16, QStringLiteral("Testbrot"), 1, 1500, 2.5, 4.8, 3.5),
        testing_support::foodItem(16, QStringLiteral("Testsaft"), 2, 200, 0.1, 11.0, 0.1),
        testing_support::foodItem(16, QStringLiteral("Testapfel"), 3, 300, 0.4, 16.0, 0.3),
        testing_support::foodItem(16, QStringLiteral("Käse"), 1, 1400, 25.0, 0.0, 28.0),
        testing_support::foodItem(16, QStringLiteral("KÄSE"), 1, 1400, 25.0, 0.0, 28.0),
        testing_support::foodItem(16, QStringLiteral("Riesenportion"), 3, 60000, 10.0, 10.0, 10.0),
    };
    for (const store::Row& row : rows) {
        nrg.insert();
        nrg.setFields(row);
        nrg.post();
    }
}

class FoodFolder : public ::testing::Test
{
protected:
    FoodFolder()
    {
        addFoods(diary.dir());
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->SpeedButtonN[16]->click();
    }

    void select(const QString& name)
    {
        for (int r = 1; r < window->StringGridNRG->rowCount(); ++r) {
            if (window->StringGridNRG->cell(0, r) == name) {
                window->StringGridNRG->selectGridRow(r);
                return;
            }
        }
        FAIL() << "no food " << name.toStdString();
    }

    // Presses symbol k, drags it to `drop` and releases it there.
    void drag(int k, QPoint drop = QPoint(200, 250))
    {
        QWidget* panel = window->PanelNTB;
        const QPoint start(28, 11 + 43 * (k - 1) + 20);
        QTest::mousePress(panel, Qt::LeftButton, {}, start);
        QTest::mouseMove(panel, (start + drop) / 2);
        QTest::mouseMove(panel, drop);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, drop);
    }

    QStringList dayList() const
    {
        QStringList rows;
        for (int r = 1; r < window->StringGridNTB->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 7; ++c)
                cells << window->StringGridNTB->cell(c, r);
            rows << cells.join(u'|');
        }
        return rows;
    }

    // The food diary and the day record as an independent reader sees them.
    QStringList foodFile() const { return dbfreadContent(diary.path("ZEB_NTB.DBF")); }
    QString dayRecord(QDate day) const
    {
        for (const QString& row : dbfreadContent(diary.path("ZEB_ZEB.dbf"))) {
            if (row.startsWith(day.toString(Qt::ISODate)))
                return row;
        }
        return {};
    }

    void dropOnBin(int row)
    {
        window->StringGridNTB->selectGridRow(row);
        QMimeData data;
        data.setData("application/x-kelvara-day-row", "StringGridNTB");
        QDragEnterEvent enter(QPoint(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window->PanelNahrungDelete, &enter);
        binOpenWhileOver = window->ImageNEimerAuf->isVisibleTo(window->PanelNahrungDelete);
        accepted = enter.isAccepted();
        QDropEvent drop(QPointF(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window->PanelNahrungDelete, &drop);
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
    bool accepted = false;
    bool binOpenWhileOver = false;
};

} // namespace

TEST_F(FoodFolder, TheHundredGramSymbolBooksTheFoodRoundedOnce)
{
    select("Testbrot");
    EXPECT_EQ(window->DragBildArt, 1);
    drag(7);
    EXPECT_EQ(dayList(), QStringList{"100|g|Testbrot|1500|2|5|4"});
    EXPECT_EQ(foodFile(), QStringList{"2006-05-17|100|g|Testbrot|1500|2|5|4"});
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|0|1500|2|5|4|0");
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});
    EXPECT_EQ(window->DragSymbol, 0);
    EXPECT_EQ(window->PanelNDrag[7]->pos(), QPoint(13, 269)) << "the symbol went home";
}

TEST_F(FoodFolder, BookingTwiceSumsIntoOneSelectedRow)
{
    select("Testbrot");
    drag(7);
    select("Testsaft");
    drag(5);
    select("Testbrot");
    drag(7);
    EXPECT_EQ(dayList(), (QStringList{"200|g|Testbrot|3000|4|10|8", "330|ml|Testsaft|660|0|36|0"}));
    EXPECT_EQ(window->StringGridNTB->selectedRow(), 1) << "the summed row is selected";
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|0|3660|4|46|8|0");
}

TEST_F(FoodFolder, PiecesAndMillilitresBookTheirAmounts)
{
    select("Testapfel");
    EXPECT_EQ(window->DragBildArt, 3);
    EXPECT_EQ(window->ImageNDrag[1]->x(), -60) << "the pieces frame is shown";
    drag(11);
    select("Testsaft");
    EXPECT_EQ(window->ImageNDrag[1]->x(), -30);
    drag(5);
    EXPECT_EQ(foodFile(), (QStringList{"2006-05-17|0.13|St.|Testapfel|39|0|2|0",
                                       "2006-05-17|330|ml|Testsaft|660|0|36|0"}));
    EXPECT_EQ(dayList().first(), "0,13|St.|Testapfel|39|0|2|0");
}

TEST_F(FoodFolder, ANameDifferingOnlyInPlainLetterCaseIsSummedAndTakesTheCatalogueSpelling)
{
    {
        // An entry booked under another spelling, before the window opened.
        window.reset();
        store::Table ntb(store::schema::ntb());
        ntb.open(diary.dir());
        ntb.insert();
        ntb.setFields(testing_support::foodEntry(kToday, 250.0, QStringLiteral("g"),
                                                 QStringLiteral("TESTBROT"), 10, 1, 1, 1));
        ntb.post();
        ntb.insert();
        ntb.setFields(
            testing_support::foodEntry(kToday, 50.0, QStringLiteral("g"), QStringLiteral("Anderes"), 5));
        ntb.post();
    }
    window = std::make_unique<TFormMain1>(diary.dir());
    window->SpeedButtonN[16]->click();
    select("Testbrot");
    drag(7);
    EXPECT_EQ(dayList(), (QStringList{"350|g|Testbrot|1510|4|6|4", "50|g|Anderes|5|0|0|0"}));
    EXPECT_EQ(window->StringGridNTB->selectedRow(), 1);
}

TEST_F(FoodFolder, UmlautsDifferingInCaseStayApart)
{
    select("Käse");
    drag(8);
    select("KÄSE");
    drag(8);
    EXPECT_EQ(dayList(), (QStringList{"50|g|Käse|700|12|0|14", "50|g|KÄSE|700|12|0|14"}));
    EXPECT_EQ(window->StringGridNTB->selectedRow(), 2);
}

TEST_F(FoodFolder, ASymbolSnapsHomeOutsideTheMarginAndFollowsAgainInside)
{
    select("Testbrot");
    QWidget* panel = window->PanelNTB;
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(28, 290));
    QTest::mouseMove(panel, QPoint(150, 200));
    EXPECT_EQ(window->PanelNDrag[7]->pos(), QPoint(135, 179)) << "the symbol hangs under the pointer";
    QTest::mouseMove(panel, QPoint(340, 200));
    for (int k = 1; k <= 11; ++k)
        EXPECT_EQ(window->PanelNDrag[k]->pos(), QPoint(13, 11 + 43 * (k - 1)));
    QTest::mouseMove(panel, QPoint(200, 300));
    EXPECT_EQ(window->PanelNDrag[7]->pos(), QPoint(185, 279));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(200, 300));
    EXPECT_EQ(dayList(), QStringList{"100|g|Testbrot|1500|2|5|4"});
}

TEST_F(FoodFolder, ReleasesOutsideTheDropAreaAndRightPressesBookNothing)
{
    select("Testbrot");
    drag(7, QPoint(60, 250));
    drag(7, QPoint(200, 30));
    EXPECT_EQ(window->PanelNDrag[7]->pos(), QPoint(13, 269));
    QWidget* panel = window->PanelNTB;
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(28, 290));
    QTest::mousePress(panel, Qt::RightButton, {}, QPoint(28, 290));
    EXPECT_EQ(window->DragSymbol, 0);
    QTest::mouseMove(panel, QPoint(200, 250));
    EXPECT_EQ(window->PanelNDrag[7]->pos(), QPoint(13, 269)) << "nothing moves";
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(200, 250));
    EXPECT_EQ(foodFile(), QStringList{});
    EXPECT_TRUE(seams.sounds.empty());
}

TEST_F(FoodFolder, AnEmptyCategoryHidesTheSymbolsAndIgnoresPresses)
{
    window->SpeedButtonN[14]->click(); // no microwave meals in the test? use an empty one
    window->NahrungKategorie = 0;
    window->Dbf_NRG.refresh();
    window->SchreibeNahrungListe();
    window->WechselDragBildArt();
    EXPECT_EQ(window->DragBildArt, 0);
    EXPECT_EQ(window->ImageNDrag[1]->x(), 100);
    drag(7);
    EXPECT_EQ(foodFile(), QStringList{});
}

TEST_F(FoodFolder, DeletingTheOnlyEntryLeavesThePlaceholderAndTheBinThenRefuses)
{
    select("Testbrot");
    drag(7);
    seams.sounds.clear();
    dropOnBin(1);
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(binOpenWhileOver) << "the bin opens while a row is over it";
    EXPECT_TRUE(window->ImageNEimerZu->isVisibleTo(window->PanelNahrungDelete))
        << "and closes after the drop";
    EXPECT_EQ(window->StringGridNTB->rowCount(), 2);
    EXPECT_EQ(window->StringGridNTB->cell(2, 1), "Keine Einträge vorhanden !");
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::DefaultBeep});
    EXPECT_EQ(foodFile(), QStringList{});
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|0|0|0|0|0|0") << "the totals after the last deletion";

    dropOnBin(1);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(binOpenWhileOver);
}

TEST_F(FoodFolder, DeletingRemovesTheSelectedEntryOnly)
{
    select("Testbrot");
    drag(7);
    select("Testsaft");
    drag(7);
    dropOnBin(1);
    EXPECT_EQ(dayList(), QStringList{"200|ml|Testsaft|400|0|22|0"});
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|0|400|0|22|0|0");
}

TEST_F(FoodFolder, KilocaloriesAreShownRoundedFromTheStoredKilojoules)
{
    select("Testbrot");
    drag(7);
    window->AnzeigeKcal = true;
    window->SchreibeNTBListe();
    EXPECT_EQ(window->StringGridNTB->cell(3, 1), "358");
}

TEST_F(FoodFolder, DayTotalsAreCappedAndNeverTouchTheActivities)
{
    window.reset();
    setDayRecord(diary.dir(), kToday, 80.0, 0, 0, 0, 0, 4321);
    window = std::make_unique<TFormMain1>(diary.dir());
    window->SpeedButtonN[16]->click();
    select("Riesenportion");
    drag(8); // 1 piece: 60000 kJ
    drag(8); // summed: 99999, the cap of a field
    select("Testbrot");
    drag(1); // 500 g: 7500 kJ
    select("Testsaft");
    drag(1); // 1.5 l
    EXPECT_EQ(foodFile().first(), "2006-05-17|2|St.|Riesenportion|99999|20|20|20");
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|80|99999|34|209|40|4321");
}

TEST_F(FoodFolder, ACatalogueValueThatIsNoNumberAbandonsTheBooking)
{
    select("Testbrot");
    window->StringGridNRG->setCell(3, window->StringGridNRG->selectedRow(), "2,5g");
    drag(7);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].contains("\"2,5g\""));
    EXPECT_EQ(foodFile(), QStringList{});
    EXPECT_EQ(dayRecord(kToday), "2006-05-17|0|0|0|0|0|0");
    EXPECT_EQ(window->StringGridNTB->rowCount(), 2);
}

TEST_F(FoodFolder, ChangingTheDayShowsItsEntriesAndWeight)
{
    window.reset();
    {
        store::Table zeb(store::schema::zeb());
        zeb.open(diary.dir());
        for (const auto& [day, kg] :
             {std::pair{kToday, 80.0}, {kToday.addDays(1), 80.0}, {kToday.addDays(2), 72.5}}) {
            ASSERT_TRUE(zeb.locate("ZEBDATUM", day));
            zeb.edit();
            zeb.setField("ZEBGEWICHT", kg);
            zeb.post();
        }
    }
    window = std::make_unique<TFormMain1>(diary.dir());
    window->SpeedButtonN[16]->click();
    select("Testbrot");
    drag(7);
    EXPECT_EQ(window->EditTagesgewicht->text(), "80");
    QSignalSpy weightChanges(window->EditTagesgewicht, &QLineEdit::textChanged);
    window->DateTimePicker->setDate(kToday.addDays(1));
    EXPECT_EQ(window->EditTagesgewicht->text(), "80");
    EXPECT_EQ(weightChanges.count(), 0) << "the same weight writes nothing";
    EXPECT_EQ(window->StringGridNTB->cell(2, 1), "Keine Einträge vorhanden !");
    window->DateTimePicker->setDate(kToday.addDays(2));
    EXPECT_EQ(window->EditTagesgewicht->text(), "72,5");
    window->DateTimePicker->setDate(kToday.addDays(3));
    EXPECT_EQ(window->EditTagesgewicht->text(), "0");
    EXPECT_EQ(dayRecord(kToday.addDays(3)), "2006-05-20|0|0|0|0|0|0") << "the day without weight keeps 0";
    EXPECT_EQ(dayRecord(kToday.addDays(2)), "2006-05-19|72.5|0|0|0|0|0");
    window->DateTimePicker->setDate(kToday);
    EXPECT_EQ(dayList(), QStringList{"100|g|Testbrot|1500|2|5|4"});
    window->DateTimePicker->setDate(QDate(2013, 3, 1));
    EXPECT_EQ(window->DateTimePicker->date(), QDate(2012, 12, 31));
    window->DateTimePicker->setDate(QDate(2001, 12, 31));
    EXPECT_EQ(window->DateTimePicker->date(), QDate(2002, 1, 1));
    EXPECT_EQ(window->Dbf_ZEB.fieldDate("ZEBDATUM"), QDate(2002, 1, 1));
}

TEST_F(FoodFolder, Screenshot)
{
    select("Testbrot");
    drag(7);
    select("Testsaft");
    drag(4);
    window->PanelNahrung->raise();
    window->PanelOrdnerNahrung->show();
    window->show();
    settle();
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/food-folder.png"));
    for (int kind = 0; kind < 3; ++kind) {
        select(kind == 0 ? "Testbrot" : kind == 1 ? "Testsaft" : "Testapfel");
        window->PanelNTB->grab().save(
            QStringLiteral(KELVARA_BINARY_DIR "/screenshots/food-symbols-%1.png").arg(kind + 1));
    }
}

TEST(FoodCatalogueList, EveryShippedNameIsShownInFull)
{
    // The catalogue list is the user's only view of a name: a name cut to
    // "..., Schei…" or "... (zub…" hides what the entry is.
    FreshDiary diary;
    platform::setToday(kToday);
    TFormMain1 window(diary.dir());
    window.show();
    StringGrid* grid = window.StringGridNRG;
    // The space the view's style leaves for text in a cell of column 0, less
    // what hinting on a real screen adds to the width measured here.
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const int room = grid->visualRect(grid->model()->index(0, 0)).width() - 2 * margin - 8;
    const QFontMetrics metrics(grid->font());
    int names = 0;
    for (int category = 1; category <= 16; ++category) {
        window.SpeedButtonN[category]->click();
        for (int r = 1; r < grid->rowCount(); ++r, ++names) {
            const QString name = grid->cell(0, r);
            EXPECT_LE(metrics.horizontalAdvance(name), room)
                << name.toStdString() << " in category " << category << " is cut";
        }
    }
    EXPECT_GE(names, 770);
}
