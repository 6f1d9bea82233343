// Start-up and shutdown of the real main window on a diary in a temporary
// folder: settings round trip, start-up failures and the day it opens on.

#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "install/installer.h"
#include "main/draw/rules/chart.h"
#include "main/zeb6.h"
#include "store/table.h"
#include "support/diary.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;
using platform::Sound;

namespace {

QString settingText(const QString& dir, const char* field)
{
    store::Table reg(store::schema::reg());
    reg.open(dir);
    return reg.fieldText(field);
}

qint64 settingInt(const QString& dir, const char* field)
{
    store::Table reg(store::schema::reg());
    reg.open(dir);
    return reg.fieldInt(field);
}

} // namespace

TEST(Startup, AFreshDiaryOpensOnTheGoalsFolderWithTheDefaults)
{
    FreshDiary diary;
    Seams seams;
    platform::setToday(QDate(2006, 5, 17));
    TFormMain1 window(diary.dir());
    EXPECT_FALSE(window.StartFehler);
    EXPECT_EQ(window.windowTitle(), "Kelvara [1.02f]");
    EXPECT_EQ(window.size(), QSize(780, 554));
    EXPECT_EQ(window.AktuellerOrdner, 1);
    EXPECT_EQ(window.ErstesDatum, QDate(2002, 1, 1));
    EXPECT_EQ(window.DateTimePicker->date(), QDate(2006, 5, 17));
    EXPECT_EQ(window.EditTagesgewicht->text(), "0");
    EXPECT_EQ(window.ComboBoxHoehe->count(), 72);
    EXPECT_EQ(window.ComboBoxHoehe->itemText(1), "140 cm");
    EXPECT_EQ(window.ComboBoxGewicht->count(), 102);
    EXPECT_EQ(window.ComboBoxGewicht->itemText(101), "140 kg");
    EXPECT_EQ(window.StringGridNTB->cell(2, 0), " Ernährung");
    EXPECT_EQ(window.StringGridNotizSuche->cell(1, 0), "-");
    EXPECT_TRUE(window.StringGridNRG->isColumnHidden(3));
    // Category 1 (drinks) is listed, the daily activity levels too.
    EXPECT_GT(window.StringGridNRG->rowCount(), 16);
    EXPECT_EQ(window.StringGridFIT->rowCount(), 17);
    EXPECT_EQ(window.StringGridFIT->cell(0, 16), "210% Schwerstarbeit");
    EXPECT_TRUE(window.SpeedButtonN[1]->isChecked());
    EXPECT_TRUE(window.SpeedButtonA[1]->isChecked());
    EXPECT_TRUE(window.RadioButtonJoule->isChecked());
    EXPECT_TRUE(seams.messages.isEmpty());
    EXPECT_EQ(window.SpeedButtonTool->toolTip(), "Tools (Werkzeuge)");
}

TEST(Startup, TheEnergyGoalIsStoredInKilojoulesWhateverTheUnit)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"EE", QStringLiteral("8374")}, {"EA", qint64(1)}});
    {
        TFormMain1 window(diary.dir());
        EXPECT_TRUE(window.AnzeigeKcal);
        EXPECT_TRUE(window.RadioButtonKcal->isChecked());
        EXPECT_EQ(window.EditEnergie->text(), "8374");
        EXPECT_EQ(window.EditEnergieCal->text(), "2000");
        window.EditEnergieCal->setText("2000");
        window.close();
    }
    EXPECT_EQ(settingText(diary.dir(), "EE"), "8374");
    EXPECT_EQ(settingInt(diary.dir(), "EA"), 1);

    // A kcal goal that is not a whole number is stored as "0".
    {
        TFormMain1 window(diary.dir());
        window.EditEnergieCal->setText("20x");
        window.close();
    }
    EXPECT_EQ(settingText(diary.dir(), "EE"), "0");
    EXPECT_TRUE(seams.messages.isEmpty());
}

