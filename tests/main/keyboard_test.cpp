// The main window without a mouse: every path through the real window with
// key events sent to the window as the keyboard sends them, the files read
// back with an independent reader.

#include "controls/stringgrid.h"
#include "help/zebhelp.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;
using platform::Sound;

namespace {

const QDate kToday(2006, 5, 17);

const QString kWeightMessage = "Diese Aktion kann nicht durchgeführt werden.\rTragen Sie bitte zuerst ihr "
                               "Tagesgewicht (40...150 kg) ein.";
const QString kPersonMessage = "Diese Aktion kann nicht durchgeführt werden.\r"
                               "Tragen Sie bitte zuerst im Ordner \"Ziele\" ihre\r"
                               "persönlichen Daten zu Geschlecht und Alter ein!";

// A fresh diary with test foods among the favourites and test activities
// among the other activities; the window shown and active, its side
// windows beside it.
class Keyboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prepare();
        open();
    }

    void prepare()
    {
        store::Table nrg(store::schema::nrg());
        nrg.open(diary.dir());
        for (const store::Row& row : std::vector<store::Row>{
                 testing_support::foodItem(16, QStringLiteral("Testapfel"), 3, 300, 0.4, 16.0, 0.3),
                 testing_support::foodItem(16, QStringLiteral("Testbrot"), 1, 1500, 2.5, 4.8, 3.5),
                 testing_support::foodItem(16, QStringLiteral("Testsaft"), 2, 200, 0.1, 11.0, 0.1),
             }) {
            nrg.insert();
            nrg.setFields(row);
            nrg.post();
        }
        nrg.close();
        store::Table akt(store::schema::akt());
        akt.open(diary.dir());
        akt.insert();
        akt.setFields(testing_support::activityItem(9, QStringLiteral("Testtanz"), 1000));
        akt.post();
        akt.close();
        writeSettings(diary.dir(), {{"NF", qint64(16)}, {"AF", qint64(9)}});
        platform::setToday(kToday);
    }

    void closeWindow()
    {
        tools.reset();
        help.reset();
        window.reset();
    }

    // The window on the diary as it is now.
    void open()
    {
        closeWindow();
        window = std::make_unique<TFormMain1>(diary.dir());
        help = std::make_unique<THelpForm1>();
        tools = std::make_unique<TToolForm1>(*window);
        window->setSideWindows(help.get(), tools.get());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->DateTimePicker->setFocus();
    }

    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    // A key as the keyboard sends it: to the window, which hands it to the
    // focus or to an open menu.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->windowHandle(), k, modifiers);
    }
    void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    static QWidget* focus() { return QApplication::focusWidget(); }

    // Tab until `target` has the focus; false when it never comes.
    bool tabTo(QWidget* target)
    {
        for (int i = 0; i < 60 && focus() != target; ++i)
            key(Qt::Key_Tab);
        return focus() == target;
    }

    // The controls Tab visits from the day selector once round the window.
    std::vector<QWidget*> tabRound()
    {
        window->DateTimePicker->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> visited{focus()};
        for (int i = 0; i < 80; ++i) {
            key(Qt::Key_Tab);
            if (focus() == window->DateTimePicker)
                break;
            visited.push_back(focus());
        }
        return visited;
    }

    // Moves the selection of a list with the arrow keys to the row whose
    // column 0 reads `text`.
    bool arrowTo(StringGrid* list, const QString& text)
    {
        if (!tabTo(list))
            return false;
        key(Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 200 && list->cell(0, list->selectedRow()) != text; ++i)
            key(Qt::Key_Down);
        return list->cell(0, list->selectedRow()) == text;
    }

    static QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    static QStringList menuTexts()
    {
        QStringList texts;
        if (QMenu* menu = openMenu())
            for (const QAction* action : menu->actions())
                texts << action->text();
        return texts;
    }
    // Chooses item `index` of the open menu with the arrow keys and Enter.
    void choose(int index)
    {
        for (int i = 0; i <= index; ++i)
            key(Qt::Key_Down);
        key(Qt::Key_Return);
    }

    QStringList file(const char* name) const { return dbfreadContent(diary.path(name)); }
    QString dayRecord() const
    {
        for (const QString& row : file("ZEB_ZEB.dbf"))
            if (row.startsWith(kToday.toString(Qt::ISODate)))
                return row;
        return {};
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
    std::unique_ptr<THelpForm1> help;
    std::unique_ptr<TToolForm1> tools;
};

} // namespace

