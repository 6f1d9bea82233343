// The day selector typed into as a person types: by keys, Tab, paste and
// drop, on a German and an English system, and the day it leads to.

#include "main/draw/picture.h"
#include "main/zeb6.h"
#include "support/window.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kStartDay(2012, 12, 29);

// A character that a German keyboard gives through AltGr or a compose key.
void typeCharacter(QWidget* widget, Qt::Key key, const QString& text)
{
    QTest::sendKeyEvent(QTest::Press, widget, key, text, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, key, text, Qt::NoModifier);
}

class DaySelector : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store::Table zeb(store::schema::zeb());
        zeb.open(diary.dir());
        for (const auto& [day, kg] : {std::pair{QDate(2012, 12, 23), 81.5},
                                      {QDate(2012, 12, 27), 82.0},
                                      {QDate(2012, 3, 29), 79.0},
                                      {QDate(2005, 7, 3), 90.5},
                                      {QDate(2012, 12, 31), 83.5},
                                      {QDate(2002, 1, 1), 95.0}}) {
            ASSERT_TRUE(zeb.locate("ZEBDATUM", day));
            zeb.edit();
            zeb.setField("ZEBGEWICHT", kg);
            zeb.post();
        }
        zeb.close();
        platform::setToday(kStartDay);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        picker = window->DateTimePicker;
        edit = picker->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        picker->setFocus();
        settle();
    }

    // A click into the text that puts the cursor at `position`.
    void clickAt(int position)
    {
        for (int x = 1; x < edit->width(); ++x) {
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
            if (edit->cursorPosition() == position)
                return;
        }
        FAIL() << "no place in the text for cursor position " << position;
    }

    // Text dragged from elsewhere and let go over the field.
    void drop(const QString& text)
    {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(edit, &drop);
    }

    void leave()
    {
        window->EditTagesgewicht->setFocus();
        settle();
    }

    QString weight() const { return window->EditTagesgewicht->text(); }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
    QDateEdit* picker = nullptr;
    QLineEdit* edit = nullptr;
};

} // namespace

TEST_F(DaySelector, DigitsTypedIntoTheDaySetTheDay)
{
    for (int position : {0, 1, 2}) {
        SCOPED_TRACE(position);
        picker->setDate(kStartDay);
        picker->setFocus();
        clickAt(position);
        QTest::keyClicks(picker, "23");
        EXPECT_EQ(picker->text(), "23.12.2012");
        leave();
        EXPECT_EQ(picker->date(), QDate(2012, 12, 23));
        EXPECT_EQ(weight(), "81,5") << "the weight field follows the day";
    }
    // A press on something that takes no focus, here the goals tab.
    picker->setDate(kStartDay);
    picker->setFocus();
    clickAt(2);
    QTest::keyClicks(picker, "23");
    ASSERT_EQ(window->LabelOrdner[1]->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(window->LabelOrdner[1], Qt::LeftButton);
    EXPECT_TRUE(picker->hasFocus());
    EXPECT_EQ(picker->date(), QDate(2012, 12, 23));
    EXPECT_EQ(weight(), "81,5");

    picker->setFocus();
    clickAt(1);
    QTest::keyClicks(picker, "5");
    EXPECT_EQ(picker->text(), "5.12.2012");
    EXPECT_EQ(edit->cursorPosition(), 2) << "no day begins with 5 and has a second digit: on to the month";
    EXPECT_EQ(picker->date(), QDate(2012, 12, 23)) << "nothing happens before Enter";
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 5));
    EXPECT_EQ(picker->text(), "05.12.2012");
    clickAt(4);
    QTest::keyClicks(picker, "3");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 3, 5));
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}

TEST_F(DaySelector, AWholeDateTypedOverTheSelectionTakesEffectWhenItIsComplete)
{
    QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(picker, "27.12.2012");
    EXPECT_EQ(picker->text(), "27.12.2012");
    EXPECT_EQ(picker->date(), kStartDay) << "nothing happens before Enter";
    EXPECT_EQ(weight(), "0");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 27));
    EXPECT_EQ(weight(), "82");

    // Leaving the field by Tab.
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(picker, "3.7.2005");
    QTest::keyClick(picker, Qt::Key_Tab);
    settle();
    EXPECT_FALSE(picker->hasFocus());
    EXPECT_EQ(picker->date(), QDate(2005, 7, 3));
    EXPECT_EQ(picker->text(), "03.07.2005");
    EXPECT_EQ(weight(), "90,5");
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}