TEST(Startup, SettingsOutsideTheirValuesAreReadAsTheyAreAndWrittenBack)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"EA", qint64(2)},
                                {"NF", qint64(0)},
                                {"AF", qint64(7)},
                                {"CBG", qint64(2)},
                                {"CBH", qint64(41)},
                                {"SBM2", qint64(77)},
                                {"EF", QStringLiteral("70")}});
    {
        TFormMain1 window(diary.dir());
        EXPECT_FALSE(window.AnzeigeKcal) << "EA = 2 shows kJ";
        EXPECT_EQ(window.NahrungKategorie, 0);
        EXPECT_TRUE(window.SpeedButtonN[1]->isChecked());
        EXPECT_EQ(window.StringGridNRG->rowCount(), 2) << "category 0 has no foods";
        EXPECT_EQ(window.StringGridNRG->cell(0, 1), "Keine Einträge vorhanden !");
        EXPECT_TRUE(window.SpeedButtonA[7]->isChecked());
        EXPECT_EQ(window.ComboBoxGeschlecht->currentText(), "weiblich");
        EXPECT_EQ(window.ComboBoxHoehe->currentText(), "180 cm");
        EXPECT_EQ(window.ScrollPosX[2], 77);
        EXPECT_EQ(window.EditFett->text(), "70");
        window.close();
    }
    EXPECT_EQ(settingInt(diary.dir(), "EA"), 0);
    EXPECT_EQ(settingInt(diary.dir(), "NF"), 0);
    EXPECT_EQ(settingInt(diary.dir(), "AF"), 7);
    EXPECT_EQ(settingInt(diary.dir(), "CBH"), 41);
    EXPECT_EQ(settingInt(diary.dir(), "SBM2"), 77);
    EXPECT_EQ(settingText(diary.dir(), "EF"), "70");
}

TEST(Startup, ASettingsTableWithoutARecordReadsAsZerosAndGetsOneAtTheEnd)
{
    FreshDiary diary;
    Seams seams;
    {
        store::Table reg(store::schema::reg());
        reg.open(diary.dir());
        reg.deleteRecord();
    }
    {
        TFormMain1 window(diary.dir());
        EXPECT_EQ(window.NahrungKategorie, 0);
        EXPECT_EQ(window.ZoomStufeY[1], 0) << "no defaults for an empty table";
        EXPECT_EQ(window.EditEnergie->text(), "");
        EXPECT_EQ(window.EditFett->text(), "");
        EXPECT_EQ(window.EditEnergieCal->text(), "0");
        window.close();
    }
    store::Table reg(store::schema::reg());
    reg.open(diary.dir());
    EXPECT_EQ(testing_support::contentOf(reg).size(), 1);
    EXPECT_TRUE(seams.messages.isEmpty());
}

TEST(Startup, ASettingsTableLackingAFieldGivesTheDefaultsSilently)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"NF", qint64(5)}, {"SZY3", qint64(3)}, {"EE", QStringLiteral("9000")}});
    QFile file(diary.path("ZEB_REG.dbf"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace(QByteArray("SG\0", 3), QByteArray("XG\0", 3)); // the smoothing field is gone
    file.seek(0);
    file.write(bytes);
    file.close();

    TFormMain1 window(diary.dir());
    EXPECT_FALSE(window.StartFehler);
    EXPECT_EQ(window.NahrungKategorie, 1);
    EXPECT_EQ(window.ZoomStufeY[3], 2);
    EXPECT_EQ(window.EditEnergie->text(), "0");
    EXPECT_EQ(window.EditEnergieCal->text(), "0");
    EXPECT_TRUE(seams.messages.isEmpty());
    // Writing the record back fails on the missing field.
    window.close();
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].startsWith("Fataler Fehler beim Programmende!\rDatei ZEB_REG.dbf"));
}

