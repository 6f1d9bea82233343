// The notes folder through the real window: the note stored on every
// change, its eight parts, and the search.

#include "controls/stringgrid.h"
#include "diary/rules/notetext.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2009, 4, 20);

TEST(NoteText, PartsJoinBackWithTheirBlanks)
{
    const QString note = QString(249, u'a') + u' ' + QString(250, u' ') + u'b';
    const QStringList parts = notetext::split(note);
    ASSERT_EQ(parts.size(), 8);
    QStringList read; // as the table gives them back: trailing blanks gone
    for (const QString& p : parts) {
        QString t = p;
        while (t.endsWith(u' '))
            t.chop(1);
        read << t;
    }
    EXPECT_EQ(notetext::join(read), note);
    EXPECT_EQ(notetext::join(QStringList(8, QString())), QString());
    EXPECT_EQ(notetext::storedLength("ab\nc"), 5);
    EXPECT_EQ(notetext::storedForm("a\nb"), "a\r\nb");
    EXPECT_EQ(notetext::editorForm("a\r\nb"), "a\nb");
    EXPECT_EQ(notetext::excerpt("Zeile eins\r\nzwei", 6), "..eins  zwei..");
    EXPECT_EQ(notetext::excerpt(QString(100, u'x'), 10), ".." + QString(80, u'x') + "..");
    EXPECT_EQ(notetext::periodDays(0, kToday, QDate(2002, 1, 1)), 7);
    EXPECT_EQ(notetext::periodDays(5, QDate(2002, 1, 11), QDate(2002, 1, 1)), 10);
}

class NotesFolder : public ::testing::Test
{
protected:
    NotesFolder() { open(); }

    void open()
    {
        window.reset();
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->PanelNotiz->raise();
    }

    // Notes written before the window opens, by day.
    void writeNotes(const std::vector<std::pair<QDate, QString>>& notes)
    {
        window.reset();
        {
            store::Table xtb(store::schema::xtb());
            xtb.open(diary.dir());
            for (const auto& [day, text] : notes) {
                xtb.insert();
                xtb.setFields(testing_support::note(day, notetext::split(text)));
                xtb.post();
            }
        }
        open();
    }

    QStringList noteFile() const { return dbfreadContent(diary.path("ZEB_XTB.dbf")); }

    QStringList hits() const
    {
        QStringList rows;
        for (int r = 0; r < window->StringGridNotizSuche->rowCount(); ++r)
            rows << window->StringGridNotizSuche->cell(0, r) + " " + window->StringGridNotizSuche->cell(1, r);
        return rows;
    }

    void search(const QString& text, int period = 0)
    {
        window->ListeNotizClick(false);
        window->EditNotizSuche->setText(text);
        window->ComboBoxNotizSuche->setCurrentIndex(period);
        window->ButtonNotizSuche->click();
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(NotesFolder, TheFirstKeystrokeCreatesTheRecordAndEachFurtherOneRewritesIt)
{
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "") << "blank until the text first changes";
    QTest::keyClick(window->MemoNotiz, Qt::Key_H);
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "1/2000");
    EXPECT_EQ(noteFile(), QStringList{"2009-04-20|0|h|||||||"});
    QTest::keyClicks(window->MemoNotiz, "allo");
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "5/2000");
    EXPECT_EQ(noteFile(), QStringList{"2009-04-20|0|hallo|||||||"});
    QTest::keyClick(window->MemoNotiz, Qt::Key_Return);
    QTest::keyClicks(window->MemoNotiz, "x");
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "8/2000") << "a line break counts two";
    EXPECT_EQ(noteFile(), QStringList{"2009-04-20|0|hallo\\r\\nx|||||||"});
}

