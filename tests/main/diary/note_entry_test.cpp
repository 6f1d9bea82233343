// Text entering the note editor by every way a user has (typed on a German
// keyboard, pasted, dropped, composed by an input method, Tab): what the
// note file's code page cannot hold is replaced at once, the editor shows
// what is stored, and the 2000-character limit holds.

#include "controls/stringgrid.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2009, 4, 20);
// The key code of AltGr+E on a German layout is the character's own.
constexpr int kEuroKey = 0x20AC;

// Characters a German keyboard (AltGr), a compose key or a paste brings,
// and what the note file holds for them.
const QString kTypographic = QString::fromUtf8("„Kino“ ‚9 €‘ – 2 — 3 … \xF0\x9F\x98\x80!");
const QString kStored = QStringLiteral("\"Kino\" '9 EUR' - 2 - 3 ... ?!");

class NoteEntry : public ::testing::Test
{
protected:
    NoteEntry()
    {
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->PanelNotiz->raise();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        memo()->setFocus();
    }

    LimitedTextEdit* memo() const { return window->MemoNotiz; }

    // A key as a German keyboard sends it: AltGr+E gives the euro sign.
    void typeKey(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::GroupSwitchModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(memo(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(memo(), &release);
    }

    // Each character as a key of its own.
    void typeText(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            QString c = text.mid(i, 1);
            if (text[i].isHighSurrogate())
                c = text.mid(i++, 2);
            typeKey(Qt::Key_unknown, c, Qt::NoModifier);
        }
    }

    void paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(memo(), Qt::Key_V, Qt::ControlModifier);
    }

