// The third tab of the tools window driven like a user: pickers typed,
// buttons clicked, the confirmation answered by the test; the tables read
// back through the main window and through Python's dbfread.

#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "main/draw/picture.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "maintenance_support.h"
#include "support/diary.h"
#include "support/faultfs.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday{2005, 3, 10};
const QDate kFull{2005, 3, 1};
const QDate kEmpty{2005, 3, 2};
const QDate kOwn{2005, 3, 4};

struct Program
{
    explicit Program(const QString& dir) : main(dir), tools(main) { main.setSideWindows(&help, &tools); }
    TFormMain1 main;
    THelpForm1 help;
    TToolForm1 tools;
};

// Types a day into a picker as a user does who tabbed into it: the day
// section selected, the digits typed (each full section moves on to the
// next), Enter.
void typeDate(QDateEdit* picker, const QString& text)
{
    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::DaySection);
    QString digits = text;
    digits.remove(u'.');
    QTest::keyClicks(picker, digits);
    QTest::keyClick(picker, Qt::Key_Return);
}

QString german(QDate day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

class MaintenanceWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setToday(kToday);
        diary.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
        diary.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
        diary.activity(kFull, QStringLiteral("Walking"), 1350);
        diary.weight(kFull, 80.3);
        diary.food(kOwn, QStringLiteral("Apfel"), 300, 0, 16, 0);
        diary.weight(kOwn, 79.9);
        diary.note(kEmpty, QStringLiteral("Ruhetag."));
        p = std::make_unique<Program>(diary.dir());
        p->main.show();
        p->main.SpeedButtonTool->click();
        QTest::mouseClick(t().TabControlTools, Qt::LeftButton, {}, t().TabControlTools->tabRect(2).center());
        seams.messages.clear();
    }
    void TearDown() override
    {
        if (p)
            p->main.close();
    }

    TToolForm1& t() { return p->tools; }

    // The tools window in front with the focus, as the user has it while
    // typing; the main window is made active first, which closes the tools
    // window, so that it does not become active later.
    void activateTools()
    {
        p->main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&p->main));
        p->main.SpeedButtonTool->click();
        t().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&t()));
        ASSERT_EQ(t().TabControlTools->currentIndex(), 2);
    }

    // Types the period into a pair of pickers, clicks the button and
    // returns the dialogs it raised.
    QStringList run(QDateEdit* first, QDateEdit* last, QPushButton* button, QDate s, QDate e)
    {
        typeDate(first, german(s));
        typeDate(last, german(e));
        seams.messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        return seams.messages;
    }

    QStringList rows(const char* file) { return dbfreadContent(QDir(diary.dir()).filePath(file)); }

    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    BookedDiary diary;
    Seams seams;
    std::unique_ptr<Program> p;
};

} // namespace

// ----------------------------------------------------------------- the tab