TEST_F(NotesFolder, SwitchingDaysLoadsTheirNotes)
{
    writeNotes({{kToday, "Heute"}});
    EXPECT_EQ(window->MemoNotiz->toPlainText(), "Heute");
    window->DateTimePicker->setDate(kToday.addDays(1));
    EXPECT_EQ(window->MemoNotiz->toPlainText(), "");
    EXPECT_EQ(noteFile(), (QStringList{"2009-04-20|0|Heute|||||||", "2009-04-21|0||||||||"}))
        << "emptying the editor wrote an empty note for the new day";
    window->DateTimePicker->setDate(kToday.addDays(2));
    window->DateTimePicker->setDate(kToday.addDays(3));
    EXPECT_EQ(noteFile().size(), 2) << "days without notes store nothing";
    window->DateTimePicker->setDate(kToday);
    EXPECT_EQ(window->MemoNotiz->toPlainText(), "Heute");
}

TEST_F(NotesFolder, LongNotesFillTheirPartsAndStopAtTheLimit)
{
    window->MemoNotiz->setPlainText(QString(250, u'a'));
    EXPECT_EQ(noteFile(), QStringList{"2009-04-20|0|" + QString(250, u'a') + "|||||||"});
    window->MemoNotiz->setPlainText(QString(251, u'b'));
    EXPECT_EQ(noteFile(), QStringList{"2009-04-20|0|" + QString(250, u'b') + "|b||||||"});
    window->MemoNotiz->setPlainText(QString(2000, u'c'));
    QString full = "2009-04-20|0";
    for (int k = 0; k < 8; ++k)
        full += "|" + QString(250, u'c');
    EXPECT_EQ(noteFile(), QStringList{full});

    window->MemoNotiz->moveCursor(QTextCursor::End);
    QTest::keyClicks(window->MemoNotiz, "dd");
    EXPECT_EQ(window->MemoNotiz->toPlainText().size(), 2000) << "no input past 2000 characters";
    window->MemoNotiz->setPlainText(QString(1999, u'c'));
    window->MemoNotiz->moveCursor(QTextCursor::End);
    QTest::keyClick(window->MemoNotiz, Qt::Key_Return);
    EXPECT_EQ(window->MemoNotiz->toPlainText().size(), 1999) << "a line break needs two characters";
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "1999/2000");
}

TEST_F(NotesFolder, BlanksAtPartBoundariesSurviveADaySwitchAndARestart)
{
    const QString note = QString(249, u'a') + "  " + QString(248, u'b') + " " + "Ende";
    window->MemoNotiz->setPlainText(note);
    window->DateTimePicker->setDate(kToday.addDays(1));
    window->DateTimePicker->setDate(kToday);
    EXPECT_EQ(window->MemoNotiz->toPlainText(), note);
    window->close();
    open();
    EXPECT_EQ(window->MemoNotiz->toPlainText(), note);
}

TEST_F(NotesFolder, TheSearchLooksThroughThePeriodOldestFirst)
{
    writeNotes(
        {{kToday.addDays(-8), "Kuchen gegessen"},
         {kToday.addDays(-7), "Viel Kuchen und noch mehr Kuchen"},
         {kToday.addDays(-3), "kein kuchen"},
         {kToday.addDays(-1), "Zeile eins\r\nKuchen am Abend, dazu ein Glas Milch und danach ein langer "
                              "Spaziergang zum See hinunter"},
         {kToday, "Apfel"}});
    search("Kuchen");
    EXPECT_EQ(hits(), (QStringList{"13.04.2009 ..Kuchen und noch mehr Kuchen..",
                                   "19.04.2009 ..Kuchen am Abend, dazu ein Glas Milch und danach ein langer "
                                   "Spaziergang zum See h.."}));
    EXPECT_EQ(window->MemoNotizSuche->toPlainText(), "Viel Kuchen und noch mehr Kuchen") << "the oldest hit";
    window->StringGridNotizSuche->selectGridRow(1);
    EXPECT_TRUE(window->MemoNotizSuche->toPlainText().startsWith("Zeile eins\nKuchen"));

    search("Abend, dazu");
    EXPECT_EQ(hits().size(), 1);
    search("KUCHEN");
    EXPECT_EQ(hits(), QStringList{"- Keine Einträge gefunden !"});
    EXPECT_EQ(window->MemoNotizSuche->toPlainText(), "");
    search("See hinunter");
    EXPECT_EQ(hits(), QStringList{"19.04.2009 ..See hinunter.."}) << "a shorter excerpt near the end";
    search("Kuchen", 1);
    EXPECT_EQ(hits().size(), 3) << "30 days reach the day before the last week";

    window->EditNotizSuche->setText("x");
    EXPECT_EQ(hits(), QStringList{"- -"}) << "a changed text resets the list";
    window->ButtonNotizSuche->click();
    EXPECT_EQ(window->EditNotizSuche->text(), "") << "one letter is refused";
    EXPECT_TRUE(seams.messages.isEmpty());
}