// ----- what takes the focus -----

TEST_F(Keyboard, ShiftTabFromTheDayNeverTypesIntoTheHiddenNote)
{
    ASSERT_EQ(window->AktuellerOrdner, 1);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focus(), window->SpeedButtonEnde) << "round to the last side button";
    type(QStringLiteral("x"));
    EXPECT_TRUE(window->MemoNotiz->toPlainText().isEmpty());
    for (const QString& row : file("ZEB_XTB.dbf"))
        EXPECT_FALSE(row.contains(u'x')) << row.toStdString();
}

TEST_F(Keyboard, TheFoldersBehindAreHiddenWithoutAPixelOfDifference)
{
    QFrame* const panels[] = {window->PanelZiele, window->PanelNotiz, window->PanelNahrung,
                              window->PanelFitness, window->PanelStatistik};
    for (int folder = 1; folder <= 5; ++folder) {
        SCOPED_TRACE(folder);
        key(static_cast<Qt::Key>(Qt::Key_0 + folder), Qt::ControlModifier);
        const QImage hidden = window->grab().toImage();
        // The folders as they lay stacked before: all shown, the one in
        // front on top, the edges and the right-hand panel above it.
        for (QFrame* panel : panels)
            panel->show();
        panels[folder - 1]->raise();
        for (QWidget* top :
             std::initializer_list<QWidget*>{window->ImageOben1, window->ImageUnten1, window->PanelRechts1})
            top->raise();
        EXPECT_TRUE(window->grab().toImage() == hidden);
        window->bringFolderToFront(folder);
    }
}

TEST_F(Keyboard, TabWalksTheDayTheWeightTheFolderInFrontAndTheSideButtons)
{
    TFormMain1& w = *window;
    const std::vector<QWidget*> side{w.SpeedButtonHilfe, w.SpeedButtonDruck, w.SpeedButtonTool,
                                     w.SpeedButtonEnde};
    const struct
    {
        int folder;
        std::vector<QWidget*> controls;
    } cases[] = {
        {1,
         {w.ComboBoxGeschlecht, w.ComboBoxAlter, w.ComboBoxBeruf, w.ComboBoxHoehe, w.ComboBoxGewicht,
          w.EditEnergie, w.EditFett, w.EditProtein, w.EditKohlenh, w.RadioButtonJoule}},
        {2, {w.SpeedButtonT[1], w.MemoNotiz}},
        {3, {w.SpeedButtonN[16], w.StringGridNRG, w.StringGridNTB}},
        {4, {w.SpeedButtonA[9], w.StringGridFIT, w.StringGridFTB}},
        // Series 1 at the fresh diary's zoom levels: the time axis can only
        // be zoomed in, smoothing only switched on.
        {5,
         {w.SpeedButtonS[1], w.BitBtnZoomYPlus, w.BitBtnZoomYMinus, w.ScrollBarStatistikY, w.BitBtnZoomXPlus,
          w.ScrollBarStatistikX, w.BitBtnGlaettenJa}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        key(static_cast<Qt::Key>(Qt::Key_0 + c.folder), Qt::ControlModifier);
        ASSERT_EQ(w.AktuellerOrdner, c.folder);
        std::vector<QWidget*> expected{w.DateTimePicker, w.EditTagesgewicht};
        expected.insert(expected.end(), c.controls.begin(), c.controls.end());
        expected.insert(expected.end(), side.begin(), side.end());
        const std::vector<QWidget*> visited = tabRound();
        QStringList names;
        for (QWidget* v : visited)
            names << (v ? v->accessibleName() : QStringLiteral("(none)"));
        EXPECT_EQ(visited, expected) << names.join(" | ").toStdString();
        // Shift+Tab walks the same round backwards.
        window->DateTimePicker->setFocus(Qt::TabFocusReason);
        for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(focus(), *it) << (focus() ? focus()->accessibleName().toStdString() : "(none)");
        }
    }
}

TEST_F(Keyboard, TabLeavesAListWithoutMovingItsSelection)
{
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(arrowTo(window->StringGridNRG, "Testbrot"));
    const int row = window->StringGridNRG->selectedRow();
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), window->StringGridNTB);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focus(), window->StringGridNRG);
    EXPECT_EQ(window->StringGridNRG->selectedRow(), row);
    EXPECT_EQ(window->StringGridNRG->currentColumn(), 0);
}