TEST_F(DaySelector, DaysOutsideTheDiaryAreTakenAndMovedIntoIt)
{
    clickAt(8);
    QTest::keyClicks(picker, "2013");
    EXPECT_EQ(picker->text(), "29.12.2013");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 31));
    EXPECT_EQ(picker->text(), "31.12.2012");
    EXPECT_EQ(weight(), "83,5");

    clickAt(8);
    QTest::keyClicks(picker, "2001");
    leave();
    EXPECT_EQ(picker->date(), QDate(2002, 1, 1));
    EXPECT_EQ(weight(), "95");

    picker->setDate(QDate(2013, 3, 1));
    EXPECT_EQ(picker->date(), QDate(2012, 12, 31));
    picker->setDate(QDate(2001, 12, 31));
    EXPECT_EQ(picker->date(), QDate(2002, 1, 1));
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}

TEST_F(DaySelector, TextThatIsNoDayIsRefusedWithAMessageAndTheDayStays)
{
    const QString refusal = "\"%1\" ist kein gültiges Datum.\rEs bleibt beim 29.12.2012.";
    struct Case
    {
        const char* name;
        std::function<void()> type;
        QString refused;
    };
    const Case cases[] = {
        {"letters over the selection",
         [&] {
             QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(picker, "a");
         },
         "a"},
        {"a euro sign",
         [&] {
             clickAt(10);
             typeCharacter(picker, Qt::Key_E, "€");
         },
         "29.12.2012€"},
        {"German quotes",
         [&] {
             QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
             typeCharacter(picker, Qt::Key_unknown, "„");
         },
         "„"},
        {"month 13",
         [&] {
             clickAt(4);
             QTest::keyClicks(picker, "13");
         },
         "29.13.2012"},
        {"an impossible day on Enter",
         [&] {
             QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(picker, "31.02.2012");
             QTest::keyClick(picker, Qt::Key_Return);
         },
         "31.02.2012"},
        {"an unfinished date on leaving",
         [&] {
             QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(picker, "27.12.");
             leave();
         },
         "27.12."},
        {"a pasted word",
         [&] {
             QApplication::clipboard()->setText("heute");
             QTest::keyClick(picker, Qt::Key_V, Qt::ControlModifier);
         },
         "heute"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seams.messages.clear();
        picker->setFocus();
        c.type();
        EXPECT_EQ(seams.messages, QStringList{refusal.arg(c.refused)});
        EXPECT_EQ(picker->text(), "29.12.2012");
        EXPECT_EQ(picker->date(), kStartDay);
        leave();
        EXPECT_EQ(picker->date(), kStartDay);
    }
}

TEST_F(DaySelector, PastedAndDroppedDates)
{
    QApplication::clipboard()->setText(" 27.12.2012 ");
    clickAt(3);
    QTest::keyClick(picker, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(picker->text(), "27.12.2012") << "a whole date pasted anywhere replaces the text";
    leave();
    EXPECT_EQ(picker->date(), QDate(2012, 12, 27));

    drop("03.07.2005");
    EXPECT_EQ(picker->date(), QDate(2005, 7, 3)) << "a dropped date at once";
    EXPECT_EQ(weight(), "90,5");

    drop("Kuchen");
    EXPECT_EQ(seams.messages, QStringList{"\"Kuchen\" ist kein gültiges Datum.\rEs bleibt beim 03.07.2005."});
    EXPECT_EQ(picker->date(), QDate(2005, 7, 3));
}

TEST_F(DaySelector, ArrowKeysStepThePartUnderTheCursor)
{
    clickAt(1);
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 28));
    clickAt(4);
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(picker->date(), QDate(2012, 11, 28));
    clickAt(9);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 31)) << "a year later, moved into the diary";
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}

TEST(DaySelectorEnglish, TheAmericanOrderOfParts)
{
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    FreshDiary diary;
    Seams seams;
    platform::setToday(kStartDay);
    TFormMain1 window(diary.dir());
    window.show();
    QDateEdit* picker = window.DateTimePicker;
    EXPECT_EQ(picker->text(), "12/29/2012");
    picker->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(picker, "12/27/2012");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 12, 27));
    picker->findChild<QLineEdit*>()->setCursorPosition(0);
    QTest::keyClicks(picker, "3");
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(picker->date(), QDate(2012, 3, 27));
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
}