    // A drop of hand-built text on the editor at the end of its text.
    void drop(const QString& text)
    {
        QMimeData data;
        data.setText(text);
        memo()->moveCursor(QTextCursor::End);
        const QPoint at = memo()->cursorRect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo()->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo()->viewport(), &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo()->viewport(), &dropped);
    }

    void compose(const QString& text)
    {
        QInputMethodEvent preedit(text, {});
        QApplication::sendEvent(memo(), &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(memo(), &commit);
    }

    QString storedNote() const
    {
        const QStringList records = dbfreadContent(diary.path("ZEB_XTB.dbf"));
        EXPECT_EQ(records.size(), 1);
        return records.value(0).section(u'|', 2).remove(u'|').replace(QStringLiteral("\\r\\n"),
                                                                      QStringLiteral("\n"));
    }

    void expectShownAsStored(const QString& text)
    {
        EXPECT_EQ(memo()->toPlainText(), text);
        EXPECT_EQ(storedNote(), text);
        EXPECT_EQ(window->LabelNotizAnzahl->text(),
                  QStringLiteral("%1/2000").arg(text.size() + text.count(u'\n')));
        EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(u'\n').toStdString();
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(NoteEntry, TheEuroSignTypedOnAGermanKeyboardIsStoredAsEUR)
{
    QTest::keyClicks(memo(), "Kino 9 ");
    typeKey(kEuroKey, QStringLiteral("€"));
    QTest::keyClicks(memo(), " mit Anna");
    expectShownAsStored("Kino 9 EUR mit Anna");
    // After a day change and back the note reads the same.
    window->DateTimePicker->setDate(kToday.addDays(1));
    window->DateTimePicker->setDate(kToday);
    EXPECT_EQ(memo()->toPlainText(), "Kino 9 EUR mit Anna");
}

TEST_F(NoteEntry, TypographicCharactersTypedOneByOneAreReplacedAtOnce)
{
    typeText(kTypographic);
    expectShownAsStored(kStored);
    EXPECT_EQ(memo()->textCursor().position(), kStored.size()) << "typing goes on after the replacement";
}

TEST_F(NoteEntry, AReplacementInTheMiddleLeavesTheCursorBehindIt)
{
    QTest::keyClicks(memo(), "9 ab");
    memo()->moveCursor(QTextCursor::Left);
    memo()->moveCursor(QTextCursor::Left);
    typeKey(kEuroKey, QStringLiteral("€"));
    QTest::keyClicks(memo(), " ");
    expectShownAsStored("9 EUR ab");
    EXPECT_EQ(memo()->textCursor().position(), 6);
}

TEST_F(NoteEntry, PastedTextIsReplacedAsItArrives)
{
    QTest::keyClicks(memo(), "A ");
    paste(kTypographic);
    expectShownAsStored("A " + kStored);
    EXPECT_EQ(memo()->textCursor().position(), 2 + kStored.size());
}

TEST_F(NoteEntry, DroppedTextIsReplacedAsItArrives)
{
    QTest::keyClicks(memo(), "B ");
    drop(kTypographic);
    expectShownAsStored("B " + kStored);
}

TEST_F(NoteEntry, TextComposedByAnInputMethodIsReplacedAsItArrives)
{
    QTest::keyClicks(memo(), "C ");
    compose(kTypographic);
    expectShownAsStored("C " + kStored);
}

TEST_F(NoteEntry, TabAndShiftTabMoveTheFocusAndInsertNothing)
{
    memo()->setPlainText(QString(2000, u'c'));
    memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(memo(), Qt::Key_Tab);
    EXPECT_FALSE(memo()->hasFocus());
    EXPECT_EQ(memo()->toPlainText(), QString(2000, u'c'));
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "2000/2000");
    memo()->setFocus();
    QTest::keyClick(memo(), Qt::Key_Tab, Qt::AltModifier);
    EXPECT_EQ(window->LabelNotizAnzahl->text(), "2000/2000") << "Alt+Tab types a tab, if there is room";

    memo()->setPlainText("kurz");
    memo()->setFocus();
    QTest::keyClick(memo(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(memo()->hasFocus());
    memo()->setFocus();
    QTest::keyClick(memo(), Qt::Key_Tab);
    EXPECT_EQ(memo()->toPlainText(), "kurz");
    EXPECT_EQ(storedNote(), "kurz");
}

TEST_F(NoteEntry, TheLimitHoldsForTypedCharactersAndTheirReplacements)
{
    memo()->setPlainText(QString(1998, u'c'));
    memo()->moveCursor(QTextCursor::End);
    typeKey(kEuroKey, QStringLiteral("€"));
    EXPECT_EQ(memo()->toPlainText(), QString(1998, u'c')) << "EUR needs three characters";
    typeText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(memo()->toPlainText(), QString(1998, u'c') + u'?') << "an emoji is one character";
    typeText("ab");
    expectShownAsStored(QString(1998, u'c') + "?a");
}

TEST_F(NoteEntry, TheLimitHoldsForPastedText)
{
    memo()->setPlainText(QString(1995, u'c'));
    memo()->moveCursor(QTextCursor::End);
    paste("1234567890");
    expectShownAsStored(QString(1995, u'c') + "12345");
    paste("x");
    EXPECT_EQ(memo()->toPlainText().size(), 2000);

    // A pasted line break counts two, however the clipboard writes it.
    memo()->setPlainText(QString(1996, u'c'));
    memo()->moveCursor(QTextCursor::End);
    paste("a\r\nb\rc\nd");
    expectShownAsStored(QString(1996, u'c') + "a\nb");
}

TEST_F(NoteEntry, TheLimitHoldsForDroppedText)
{
    memo()->setPlainText(QString(1997, u'c'));
    drop("Tab\there");
    expectShownAsStored(QString(1997, u'c') + "Tab");
}

TEST_F(NoteEntry, TheLimitHoldsForComposedText)
{
    memo()->setPlainText(QString(1999, u'c'));
    memo()->moveCursor(QTextCursor::End);
    compose("ab");
    EXPECT_EQ(memo()->toPlainText(), QString(1999, u'c')) << "composed text is refused whole";
    compose(QStringLiteral("€"));
    EXPECT_EQ(memo()->toPlainText(), QString(1999, u'c'));
    compose(QStringLiteral("ä"));
    expectShownAsStored(QString(1999, u'c') + QStringLiteral("ä"));
}

TEST_F(NoteEntry, ASearchTypedWithTheEuroSignFindsTheNoteThatHoldsEUR)
{
    QTest::keyClicks(memo(), "Kino 9 ");
    typeKey(kEuroKey, QStringLiteral("€"));
    window->ListeNotizClick(false);
    QLineEdit* search = window->EditNotizSuche;
    search->setFocus();
    QTest::keyClicks(search, "9 ");
    QKeyEvent press(QEvent::KeyPress, kEuroKey, Qt::GroupSwitchModifier, QStringLiteral("€"));
    QApplication::sendEvent(search, &press);
    EXPECT_EQ(search->text(), "9 EUR");
    window->ButtonNotizSuche->click();
    EXPECT_EQ(window->StringGridNotizSuche->cell(0, 0), "20.04.2009");
    EXPECT_EQ(window->MemoNotizSuche->toPlainText(), "Kino 9 EUR");

    QTest::keyClicks(search, " und noch viel mehr Text");
    EXPECT_EQ(search->text(), "9 EUR und noch viel ") << "20 characters may be typed";

    // Composed by an input method.
    search->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("„Kino“ …"));
    QApplication::sendEvent(search, &commit);
    EXPECT_EQ(search->text(), "\"Kino\" ...");
}

TEST_F(NoteEntry, ASaveNeverFailsOnACharacterWhateverReachesTheEditor)
{
    // Text that bypasses the entry paths, as the program sets it.
    memo()->setPlainText(QString::fromUtf8("9 € – ok"));
    EXPECT_EQ(storedNote(), "9 EUR - ok");
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(u'\n').toStdString();
}

TEST_F(NoteEntry, ASearchTextPastedWithALineBreakOrTabFindsTheNote)
{
    QTest::keyClicks(memo(), "Altbier im Garten");
    window->ListeNotizClick(false);
    QLineEdit* search = window->EditNotizSuche;
    for (const QString& pasted : {QStringLiteral("Altbier\n"), QStringLiteral("Altbier\t"),
                                  QStringLiteral("\r\nAltbier"), QStringLiteral("Altbier\u00a0im")}) {
        SCOPED_TRACE(pasted.toStdString());
        search->clear();
        search->setFocus();
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(search->text(), pasted.contains(u"im") ? "Altbier im" : "Altbier");
        window->ButtonNotizSuche->click();
        EXPECT_EQ(window->StringGridNotizSuche->cell(0, 0), "20.04.2009");
        EXPECT_EQ(window->MemoNotizSuche->toPlainText(), "Altbier im Garten");
    }
}