TEST_F(Keyboard, TheSearchPaneOfTheNotesOpensFromItsButtonGroup)
{
    key(Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonT[1]));
    key(Qt::Key_Down);
    EXPECT_TRUE(window->SpeedButtonT[2]->isChecked());
    EXPECT_TRUE(window->PanelNotizSuche->isVisible());
    EXPECT_FALSE(window->MemoNotiz->isVisible());
    EXPECT_EQ(focus(), window->SpeedButtonT[2]);
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), window->EditNotizSuche);
    // Back to the editor: the group is reached by Shift+Tab on its pressed
    // button.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_Up);
    EXPECT_TRUE(window->PanelNotizBackground->isVisible());
    EXPECT_EQ(focus(), window->SpeedButtonT[1]);
}

TEST_F(Keyboard, TheArrowKeysChooseTheCategoryAndTheSeries)
{
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonN[16]));
    key(Qt::Key_Up);
    EXPECT_EQ(window->NahrungKategorie, 15);
    EXPECT_TRUE(window->SpeedButtonN[15]->isChecked());
    key(Qt::Key_Down);
    key(Qt::Key_Down); // past the last button: stays
    EXPECT_EQ(window->NahrungKategorie, 16);
    EXPECT_TRUE(arrowTo(window->StringGridNRG, "Testapfel")) << "the favourites are listed again";

    key(Qt::Key_5, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonS[1]));
    key(Qt::Key_Down);
    EXPECT_EQ(window->StatistikArt, 2);
    EXPECT_FALSE(window->ScrollBarStatistikY->isVisible()) << "only the weight scrolls";
}

// ----- folders -----

TEST_F(Keyboard, CtrlPageDownAndUpTurnTheFoldersAndCtrlDigitsOpenThem)
{
    const QFrame* panels[] = {window->PanelZiele, window->PanelNotiz, window->PanelNahrung,
                              window->PanelFitness, window->PanelStatistik};
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int folder;
    } steps[] = {
        {Qt::Key_PageDown, Qt::ControlModifier, 2}, {Qt::Key_PageDown, Qt::ControlModifier, 3},
        {Qt::Key_PageDown, Qt::ControlModifier, 4}, {Qt::Key_PageDown, Qt::ControlModifier, 5},
        {Qt::Key_PageDown, Qt::ControlModifier, 1}, {Qt::Key_PageUp, Qt::ControlModifier, 5},
        {Qt::Key_PageUp, Qt::ControlModifier, 4},   {Qt::Key_1, Qt::ControlModifier, 1},
        {Qt::Key_4, Qt::ControlModifier, 4},        {Qt::Key_2, Qt::ControlModifier, 2},
        {Qt::Key_5, Qt::ControlModifier, 5},        {Qt::Key_3, Qt::ControlModifier, 3},
    };
    for (const auto& step : steps) {
        key(step.key, step.modifiers);
        SCOPED_TRACE(step.folder);
        EXPECT_EQ(window->AktuellerOrdner, step.folder);
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(panels[k - 1]->isVisible(), k == step.folder) << k;
        EXPECT_EQ(window->PanelOrdnerNahrung->isVisible(), step.folder == 3);
        EXPECT_EQ(focus(), window->DateTimePicker) << "the focus stays where it was";
    }
}

TEST_F(Keyboard, TheFoldersTurnFromInsideEveryControlAndTheFocusFollows)
{
    // From the note editor, a catalogue list, the chart's scroll bar and a
    // goal combo box: the shortcuts reach the window, and the focus goes to
    // the first control of the folder now in front.
    TFormMain1& w = *window;
    const struct
    {
        int from;
        QWidget* inside;
        int to;
        QWidget* lands;
    } cases[] = {
        {2, w.MemoNotiz, 3, w.StringGridNRG},
        {3, w.StringGridNRG, 4, w.StringGridFIT},
        {5, w.ScrollBarStatistikX, 1, w.ComboBoxGeschlecht},
        {1, w.ComboBoxGeschlecht, 2, w.MemoNotiz},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        key(static_cast<Qt::Key>(Qt::Key_0 + c.from), Qt::ControlModifier);
        ASSERT_TRUE(tabTo(c.inside));
        key(Qt::Key_PageDown, Qt::ControlModifier);
        key(static_cast<Qt::Key>(Qt::Key_0 + c.to), Qt::ControlModifier);
        EXPECT_EQ(window->AktuellerOrdner, c.to);
        EXPECT_EQ(focus(), c.lands);
    }
}