TEST_F(MaintenanceWindow, HasItsGroupsTextsAndControlsInOneRowEach)
{
    const QLabel* labels[] = {t().LabelVerwalten11, t().LabelVerwalten12, t().LabelVerwalten13,
                              t().LabelVerwalten14, t().LabelVerwalten15, t().LabelVerwalten16};
    EXPECT_EQ(labels[0]->text(),
              "Lücken füllen: Fehlende Einträge können automatisch ergänzt werden. Hierzu werden ");
    EXPECT_EQ(labels[1]->text(), "die Daten des jeweiligen Vortages - soweit vorhanden - übernommen.");
    EXPECT_EQ(labels[2]->text(),
              "Komprimieren: Es können die vielen einzelnen Tagebucheinträgen in den Ordnern ");
    EXPECT_EQ(labels[3]->text(),
              "\"Nahrung\" und \"Aktivität\" zu jeweils einem einzigen Eintrag zusammen gefaßt werden.");
    EXPECT_EQ(labels[4]->text(),
              "Löschen: Es können alle Einträge aus dem Tagebuch komplett entfernt werden. Bitte");
    EXPECT_EQ(labels[5]->text(), "beachten Sie, das dieser Vorgang nicht rückgängig gemacht werden kann.");
    for (const QLabel* label : labels)
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString() << " is cut";

    const QFrame* bevels[] = {t().Bevel3, t().Bevel4, t().Bevel5};
    const int tops[] = {8, 112, 216};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(bevels[g]->width(), 574);
        EXPECT_EQ(bevels[g]->y(), tops[g]);
        EXPECT_LE(bevels[g]->geometry().right(), t().PanelToolsVerwalten->width());
    }
    const QWidget* scopes[] = {t().ComboBoxVerwalten1, t().ComboBoxVerwalten2, t().EditVerwalten1};
    const QDateEdit* firsts[] = {t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten3,
                                 t().DateTimePickerVerwalten5};
    const QDateEdit* lasts[] = {t().DateTimePickerVerwalten2, t().DateTimePickerVerwalten4,
                                t().DateTimePickerVerwalten6};
    const QPushButton* buttons[] = {t().ButtonLueckenFuellen, t().ButtonKomprimieren,
                                    t().ButtonAllesLoeschen};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(scopes[g]->x(), 20);
        EXPECT_EQ(firsts[g]->x(), 220);
        EXPECT_EQ(lasts[g]->x(), 352);
        EXPECT_EQ(buttons[g]->x(), 456);
        const int row = scopes[g]->geometry().center().y();
        for (const QWidget* w :
             {static_cast<const QWidget*>(firsts[g]), static_cast<const QWidget*>(lasts[g]),
              static_cast<const QWidget*>(buttons[g])})
            EXPECT_NEAR(w->geometry().center().y(), row, 1);
        EXPECT_TRUE(bevels[g]->geometry().contains(buttons[g]->geometry()));
        EXPECT_TRUE(bevels[g]->geometry().contains(scopes[g]->geometry()));
        EXPECT_EQ(firsts[g]->displayFormat(), "dd.MM.yyyy");
    }
    EXPECT_EQ(t().ButtonLueckenFuellen->text(), "Lücken füllen");
    EXPECT_EQ(t().ButtonKomprimieren->text(), "Komprimieren");
    EXPECT_EQ(t().ButtonAllesLoeschen->text(), "Alles löschen");

    ASSERT_EQ(t().ComboBoxVerwalten1->count(), 4);
    EXPECT_EQ(t().ComboBoxVerwalten1->itemText(0), "Gesamtes Tagebuch");
    EXPECT_EQ(t().ComboBoxVerwalten1->itemText(1), "Einträge \"Nahrung\"");
    EXPECT_EQ(t().ComboBoxVerwalten1->itemText(2), "Einträge \"Aktivität\"");
    EXPECT_EQ(t().ComboBoxVerwalten1->itemText(3), "Einträge \"Gewicht\"");
    EXPECT_EQ(t().ComboBoxVerwalten2->count(), 3);
    EXPECT_FALSE(t().ComboBoxVerwalten1->isEditable());
    EXPECT_EQ(t().EditVerwalten1->text(), "Gesamtes Tagebuch");
    EXPECT_TRUE(t().EditVerwalten1->isReadOnly());
    EXPECT_FALSE(t().EditVerwalten1->focusPolicy() & Qt::TabFocus);

    EXPECT_FALSE(t().PanelWait->isVisible());
    EXPECT_EQ(t().PanelWait->parentWidget(), &t());
    EXPECT_EQ(t().PanelWait->geometry(), QRect(148, 144, 357, 97));
    EXPECT_EQ(t().Label1->text(), "Bitte haben Sie ein wenig Geduld !");
    EXPECT_TRUE(t().Label1->font().bold());
    EXPECT_EQ(t().ProgressBar->minimum(), 0);
}

TEST_F(MaintenanceWindow, ShowingPresetsTheDayBeforeTheCurrentDayAndTheFirstScopes)
{
    t().ComboBoxVerwalten1->setCurrentIndex(3);
    typeDate(t().DateTimePickerVerwalten4, QStringLiteral("01.02.2003"));
    t().close();
    p->main.SpeedButtonTool->click();
    EXPECT_EQ(t().ComboBoxVerwalten1->currentIndex(), 0);
    EXPECT_EQ(t().ComboBoxVerwalten2->currentIndex(), 0);
    for (QDateEdit* picker :
         {t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten2, t().DateTimePickerVerwalten3,
          t().DateTimePickerVerwalten4, t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6})
        EXPECT_EQ(picker->date(), QDate(2005, 3, 9));
    EXPECT_TRUE(t().TagebuchUnveraendert);
}

TEST_F(MaintenanceWindow, APresetBeforeTheDiaryIsMovedIntoIt)
{
    t().close();
    p->main.DateTimePicker->setDate(QDate(2002, 1, 1));
    p->main.SpeedButtonTool->click();
    EXPECT_EQ(t().DateTimePickerVerwalten1->date(), QDate(2002, 1, 2));
    EXPECT_EQ(t().DateTimePickerVerwalten6->date(), QDate(2002, 1, 2));
}