TEST(Startup, AMissingNotesTableStopsTheStartAfterTheListsWereFilled)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"NF", qint64(3)}, {"CBA", qint64(2)}});
    ASSERT_TRUE(QFile::remove(diary.path("ZEB_XTB.dbf")));
    {
        TFormMain1 window(diary.dir());
        EXPECT_TRUE(window.StartFehler);
        ASSERT_EQ(seams.messages.size(), 1);
        const QStringList lines = seams.messages[0].split(u'\r');
        EXPECT_EQ(lines.size(), 18);
        EXPECT_EQ(lines[0], "Fataler Fehler beim Öffnen der Datenbankdateien !");
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[6], "von \"ZEB2006.exe\" vorhanden sind:");
        EXPECT_EQ(lines[11], "ZEB_NTB.dbf");
        EXPECT_EQ(lines[17], "alle Tagebucheinträge verloren gehen.");
        EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Exclamation});
        EXPECT_GT(window.StringGridNRG->rowCount(), 2) << "the food list was filled before the failure";
        EXPECT_EQ(window.StringGridFIT->rowCount(), 17);

        bool closed = false;
        QObject::connect(&window, &TFormMain1::closed, [&] { closed = true; });
        window.show();
        settle();
        EXPECT_TRUE(closed);
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_EQ(seams.messages.size(), 1) << "the settings were written back";
    EXPECT_EQ(settingInt(diary.dir(), "NF"), 3);
    EXPECT_EQ(settingInt(diary.dir(), "CBA"), 2);
}

TEST(Startup, AMissingSettingsTableStopsTheStartAndTheEnd)
{
    FreshDiary diary;
    Seams seams;
    ASSERT_TRUE(QFile::remove(diary.path("ZEB_REG.dbf")));
    TFormMain1 window(diary.dir());
    EXPECT_TRUE(window.StartFehler);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(
        seams.messages[0].startsWith("Fataler Fehler beim Öffnen der Datei ZEB_REG.dbf !\r\r1. Datei"));
    EXPECT_TRUE(seams.messages[0].contains("Arbeitsverzeichnis von \"ZEB2006.exe\" vorhanden ist.\r"));
    EXPECT_EQ(window.StringGridNRG->rowCount(), 1) << "nothing else was loaded";
    window.show();
    settle();
    ASSERT_EQ(seams.messages.size(), 2);
    EXPECT_EQ(seams.messages[1],
              "Fataler Fehler beim Programmende!\rDatei ZEB_REG.dbf konnte nicht beschrieben werden.");
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_REG.dbf"))) << "no table is ever created";
}

TEST(Startup, TheDiaryOpensOnTodayKeptInsideItsDays)
{
    FreshDiary diary;
    Seams seams;
    const std::pair<QDate, QDate> cases[] = {
        {QDate(2013, 1, 5), QDate(2012, 12, 29)},
        {QDate(2012, 12, 30), QDate(2012, 12, 29)},
        {QDate(2001, 6, 1), QDate(2002, 1, 1)},
        {QDate(2002, 1, 1), QDate(2002, 1, 1)},
    };
    for (const auto& [today, expected] : cases) {
        platform::setToday(today);
        TFormMain1 window(diary.dir());
        EXPECT_EQ(window.DateTimePicker->date(), expected) << today.toString(Qt::ISODate).toStdString();
        window.close();
    }
}