// ----- booking and deleting -----

TEST_F(Keyboard, EnterInTheFoodListOffersTheAmountsAndBooksTheChosenOne)
{
    const struct
    {
        const char* food;
        QStringList menu;
        int chosen;
        const char* entry;
        const char* day;
    } cases[] = {
        {"Testbrot",
         {"500 g", "300 g", "250 g", "200 g", "150 g", "125 g", "100 g", "50 g", "25 g", "10 g", "5 g"},
         6,
         "2006-05-17|100|g|Testbrot|1500|2|5|4",
         "2006-05-17|0|1500|2|5|4|0"},
        {"Testsaft",
         {"1500 ml", "1000 ml", "700 ml", "500 ml", "330 ml", "250 ml", "200 ml", "100 ml", "50 ml", "10 ml",
          "5 ml"},
         4,
         "2006-05-17|330|ml|Testsaft|660|0|36|0",
         "2006-05-17|0|2160|2|41|4|0"},
        {"Testapfel",
         {"10 St.", "8 St.", "6 St.", "5 St.", "4 St.", "3 St.", "2 St.", "1 St.", "0,5 St.", "0,25 St.",
          "0,13 St."},
         10,
         "2006-05-17|0.13|St.|Testapfel|39|0|2|0",
         "2006-05-17|0|2199|2|43|4|0"},
    };
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    key(Qt::Key_3, Qt::ControlModifier);
    QStringList entries;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.food);
        ASSERT_TRUE(arrowTo(window->StringGridNRG, c.food));
        key(Qt::Key_Return);
        ASSERT_TRUE(openMenu());
        EXPECT_EQ(menuTexts(), c.menu);
        choose(c.chosen);
        EXPECT_FALSE(openMenu());
        entries << c.entry;
        EXPECT_EQ(file("ZEB_NTB.DBF"), entries);
        EXPECT_EQ(dayRecord(), c.day);
        EXPECT_EQ(focus(), window->StringGridNRG) << "the focus is back in the list";
        EXPECT_EQ(window->StringGridNTB->cell(2, window->StringGridNTB->selectedRow()), c.food);
    }
    EXPECT_EQ(seams.sounds, std::vector<Sound>(3, Sound::Information));
    EXPECT_TRUE(seams.messages.isEmpty());

    // The same food again sums into its row, as a second drop does.
    ASSERT_TRUE(arrowTo(window->StringGridNRG, "Testbrot"));
    key(Qt::Key_Menu);
    ASSERT_TRUE(openMenu()) << "the menu key offers the amounts as well";
    choose(6);
    EXPECT_EQ(file("ZEB_NTB.DBF").first(), "2006-05-17|200|g|Testbrot|3000|4|10|8");
    EXPECT_EQ(window->StringGridNTB->selectedRow(), 1);
}

TEST_F(Keyboard, EscapeClosesTheOfferAndAnEmptyListOffersNothing)
{
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(arrowTo(window->StringGridNRG, "Testbrot"));
    key(Qt::Key_Return);
    ASSERT_TRUE(openMenu());
    key(Qt::Key_Escape);
    EXPECT_FALSE(openMenu());
    EXPECT_TRUE(file("ZEB_NTB.DBF").isEmpty());
    EXPECT_EQ(focus(), window->StringGridNRG);

    // An empty category: the placeholder row has no symbols to offer.
    closeWindow();
    {
        store::Table nrg(store::schema::nrg());
        nrg.open(diary.dir());
        for (nrg.first(); !nrg.eof();) {
            if (nrg.fieldInt("NRGKAT") == 15)
                nrg.deleteRecord();
            else
                nrg.next();
        }
    }
    open();
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonN[16]));
    key(Qt::Key_Up);
    ASSERT_EQ(window->NahrungKategorie, 15);
    ASSERT_EQ(window->StringGridNRG->cell(0, 1), QStringLiteral("Keine Einträge vorhanden !"));
    ASSERT_TRUE(tabTo(window->StringGridNRG));
    key(Qt::Key_Return);
    EXPECT_FALSE(openMenu());
    EXPECT_TRUE(seams.sounds.empty());
}