TEST_F(MaintenanceWindow, TypedDaysOutsideTheDiaryJumpIntoItAndOnlyThatPickerMoves)
{
    typeDate(t().DateTimePickerVerwalten1, QStringLiteral("31.12.2001"));
    EXPECT_EQ(t().DateTimePickerVerwalten1->date(), QDate(2002, 1, 2));
    typeDate(t().DateTimePickerVerwalten4, QStringLiteral("01.01.2013"));
    EXPECT_EQ(t().DateTimePickerVerwalten4->date(), QDate(2012, 12, 31));
    EXPECT_EQ(t().DateTimePickerVerwalten2->date(), QDate(2005, 3, 9));
    EXPECT_EQ(t().DateTimePickerVerwalten3->date(), QDate(2005, 3, 9));
    // The arrow keys are a user's change too.
    typeDate(t().DateTimePickerVerwalten5, QStringLiteral("02.01.2002"));
    QTest::keyClick(t().DateTimePickerVerwalten5, Qt::Key_Down);
    EXPECT_EQ(t().DateTimePickerVerwalten5->date(), QDate(2002, 1, 2));
    EXPECT_TRUE(seams.messages.isEmpty());
}

TEST_F(MaintenanceWindow, TypedDatesTakeEffectAsTypedAndTextThatIsNoDateIsRefused)
{
    activateTools();
    QDateEdit* picker = t().DateTimePickerVerwalten5;
    QLineEdit* edit = picker->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    // A click on the text where the cursor stands at `position`: found
    // by clicking along the text, the double click at the place found.
    const auto clickAt = [&](int position, bool twice = false) {
        for (int x = 1; x < edit->width(); ++x) {
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
            if (edit->cursorPosition() != position)
                continue;
            if (twice)
                QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
            return;
        }
        FAIL() << "no place in the text for cursor position " << position;
    };
    const auto selectAll = [&] {
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
    };
    const QString refusal = QStringLiteral("\"%1\" ist kein gültiges Datum.\rEs bleibt beim %2.");
    const struct
    {
        const char* path;
        QDate shown; // the date before typing
        std::function<void()> select;
        const char* typed;
        QDate taken;
        QString message;
    } cases[] = {
        {"End and BackSpaces",
         {2005, 3, 9},
         [&] {
             clickAt(1);
             QTest::keyClick(picker, Qt::Key_End);
             for (int i = 0; i < 10; ++i)
                 QTest::keyClick(picker, Qt::Key_Backspace);
         },
         "05.03.2012",
         {2012, 3, 5},
         {}},
        {"a single click on the day", {2005, 3, 9}, [&] { clickAt(1); }, "05.03.2012", {2012, 3, 5}, {}},
        {"Ctrl+A", {2005, 3, 9}, selectAll, "05.03.2012", {2012, 3, 5}, {}},
        {"Ctrl+A, short", {2005, 3, 9}, selectAll, "5.3.2012", {2012, 3, 5}, {}},
        {"digits only on a 30-day month", {2012, 4, 15}, [&] { clickAt(1); }, "31012012", {2012, 1, 31}, {}},
        {"day 31 of a 30-day month",
         {2012, 4, 15},
         [&] { clickAt(2); },
         "31",
         {2012, 4, 15},
         refusal.arg("31.04.2012", "15.04.2012")},
        {"a two-digit year",
         {2012, 4, 15},
         selectAll,
         "5.3.12",
         {2012, 4, 15},
         refusal.arg("5.3.12", "15.04.2012")},
        {"a word", {2012, 4, 15}, selectAll, "h", {2012, 4, 15}, refusal.arg("h", "15.04.2012")},
        // Last: the text field takes clicks soon after a double click for a
        // triple click.
        {"double click on the day", {2005, 3, 9}, [&] { clickAt(1, true); }, "05.03.2012", {2012, 3, 5}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        {
            const QSignalBlocker quiet(picker);
            picker->setDate(c.shown);
        }
        seams.messages.clear();
        picker->setFocus();
        c.select();
        QTest::keyClicks(picker, c.typed);
        QTest::keyClick(picker, Qt::Key_Tab);
        EXPECT_FALSE(picker->hasFocus());
        EXPECT_EQ(picker->date(), c.taken);
        EXPECT_EQ(picker->text(), german(c.taken));
        EXPECT_EQ(seams.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST_F(MaintenanceWindow, TheQuestionNamesThePeriodTypedIntoThePickers)
{
    platform::setToday(QDate(2012, 12, 23));
    activateTools();
    const auto typeOver = [](QDateEdit* picker, const char* text) {
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(picker, text);
    };
    const auto before = diary.files();
    seams.answer = false;
    typeOver(t().DateTimePickerVerwalten5, "05.03.2012");
    typeOver(t().DateTimePickerVerwalten6, "10.03.2012");
    // The press on the button lets the typed date take effect first.
    QTest::mouseClick(t().ButtonAllesLoeschen, Qt::LeftButton);
    EXPECT_EQ(seams.messages, QStringList{"Wollen Sie wirklich alle Daten im ausgewählten Zeitraum endgültig "
                                          "löschen?\rZeitraum: 05.03.2012 – 10.03.2012"});
    EXPECT_EQ(diary.files(), before);
    seams.messages.clear();
    typeOver(t().DateTimePickerVerwalten3, "01.03.2005");
    typeOver(t().DateTimePickerVerwalten4, "04.03.2005");
    QTest::mouseClick(t().ButtonKomprimieren, Qt::LeftButton);
    EXPECT_EQ(seams.messages, QStringList{"Wollen Sie wirklich alle Daten im ausgewählten Zeitraum "
                                          "komprimieren?\rZeitraum: 01.03.2005 – 04.03.2005"});
}

// ----------------------------------------------------------------- the frame

TEST_F(MaintenanceWindow, AnInvertedPeriodIsRefusedWithoutAQuestion)
{
    const auto before = diary.files();
    const QStringList dialogs =
        run(t().DateTimePickerVerwalten3, t().DateTimePickerVerwalten4, t().ButtonKomprimieren, kOwn, kFull);
    EXPECT_EQ(dialogs,
              QStringList{"Das Zeitintervall ist ungültig !\rAktion kann nicht durchgeführt werden."});
    EXPECT_EQ(diary.files(), before);
    EXPECT_TRUE(t().TagebuchUnveraendert);
}

TEST_F(MaintenanceWindow, APeriodReachingTodayIsRefusedAndYesterdayAccepted)
{
    QStringList dialogs = run(t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6,
                              t().ButtonAllesLoeschen, kToday, kToday);
    EXPECT_EQ(
        dialogs,
        QStringList{
            "Das Zeitintervall überschneidet das heutige Tagesdatum !\rAktion wird nicht durchgeführt."});
    seams.answer = false;
    dialogs = run(t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6, t().ButtonAllesLoeschen,
                  kToday.addDays(-1), kToday.addDays(-1));
    EXPECT_EQ(dialogs,
              QStringList{"Wollen Sie wirklich alle Daten im ausgewählten Zeitraum endgültig "
                          "löschen?\rZeitraum: 09.03.2005 – 09.03.2005"});
}

TEST_F(MaintenanceWindow, AnsweringNoChangesNothing)
{
    const auto before = diary.files();
    seams.answer = false;
    const QStringList dialogs = run(t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten2,
                                    t().ButtonLueckenFuellen, kEmpty, kEmpty);
    EXPECT_EQ(dialogs, QStringList{"Wollen Sie im ausgewählten Zeitraum die fehlenden Einträge "
                                   "automatisch ergänzen?\rZeitraum: 02.03.2005 – 02.03.2005"});
    EXPECT_EQ(diary.files(), before);
    EXPECT_TRUE(t().TagebuchUnveraendert);
    EXPECT_TRUE(p->main.Dbf_NTB.filtered());
    EXPECT_TRUE(seams.sounds.empty());
}

// ----------------------------------------------------------------- the runs

TEST_F(MaintenanceWindow, FillOfOneDayAddsTwoFillersAndTheWeight)
{
    const QStringList dialogs = run(t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten2,
                                    t().ButtonLueckenFuellen, kEmpty, kEmpty);
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_EQ(dialogs[1], "Es wurden 3 Datensätze zwischen 02.03.2005 und 02.03.2005 eingefügt.");
    EXPECT_EQ(t().ProgressBar->maximum(), 1);
    EXPECT_EQ(t().ProgressBar->value(), 1);
    EXPECT_FALSE(t().PanelWait->isVisible());
    EXPECT_EQ(seams.sounds, std::vector<platform::Sound>{platform::Sound::DefaultBeep});
    EXPECT_FALSE(t().TagebuchUnveraendert);
    for (store::Table* table : {&p->main.Dbf_NTB, &p->main.Dbf_FTB, &p->main.Dbf_ZEB})
        EXPECT_TRUE(table->filtered());
    EXPECT_TRUE(rows("ZEB_NTB.DBF").contains("2005-03-02|1|St.|Lückenfüller|2400|33|40|31"));
    EXPECT_TRUE(rows("ZEB_FTB.dbf").contains("2005-03-02|1|Lückenfüller|1350"));
    EXPECT_TRUE(rows("ZEB_ZEB.dbf").contains("2005-03-02|80.3|2400|33|40|31|1350"));
    // The main window still shows its own day.
    EXPECT_EQ(p->main.Dbf_ZEB.fieldDate("ZEBDATUM"), kToday);
}

TEST_F(MaintenanceWindow, FillOfWeightsOnlyChosenInTheCombo)
{
    QComboBox* scope = t().ComboBoxVerwalten1;
    scope->setFocus();
    QTest::keyClick(scope, Qt::Key_End);
    ASSERT_EQ(scope->currentIndex(), 3);
    const QStringList dialogs = run(t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten2,
                                    t().ButtonLueckenFuellen, kEmpty, kOwn.addDays(-1));
    EXPECT_EQ(dialogs.value(1), "Es wurden 2 Datensätze zwischen 02.03.2005 und 03.03.2005 eingefügt.");
    EXPECT_FALSE(rows("ZEB_NTB.DBF").join(' ').contains("Lückenfüller"));
    EXPECT_TRUE(rows("ZEB_ZEB.dbf").contains("2005-03-03|80.3|0|0|0|0|0"));
}

TEST_F(MaintenanceWindow, FillOverDaysWithValuesReportsNothing)
{
    const QStringList dialogs =
        run(t().DateTimePickerVerwalten1, t().DateTimePickerVerwalten2, t().ButtonLueckenFuellen, kOwn, kOwn);
    EXPECT_EQ(dialogs.value(1), "Es wurden 0 Datensätze zwischen 04.03.2005 und 04.03.2005 eingefügt.");
}

TEST_F(MaintenanceWindow, CompressingTwiceCountsTheSummariesTheSecondTime)
{
    QStringList dialogs =
        run(t().DateTimePickerVerwalten3, t().DateTimePickerVerwalten4, t().ButtonKomprimieren, kFull, kOwn);
    EXPECT_EQ(dialogs.value(1), "Es wurden 4 Datensätze zwischen 01.03.2005 und 04.03.2005 komprimiert.");
    EXPECT_EQ(t().ProgressBar->maximum(), 4);
    dialogs =
        run(t().DateTimePickerVerwalten3, t().DateTimePickerVerwalten4, t().ButtonKomprimieren, kFull, kOwn);
    EXPECT_EQ(dialogs.value(1), "Es wurden 3 Datensätze zwischen 01.03.2005 und 04.03.2005 komprimiert.");
    EXPECT_EQ(rows("ZEB_NTB.DBF"), (QStringList{"2005-03-01|1|St.|Tageszusammenfassung|2400|33|40|31",
                                                "2005-03-04|1|St.|Tageszusammenfassung|300|0|16|0"}));
    EXPECT_EQ(rows("ZEB_FTB.dbf"), QStringList{"2005-03-01|1|Tageszusammenfassung|1350"});
}

TEST_F(MaintenanceWindow, DeleteRemovesNotesAndReportsTheDaysOnItsSecondLine)
{
    const QStringList dialogs = run(t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6,
                                    t().ButtonAllesLoeschen, kFull, kEmpty);
    EXPECT_EQ(dialogs.value(1), "Es wurden 4 Datensätze zwischen 01.03.2005 und 02.03.2005 gelöscht.\r"
                                "2  Datensätze wurden geleert!");
    EXPECT_TRUE(rows("ZEB_XTB.dbf").isEmpty());
    EXPECT_TRUE(rows("ZEB_ZEB.dbf").contains("2005-03-01|0|0|0|0|0|0"));
    EXPECT_EQ(rows("ZEB_NTB.DBF"), QStringList{"2005-03-04|1|St.|Apfel|300|0|16|0"});
}

TEST_F(MaintenanceWindow, AFailureMidRunIsShownWithTheFiltersOnAndTheDiaryUnchanged)
{
    const auto before = diary.files();
    // A directory where the new food diary would be written.
    ASSERT_TRUE(QDir(diary.dir()).mkdir(QStringLiteral("ZEB_NTB.DBF.neu")));
    const QStringList dialogs =
        run(t().DateTimePickerVerwalten3, t().DateTimePickerVerwalten4, t().ButtonKomprimieren, kFull, kOwn);
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_TRUE(dialogs[1].startsWith("ZEB_NTB.DBF.neu: Datei kann nicht angelegt werden"))
        << dialogs[1].toStdString();
    EXPECT_FALSE(t().PanelWait->isVisible());
    for (store::Table* table : {&p->main.Dbf_NTB, &p->main.Dbf_FTB, &p->main.Dbf_ZEB})
        EXPECT_TRUE(table->filtered());
    EXPECT_EQ(diary.files(), before);
    EXPECT_TRUE(seams.sounds.empty());
    // The user goes on: the same run succeeds once the obstacle is gone.
    ASSERT_TRUE(QDir(diary.dir()).rmdir(QStringLiteral("ZEB_NTB.DBF.neu")));
    const QStringList again =
        run(t().DateTimePickerVerwalten3, t().DateTimePickerVerwalten4, t().ButtonKomprimieren, kFull, kOwn);
    EXPECT_EQ(again.value(1), "Es wurden 4 Datensätze zwischen 01.03.2005 und 04.03.2005 komprimiert.");
}

// Renames that keep failing once a compress is decided: the run is reported
// as done and to be completed at the next start, the tables stay open, a
// second run says why it waits, and the next start completes the first.
TEST(MaintenanceDeferred, ARunDecidedButNotPutInPlaceIsReportedAsDoneAtTheNextStart)
{
    Seams seams;
    platform::setToday(kToday);
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    BookedDiary diary;
    diary.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
    diary.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
    const QStringList before = dbfreadContent(diary.path("ZEB_NTB.DBF"));
    {
        testing_support::FaultFileSystem fs(testing_support::FaultFileSystem::Mode::FailRenames, 1);
        TFormMain1 main(diary.dir(), fs);
        THelpForm1 help;
        TToolForm1 tools(main);
        main.setSideWindows(&help, &tools);
        main.show();
        main.SpeedButtonTool->click();
        QTest::mouseClick(tools.TabControlTools, Qt::LeftButton, {},
                          tools.TabControlTools->tabRect(2).center());
        const auto compress = [&] {
            typeDate(tools.DateTimePickerVerwalten3, german(kFull));
            typeDate(tools.DateTimePickerVerwalten4, german(kFull));
            seams.messages.clear();
            QTest::mouseClick(tools.ButtonKomprimieren, Qt::LeftButton);
            return seams.messages;
        };
        const QStringList first = compress();
        ASSERT_EQ(first.size(), 2);
        EXPECT_EQ(first[1], "Die Änderung ist gespeichert und wird beim nächsten Start abgeschlossen.");
        EXPECT_FALSE(tools.PanelWait->isVisible());
        for (store::Table* table : {&main.Dbf_NTB, &main.Dbf_FTB, &main.Dbf_ZEB}) {
            EXPECT_TRUE(table->isOpen());
            EXPECT_TRUE(table->filtered());
        }
        EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), before) << "in place at the next start";

        const QStringList second = compress();
        ASSERT_EQ(second.size(), 2);
        EXPECT_FALSE(second[1].contains("nicht geöffnet")) << second[1].toStdString();
        EXPECT_TRUE(second[1].contains("beim nächsten Start abgeschlossen")) << second[1].toStdString();
        main.close();
    }
    {
        TFormMain1 restarted(diary.dir());
        EXPECT_FALSE(restarted.StartFehler);
        restarted.close();
    }
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")),
              QStringList{"2005-03-01|1|St.|Tageszusammenfassung|2400|33|40|31"});
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
}

// ----------------------------------------------------------------- the chart

TEST_F(MaintenanceWindow, TheChartIsRedrawnOnCloseWhenInFrontAndMarkedStaleOtherwise)
{
    run(t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6, t().ButtonAllesLoeschen, kFull, kFull);
    p->main.StatistikVeraltet = false;
    t().close();
    EXPECT_TRUE(p->main.StatistikVeraltet) << "marked stale with another folder in front";

    p->main.LabelOrdnerClick(5);
    ASSERT_TRUE(p->main.PanelOrdnerStatistik->isVisible());
    p->main.SpeedButtonTool->click();
    run(t().DateTimePickerVerwalten5, t().DateTimePickerVerwalten6, t().ButtonAllesLoeschen, kOwn, kOwn);
    p->main.StatistikVeraltet = true;
    t().close();
    EXPECT_FALSE(p->main.StatistikVeraltet) << "redrawn at once";

    // Without a completed run nothing happens.
    p->main.SpeedButtonTool->click();
    p->main.StatistikVeraltet = true;
    t().close();
    EXPECT_TRUE(p->main.StatistikVeraltet);
}

// ----------------------------------------------------------------- picture

TEST_F(MaintenanceWindow, Screenshot)
{
    const QString dir = QStringLiteral(KELVARA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(t().grab().toImage().save(dir + QStringLiteral("/tools-maintenance.png")));
    t().ProgressBar->setMaximum(10);
    t().ProgressBar->setValue(4);
    t().PanelWait->show();
    t().PanelWait->raise();
    EXPECT_TRUE(t().grab().toImage().save(dir + QStringLiteral("/tools-maintenance-wait.png")));
    t().PanelWait->hide();
}

// ----------------------------------------------------------------- restart

namespace {

// A diary whose compress was decided on but not put in place when the
// program died: the new food diary beside the old, listed or not.
void leaveUnfinishedCompress(const BookedDiary& diary, bool decided)
{
    BookedDiary done;
    copyDiary(diary.dir(), done.dir());
    {
        DiaryTableSet t(done.dir());
        t.filtersOff();
        maintenance::compress(t.tables(), kFull, kFull, maintenance::FoodOnly, [](int) {});
    }
    ASSERT_TRUE(QFile::copy(done.path("ZEB_NTB.DBF"), diary.path("ZEB_NTB.DBF.neu")));
    if (decided) {
        QFile list(diary.path("ZEB_NEU.LST"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("ZEB_NTB.DBF.neu\tZEB_NTB.DBF\n");
    }
}

QStringList dayList(TFormMain1& main)
{
    QStringList names;
    for (main.Dbf_NTB.first(); !main.Dbf_NTB.eof(); main.Dbf_NTB.next())
        names << main.Dbf_NTB.fieldText("NTBNAME");
    return names;
}

// Starts the program on `diary` and lists the food of the full day.
QStringList fullDayAfterStart(const BookedDiary& diary)
{
    TFormMain1 main(diary.dir());
    EXPECT_FALSE(main.StartFehler);
    main.DateTimePicker->setDate(kFull);
    main.Dbf_NTB.refresh();
    return dayList(main);
}

} // namespace

TEST(MaintenanceRestart, TheProgramStartedAfterACrashFinishesADecidedRun)
{
    Seams seams;
    platform::setToday(kToday);
    BookedDiary diary;
    diary.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
    diary.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
    leaveUnfinishedCompress(diary, true);
    EXPECT_EQ(fullDayAfterStart(diary), QStringList{"Tageszusammenfassung"});
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.neu")));
    EXPECT_TRUE(totalsMismatches(diary.dir()).isEmpty());
}

TEST(MaintenanceRestart, TheProgramStartedAfterACrashDropsAnUndecidedRun)
{
    Seams seams;
    platform::setToday(kToday);
    BookedDiary diary;
    diary.food(kFull, QStringLiteral("Brot"), 900, 8, 40, 2);
    diary.food(kFull, QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29);
    leaveUnfinishedCompress(diary, false);
    EXPECT_EQ(fullDayAfterStart(diary), (QStringList{"Brot", "Käse, Gouda"}));
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.neu")));
}

// ----------------------------------------------------------------- the main window after a run

namespace {

const QDate kChristmasToday{2012, 12, 23};
const QDate kMarket{2012, 12, 21};

// The day lists of the main window, row by row.
QStringList listRows(const StringGrid* grid)
{
    QStringList rows;
    for (int r = 1; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->cell(c, r);
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

TEST(MaintenanceAfterRun, TheMainWindowShowsTheDeletedDayEmptyAndNoEditWritesItBack)
{
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    Seams seams;
    platform::setToday(kChristmasToday);
    BookedDiary diary;
    diary.food(kMarket, QStringLiteral("Glühwein"), 900, 0, 30, 0);
    diary.activity(kMarket, QStringLiteral("Walking"), 1350);
    diary.weight(kMarket, 80.3);
    diary.note(kMarket, QStringLiteral("Weihnachtsmarkt mit Anna."));
    Program p(diary.dir());
    p.main.show();
    TFormMain1& m = p.main;

    // The bars of a day without anything, to compare with.
    m.DateTimePicker->setDate(kMarket.addDays(-3));
    const QImage emptyDay = m.ImageRechts1->canvas().copy();
    const QStringList emptyFood = listRows(m.StringGridNTB);
    const QStringList emptyActivity = listRows(m.StringGridFTB);
    m.DateTimePicker->setDate(kMarket);
    m.LabelOrdnerClick(2);
    ASSERT_EQ(m.MemoNotiz->toPlainText(), "Weihnachtsmarkt mit Anna.");
    ASSERT_EQ(m.EditTagesgewicht->text(), "80,3");
    ASSERT_NE(m.ImageRechts1->canvas(), emptyDay);

    m.SpeedButtonTool->click();
    TToolForm1& t = p.tools;
    QTest::mouseClick(t.TabControlTools, Qt::LeftButton, {}, t.TabControlTools->tabRect(2).center());
    typeDate(t.DateTimePickerVerwalten5, QStringLiteral("20.12.2012"));
    typeDate(t.DateTimePickerVerwalten6, QStringLiteral("22.12.2012"));
    QTest::mouseClick(t.ButtonAllesLoeschen, Qt::LeftButton);
    ASSERT_EQ(seams.messages.size(), 2) << seams.messages.join('/').toStdString();
    QTest::mouseClick(t.ButtonToolsClose, Qt::LeftButton);

    EXPECT_EQ(m.EditTagesgewicht->text(), "0");
    EXPECT_EQ(m.MemoNotiz->toPlainText(), "");
    EXPECT_EQ(listRows(m.StringGridNTB), emptyFood);
    EXPECT_EQ(listRows(m.StringGridFTB), emptyActivity);
    EXPECT_EQ(m.ImageRechts1->canvas(), emptyDay) << "bars and scale of an empty day";
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_XTB.dbf")).isEmpty()) << "showing the day wrote nothing";
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_ZEB.dbf")).contains("2012-12-21|0|0|0|0|0|0"));

    // A word typed into the note is the whole note of the day.
    m.MemoNotiz->setFocus();
    QTest::keyClicks(m.MemoNotiz, "Ruhe");
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_XTB.dbf")), QStringList{"2012-12-21|0|Ruhe|||||||"});
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_ZEB.dbf")).contains("2012-12-21|0|0|0|0|0|0"));
    m.close();
}

TEST(MaintenanceAfterRun, ACompressedDayTakesNoWholeDayLevel)
{
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    Seams seams;
    platform::setToday(kToday);
    BookedDiary diary;
    diary.activity(kFull, QStringLiteral("Walking"), 1350);
    diary.activity(kFull, QStringLiteral("Grund- und Arbeitsumsatz 130%"), 10316);
    diary.weight(kFull, 80);
    writeSettings(diary.dir(), {{"CBG", qint64(1)}, {"CBA", qint64(2)}});
    Program p(diary.dir());
    p.main.show();
    TFormMain1& m = p.main;
    m.SpeedButtonTool->click();
    TToolForm1& t = p.tools;
    QTest::mouseClick(t.TabControlTools, Qt::LeftButton, {}, t.TabControlTools->tabRect(2).center());
    typeDate(t.DateTimePickerVerwalten3, german(kFull));
    typeDate(t.DateTimePickerVerwalten4, german(kFull));
    QTest::mouseClick(t.ButtonKomprimieren, Qt::LeftButton);
    ASSERT_EQ(seams.messages.value(1),
              "Es wurden 2 Datensätze zwischen 01.03.2005 und 01.03.2005 komprimiert.");
    QTest::mouseClick(t.ButtonToolsClose, Qt::LeftButton);

    // The daily category, row 6 ("130%"), the 24-hour symbol dragged onto
    // the day list.
    m.DateTimePicker->setDate(kFull);
    m.LabelOrdnerClick(4);
    m.SpeedButtonA[1]->click();
    m.StringGridFIT->selectGridRow(6);
    seams.messages.clear();
    QWidget* panel = m.PanelFTB;
    const QPoint start(28, 31);
    QWidget* target = panel->childAt(start);
    QTest::mousePress(target ? target : panel, Qt::LeftButton, {},
                      target ? target->mapFrom(panel, start) : start);
    QTest::mouseMove(panel, QPoint(200, 250));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(200, 250));
    EXPECT_EQ(seams.messages, QStringList{"Diese Aktion kann nicht durchgeführt werden, da die Eintragung\r"
                                          "\"Tageszusammenfassung\" den Grund- und Arbeitsumsatz des Tages\r"
                                          "bereits enthalten kann."});
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_FTB.dbf")),
              QStringList{"2005-03-01|1|Tageszusammenfassung|11666"});
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_ZEB.dbf")).contains("2005-03-01|80|0|0|0|0|11666"));
    m.close();
}
