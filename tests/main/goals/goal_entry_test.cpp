// The goal fields of the real main window: their length limits hold for
// what the user enters, while goals set by the program from the settings
// record are shown whole and written back unchanged; pasted text is fitted
// to the settings file's code page.

#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class GoalEntry : public ::testing::Test
{
protected:
    void start(const std::vector<std::pair<const char*, store::Value>>& settings)
    {
        writeSettings(diary.dir(), settings);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The goal fields of the settings record after the window has closed,
    // as an independent reader sees them: EE, EF, EP, EK.
    QStringList closeAndReadGoals()
    {
        window->close();
        window.reset();
        const QStringList records = dbfreadContent(diary.path("ZEB_REG.dbf"));
        EXPECT_EQ(records.size(), 1);
        const QStringList fields = records.value(0).split(u'|');
        const store::TableSchema& reg = store::schema::reg();
        QStringList goals;
        for (const char* name : {"EE", "EF", "EP", "EK"})
            goals << fields.value(reg.fieldPosition(name));
        return goals;
    }

    void replaceByTyping(QLineEdit* edit, const char* keys)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, keys);
    }

    // Ctrl+V on the whole text.
    void paste(QLineEdit* edit, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(GoalEntry, GoalsLongerThanTheirFieldsAreShownWholeAndWrittenBackUnchanged)
{
    start({{"EA", qint64(0)},
           {"EE", QStringLiteral("123456")},
           {"EF", QStringLiteral("1000")},
           {"EP", QStringLiteral("2500")},
           {"EK", QStringLiteral("99")}});
    EXPECT_EQ(window->EditEnergie->text(), "123456");
    EXPECT_EQ(window->EditFett->text(), "1000");
    EXPECT_EQ(window->EditProtein->text(), "2500");
    EXPECT_EQ(closeAndReadGoals(), (QStringList{"123456", "1000", "2500", "99"}));
    EXPECT_TRUE(seams.messages.isEmpty());
}

TEST_F(GoalEntry, AKilocalorieGoalIsConvertedUncapped)
{
    start({{"EA", qint64(1)}, {"EE", QStringLiteral("50000")}});
    EXPECT_EQ(window->EditEnergieCal->text(), "11942");
    EXPECT_EQ(closeAndReadGoals().value(0), "49999");
}

TEST_F(GoalEntry, ALongKilojouleGoalSurvivesTheKilocalorieDisplay)
{
    start({{"EA", qint64(1)}, {"EE", QStringLiteral("123456")}});
    EXPECT_EQ(window->EditEnergieCal->text(), "29487");
    EXPECT_EQ(closeAndReadGoals().value(0), "123456");
}

TEST_F(GoalEntry, TheUnitSwitchConvertsLargeGoalsWhole)
{
    start({{"EA", qint64(0)}, {"EE", QStringLiteral("50000")}});
    QTest::mouseClick(window->RadioButtonKcal, Qt::LeftButton);
    ASSERT_TRUE(window->AnzeigeKcal);
    EXPECT_EQ(window->EditEnergieCal->text(), "11942");
    QTest::mouseClick(window->RadioButtonJoule, Qt::LeftButton);
    EXPECT_EQ(window->EditEnergie->text(), "49999");
}

TEST_F(GoalEntry, TypingStopsAtTheFieldsLength)
{
    start({});
    replaceByTyping(window->EditEnergie, "1234567");
    EXPECT_EQ(window->EditEnergie->text(), "12345");
    replaceByTyping(window->EditFett, "98765");
    EXPECT_EQ(window->EditFett->text(), "987");
    QTest::mouseClick(window->RadioButtonKcal, Qt::LeftButton);
    replaceByTyping(window->EditEnergieCal, "123456");
    EXPECT_EQ(window->EditEnergieCal->text(), "1234");
}

TEST_F(GoalEntry, AGoalSetLongerThanItsFieldTakesNoFurtherTypedDigitButCanBeShortened)
{
    start({{"EF", QStringLiteral("1000")}});
    QLineEdit* fett = window->EditFett;
    fett->setFocus();
    fett->end(false);
    QTest::keyClick(fett, Qt::Key_5);
    EXPECT_EQ(fett->text(), "1000");
    QTest::keyClick(fett, Qt::Key_Backspace);
    EXPECT_EQ(fett->text(), "100");
    QTest::keyClick(fett, Qt::Key_7);
    EXPECT_EQ(fett->text(), "100") << "three characters may be typed";
    QTest::keyClick(fett, Qt::Key_Home);
    QTest::keyClick(fett, Qt::Key_Delete);
    QTest::keyClick(fett, Qt::Key_4);
    EXPECT_EQ(fett->text(), "400");
}

TEST_F(GoalEntry, PastedAndDroppedTextIsHeldToTheLengthAndTheCodePage)
{
    start({});
    paste(window->EditProtein, "123456");
    EXPECT_EQ(window->EditProtein->text(), "123");

    // Pasted from the context menu.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("€"));
    window->EditKohlenh->selectAll();
    window->EditKohlenh->paste();
    EXPECT_EQ(window->EditKohlenh->text(), "EUR") << "shown as it is stored";

    paste(window->EditFett, QString::fromUtf8("„8“"));
    EXPECT_EQ(window->EditFett->text(), "\"8\"");

    // A drop of hand-built text onto the kJ field.
    QLineEdit* energie = window->EditEnergie;
    energie->selectAll();
    energie->del();
    QMimeData data;
    data.setText(QString::fromUtf8("9–9 €"));
    const QPoint at = energie->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(energie, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(energie, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(energie, &dropped);
    EXPECT_EQ(energie->text(), "9-9 E");

    // Saved without a fault: the file holds what the fields show.
    EXPECT_EQ(closeAndReadGoals(), (QStringList{"9-9 E", "\"8\"", "123", "EUR"}));
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(u'\n').toStdString();
}

TEST_F(GoalEntry, PastedLineBreaksAndTabsAreNotStored)
{
    start({});
    const struct
    {
        QLineEdit* edit;
        QString pasted;
        const char* shown;
    } cases[] = {{window->EditEnergie, QStringLiteral("9200\r\n"), "9200"},
                 {window->EditFett, QStringLiteral("\t70"), "70"},
                 {window->EditProtein, QStringLiteral("8\n5"), "85"},
                 {window->EditKohlenh, QStringLiteral("3\u00a000"), "3 0"}};
    for (const auto& c : cases) {
        paste(c.edit, c.pasted);
        EXPECT_EQ(c.edit->text(), c.shown) << c.pasted.toStdString();
    }
    EXPECT_EQ(closeAndReadGoals(), (QStringList{"9200", "70", "85", "3 0"}));
}