TEST_F(Keyboard, ActivitiesAreBookedAndRefusedAsTheirDropsAre)
{
    key(Qt::Key_4, Qt::ControlModifier);
    ASSERT_TRUE(arrowTo(window->StringGridFIT, "Testtanz"));
    key(Qt::Key_Return);
    ASSERT_EQ(menuTexts(), (QStringList{"180 min", "120 min", "60 min", "45 min", "30 min", "20 min",
                                        "15 min", "10 min", "5 min", "2 min", "1 min"}));
    choose(4);
    EXPECT_EQ(seams.messages, QStringList{kWeightMessage}) << "no weight for the day yet";
    EXPECT_TRUE(file("ZEB_FTB.dbf").isEmpty());

    // The weight typed over the field's "0", then the same booking.
    ASSERT_TRUE(tabTo(window->EditTagesgewicht));
    key(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("60"));
    ASSERT_TRUE(tabTo(window->StringGridFIT));
    key(Qt::Key_Return);
    choose(4);
    EXPECT_EQ(file("ZEB_FTB.dbf"), QStringList{"2006-05-17|30|Testtanz|400"});
    EXPECT_EQ(dayRecord(), "2006-05-17|60|0|0|0|0|400");
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});

    // The daily category offers its one symbol; it needs sex and age.
    ASSERT_TRUE(tabTo(window->SpeedButtonA[9]));
    for (int i = 0; i < 8; ++i)
        key(Qt::Key_Up);
    ASSERT_EQ(window->AktivKategorie, 0);
    ASSERT_TRUE(arrowTo(window->StringGridFIT, "130% Leichte wechselnde Arbeit"));
    key(Qt::Key_Return);
    EXPECT_EQ(menuTexts(), QStringList{"24 h"});
    choose(0);
    EXPECT_EQ(seams.messages.last(), kPersonMessage);
    EXPECT_EQ(file("ZEB_FTB.dbf"), QStringList{"2006-05-17|30|Testtanz|400"});
}

TEST_F(Keyboard, DeleteInADayListDeletesItsSelectedEntryAsTheBinDoes)
{
    closeWindow();
    setDayRecord(diary.dir(), kToday, 70, 0, 0, 0, 0, 0);
    // The entries below replace those of the day's summary; the start
    // finds the day record's totals differing and sums them anew.
    {
        store::Table ntb(store::schema::ntb()), ftb(store::schema::ftb());
        ntb.open(diary.dir());
        for (const char* name : {"Testbrot", "Testsaft"}) {
            ntb.insert();
            ntb.setFields(testing_support::foodEntry(kToday, 100.0, QStringLiteral("g"),
                                                     QString::fromUtf8(name), 1000, 10, 20, 30));
            ntb.post();
        }
        ftb.open(diary.dir());
        ftb.insert();
        ftb.setFields(testing_support::activityEntry(kToday, 30, QStringLiteral("Testtanz"), 400));
        ftb.post();
    }
    open();

    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->StringGridNTB));
    key(Qt::Key_Up); // Testbrot
    key(Qt::Key_Delete);
    EXPECT_EQ(file("ZEB_NTB.DBF"), QStringList{"2006-05-17|100|g|Testsaft|1000|10|20|30"});
    EXPECT_EQ(dayRecord(), "2006-05-17|70|1000|10|20|30|400");
    EXPECT_EQ(window->StringGridNTB->cell(2, 1), QStringLiteral("Testsaft"));
    EXPECT_EQ(window->ImageNEimerZu->isVisibleTo(window->PanelNahrungDelete), true)
        << "the bin is closed again";
    key(Qt::Key_Delete);
    key(Qt::Key_Delete); // the placeholder row: refused, as the bin refuses it
    EXPECT_TRUE(file("ZEB_NTB.DBF").isEmpty());

    key(Qt::Key_4, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->StringGridFTB));
    key(Qt::Key_Delete);
    EXPECT_TRUE(file("ZEB_FTB.dbf").isEmpty());
    EXPECT_EQ(dayRecord(), "2006-05-17|70|0|0|0|0|0");
    EXPECT_EQ(seams.sounds, std::vector<Sound>(3, Sound::DefaultBeep));
}

// ----- the program buttons and keys -----