// A diary laid out for other years on the day the clock shows: every place
// that needs the diary's days takes them from its daily summary.
TEST(Startup, EveryPlaceTakesTheDaysOfTheDailySummary)
{
    const auto german = [](QDate day) { return day.toString(QStringLiteral("dd.MM.yyyy")); };
    const auto typed = [&](QDateEdit* picker, QDate day) { // over the whole text, then Enter
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(picker, german(day));
        QTest::keyClick(picker, Qt::Key_Return);
        return picker->date();
    };
    const std::tuple<int, QDate, QDate> cases[] = {{2002, {2026, 12, 7}, {2012, 12, 29}},
                                                   {2026, {2026, 12, 7}, {2026, 12, 7}},
                                                   {2026, {2037, 1, 5}, {2036, 12, 29}},
                                                   {2026, {2025, 6, 1}, {2026, 1, 1}},
                                                   {2025, {2025, 3, 9}, {2025, 3, 9}}};
    for (const auto& [firstYear, today, opensOn] : cases) {
        SCOPED_TRACE(today.toString(Qt::ISODate).toStdString());
        const diary::Range range = *diary::Range::elevenYears(firstYear);
        QTemporaryDir dir;
        install::layOutDiary(dir.path(), install::Content::Fresh, firstYear, today);
        Seams seams;
        platform::setToday(today);
        TFormMain1 main(dir.path());
        THelpForm1 help;
        help.showDiaryRange(&main.range());
        TToolForm1 tools(main);
        main.setSideWindows(&help, &tools);
        EXPECT_EQ(main.DateTimePicker->date(), opensOn);
        EXPECT_TRUE(help.RichEditHelp1->toPlainText().contains("vom " + german(range.first) + " bis zum " +
                                                               german(range.last)));
        // The chart: its origin, its weeks, and the weeks the diary was laid out in.
        EXPECT_EQ(main.ErstesDatum, range.first);
        EXPECT_EQ(main.ScrollBarStatistikX->maximum(), (range.first.daysTo(range.last) + 1) / 7);
        const QDate shown = chart::windowStart(range.first, main.ScrollBarStatistikX->value());
        const QDate laidOut = std::clamp(today, range.first, install::lastShownDay(range));
        EXPECT_TRUE(shown <= laidOut && laidOut < shown.addDays(chart::windowDays(1)));
        // "beliebig" looks back to the first day.
        main.EditNotizSuche->setText(QStringLiteral("Urlaub"));
        main.ComboBoxNotizSuche->setCurrentIndex(5);
        main.ButtonNotizSuche->click();
        if (range.first.daysTo(opensOn) > 30)
            EXPECT_EQ(main.ProgressBarNotizSuche->maximum(), range.first.daysTo(opensOn));

        main.SpeedButtonTool->click();
        QTest::mouseClick(tools.TabControlTools, Qt::LeftButton, {},
                          tools.TabControlTools->tabRect(2).center());
        EXPECT_EQ(tools.DateTimePickerVerwalten1->date(),
                  std::clamp(opensOn.addDays(-1), range.first.addDays(1), range.last));
        EXPECT_EQ(typed(tools.DateTimePickerVerwalten1, range.first), range.first.addDays(1));
        EXPECT_EQ(typed(tools.DateTimePickerVerwalten2, range.last.addDays(1)), range.last);
        tools.close();
        EXPECT_EQ(typed(main.DateTimePicker, range.first.addDays(-1)), range.first);
        EXPECT_EQ(typed(main.DateTimePicker, range.last.addDays(1)), range.last);
        EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join('\n').toStdString();
    }
}

TEST(Startup, TheDayWeightIsShownInTheShortestLocalForm)
{
    FreshDiary diary;
    Seams seams;
    {
        store::Table zeb(store::schema::zeb());
        zeb.open(diary.dir());
        ASSERT_TRUE(zeb.locate("ZEBDATUM", QDate(2007, 2, 3)));
        zeb.edit();
        zeb.setField("ZEBGEWICHT", 81.5);
        zeb.post();
    }
    platform::setToday(QDate(2007, 2, 3));
    TFormMain1 window(diary.dir());
    EXPECT_EQ(window.EditTagesgewicht->text(), "81,5");
}

TEST(Startup, ReturningToTheMainWindowClosesTheToolsWindow)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    THelpForm1 help;
    TToolForm1 tools(window);
    window.setSideWindows(&help, &tools);
    window.show();
    window.SpeedButtonTool->click();
    EXPECT_TRUE(tools.isVisible());
    window.FormActivate();
    EXPECT_FALSE(tools.isVisible());
    window.SpeedButtonHilfe->click();
    EXPECT_TRUE(help.isVisible());
    window.FormActivate();
    EXPECT_TRUE(help.isVisible()) << "only the tools window closes";
    window.close();
}

TEST(Startup, TheFrameIsDrawnAtItsPlaces)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    window.show();
    settle();
    EXPECT_EQ(window.PanelLinks1->geometry(), QRect(0, 0, 112, 554));
    EXPECT_EQ(window.PanelZiele->geometry(), QRect(112, 3, 553, 546));
    EXPECT_EQ(window.PanelNahrung->geometry(), QRect(112, 2, 553, 546));
    EXPECT_EQ(window.PanelRechts1->geometry(), QRect(664, 0, 115, 554));
    EXPECT_EQ(window.SpeedButtonEnde->geometry(), QRect(63, 514, 49, 38));
    EXPECT_EQ(window.DateTimePicker->geometry(), QRect(7, 21, 93, 24));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(780, 554));
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    shot.save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/main-frame.png"));
    window.close();
}