TEST_F(NotesFolder, Screenshot)
{
    writeNotes({{kToday.addDays(-2), "Morgens 30 Minuten gelaufen, danach Müsli mit Joghurt."},
                {kToday, "Heute war ein guter Tag.\nAbends Salat und ein kurzer Spaziergang."}});
    window->show();
    settle();
    window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/notes-editor.png"));
    search("Spaziergang", 1);
    settle();
    window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/notes-search.png"));
}

TEST_F(NotesFolder, TheSideBarButtonsSwitchThePanes)
{
    window->LabelOrdnerClick(2);
    EXPECT_TRUE(window->PanelOrdnerNotiz->isVisibleTo(window.get()));
    window->SpeedButtonT[2]->click();
    EXPECT_TRUE(window->PanelNotizSuche->isVisibleTo(window.get()));
    EXPECT_FALSE(window->PanelNotizBackground->isVisibleTo(window.get()));
    window->SpeedButtonT[1]->click();
    EXPECT_TRUE(window->PanelNotizBackground->isVisibleTo(window.get()));
    EXPECT_FALSE(window->PanelNotizSuche->isVisibleTo(window.get()));
}

TEST_F(NotesFolder, TheHitListShowsEveryColumnInFull)
{
    std::vector<std::pair<QDate, QString>> notes;
    for (int d = 1; d <= 12; ++d)
        notes.push_back(
            {kToday.addDays(-d), "Abends Kuchen mit Sahne und danach ein langer Spaziergang zum See"});
    writeNotes(notes);
    window->show();
    search("Kuchen", 1);
    settle();
    StringGrid* list = window->StringGridNotizSuche;
    ASSERT_EQ(list->rowCount(), 12);
    EXPECT_EQ(outOfView(*list), QStringList());
    const QRect excerpt = list->visualItemRect(list->item(5, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, excerpt.center());
    EXPECT_EQ(list->selectedRow(), 5);
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << "a click scrolls nothing sideways";
    EXPECT_EQ(outOfView(*list), QStringList());
    EXPECT_EQ(list->visualItemRect(list->item(5, 0)).left(), 0) << "the date shows from its first digit";
    EXPECT_EQ(list->columnWidth(0), 90);
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    window->PanelNotizSuche->grab().save(
        QStringLiteral(KELVARA_BINARY_DIR "/screenshots/notes-hit-list.png"));
}

// Another program changed the day's note: the key typed next is refused
// with the message, the editor then shows the stored note, and the key
// after it does not write the refused text over the other program's note.
TEST_F(NotesFolder, ARefusedChangeShowsTheStoredNote)
{
    QTest::keyClick(window->MemoNotiz, Qt::Key_H);
    runScript("python3",
              "import sys, dbf\nt = dbf.Table(sys.argv[1])\nt.open(dbf.READ_WRITE)\n"
              "with t[0] as r:\n    r.xtbtext1 = 'Von anderswo'\nt.close()\n",
              {diary.path("ZEB_XTB.dbf")});
    QTest::keyClick(window->MemoNotiz, Qt::Key_A);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].contains("von einem anderen Programm geändert")) << seams.messages[0].toStdString();
    EXPECT_EQ(window->MemoNotiz->toPlainText(), "Von anderswo");
    QTest::keyClick(window->MemoNotiz, Qt::Key_X);
    EXPECT_TRUE(noteFile().join(' ').contains("Von anderswo")) << noteFile().join(' ').toStdString();
}