TEST_F(Keyboard, TheProgramButtonsAnswerSpaceAndEnterAndF1OpensTheHelp)
{
    const struct
    {
        QToolButton* TFormMain1::*button;
        Qt::Key key;
        QWidget* opened;
    } cases[] = {
        {&TFormMain1::SpeedButtonHilfe, Qt::Key_Space, help.get()},
        {&TFormMain1::SpeedButtonHilfe, Qt::Key_Return, help.get()},
        {&TFormMain1::SpeedButtonTool, Qt::Key_Space, tools.get()},
        {&TFormMain1::SpeedButtonTool, Qt::Key_Enter, tools.get()},
    };
    for (const auto& c : cases) {
        help->hide();
        tools->hide();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(tabTo((*window).*c.button));
        key(c.key);
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.opened->isVisible(); }));
    }
    help->hide();
    tools->hide();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    key(Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }));
    EXPECT_EQ(window->SpeedButtonHilfe->toolTip(), QStringLiteral("Hilfe (F1)"));
    EXPECT_EQ(window->SpeedButtonDruck->toolTip(), QStringLiteral("Drucken (Strg+P)"));
}

TEST_F(Keyboard, EnterOnTheEndButtonClosesAndSavesTheSettings)
{
    QSignalSpy closed(window.get(), &TFormMain1::closed);
    key(Qt::Key_3, Qt::ControlModifier); // a setting that is saved at the end
    ASSERT_TRUE(tabTo(window->SpeedButtonN[16]));
    key(Qt::Key_Up);
    ASSERT_TRUE(tabTo(window->SpeedButtonEnde));
    key(Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.count() == 1; }));
    EXPECT_FALSE(window->isVisible());
    const QStringList settings = file("ZEB_REG.dbf");
    ASSERT_EQ(settings.size(), 1);
    EXPECT_TRUE(settings[0].startsWith("15|")) << settings[0].toStdString();
}

TEST_F(Keyboard, CtrlPSpaceAndEnterTakeThePrintButtonsPath)
{
    // The note search cannot be printed: the print button's refusal shows,
    // whatever printers the machine has.
    key(Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonT[1]));
    key(Qt::Key_Down);
    key(Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->SpeedButtonDruck));
    key(Qt::Key_Space);
    key(Qt::Key_Return);
    const QString refusal = "Druckvorgang hier nicht möglich.\rBitte wechseln Sie in die "
                            "Kategorie \"Schreiben\",\rum ihre Notizen auszudrucken.";
    EXPECT_EQ(seams.messages, (QStringList{refusal, refusal, refusal}));
}

TEST_F(Keyboard, TheChartsButtonsAnswerSpaceAndEnter)
{
    key(Qt::Key_5, Qt::ControlModifier);
    ASSERT_TRUE(tabTo(window->BitBtnZoomXPlus));
    key(Qt::Key_Space);
    EXPECT_EQ(window->ZoomStufeX, 2);
    ASSERT_TRUE(tabTo(window->BitBtnGlaettenJa));
    key(Qt::Key_Return);
    EXPECT_EQ(window->Glaetten, 1);
    EXPECT_EQ(focus(), window->BitBtnGlaettenNein) << "the button that took over has the focus";
    key(Qt::Key_Space);
    EXPECT_EQ(window->Glaetten, 0);
    EXPECT_EQ(focus(), window->BitBtnGlaettenJa);
}

// ----- the day selector -----

TEST_F(Keyboard, F4AndAltDownOpenTheCalendarOfTheDay)
{
    for (const auto& [k, modifiers] : {std::pair{Qt::Key_F4, Qt::KeyboardModifiers()},
                                       std::pair{Qt::Key_Down, Qt::KeyboardModifiers(Qt::AltModifier)}}) {
        SCOPED_TRACE(k);
        const QDate before = window->DateTimePicker->date();
        key(k, modifiers);
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_TRUE(popup);
        EXPECT_TRUE(popup->findChild<QCalendarWidget*>());
        EXPECT_EQ(window->DateTimePicker->date(), before) << "opening changes no day";
        // In the calendar: the next day, taken with Enter.
        key(Qt::Key_Right);
        key(Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
        EXPECT_EQ(window->DateTimePicker->date(), before.addDays(1));
        EXPECT_EQ(focus(), window->DateTimePicker);
    }
    // Escape closes the calendar; the day stays.
    const QDate before = window->DateTimePicker->date();
    key(Qt::Key_F4);
    ASSERT_TRUE(QApplication::activePopupWidget());
    key(Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
    EXPECT_EQ(window->DateTimePicker->date(), before);
}
