// The goals, the personal data and the display unit are in the settings
// record as soon as an edit of them is finished, so that a program ended
// without its normal close (killed, crashed, a lost session) starts with
// them: one write per finished edit, none per keystroke.

#include "main/zeb6.h"
#include "support/faultfs.h"
#include "support/window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

class SettingsSave : public ::testing::Test
{
protected:
    // The main window on the diary, through a file system that counts its
    // calls, shown and active.
    void start()
    {
        window = std::make_unique<TFormMain1>(diary.dir(), fs);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The program ends without its close, as a killed one does, and starts
    // again on the same diary.
    void killAndRestart()
    {
        window.reset();
        start();
    }

    // What one write of the settings record costs in file-system calls.
    int oneWrite()
    {
        const int before = fs.calls();
        window->FormClose();
        return fs.calls() - before;
    }

    FreshDiary diary;
    Seams seams;
    FaultFileSystem fs;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(SettingsSave, AGoalTypedIsWrittenOnceWhenItsEditEnds)
{
    const struct
    {
        const char* how;
        std::function<void(TFormMain1&)> finish;
    } endings[] = {
        {"Tab", [](TFormMain1& w) { QTest::keyClick(w.EditEnergie, Qt::Key_Tab); }},
        {"Enter", [](TFormMain1& w) { QTest::keyClick(w.EditEnergie, Qt::Key_Return); }},
        {"a click into another field", [](TFormMain1& w) { QTest::mouseClick(w.EditFett, Qt::LeftButton); }},
    };
    start();
    const int write = oneWrite();
    ASSERT_GT(write, 0);
    int goal = 2345;
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.how);
        const QByteArray before = bytesOf(diary.path("ZEB_REG.dbf"));
        const int calls = fs.calls();
        QTest::mouseClick(window->EditEnergie, Qt::LeftButton);
        QTest::keyClick(window->EditEnergie, Qt::Key_A, Qt::ControlModifier);
        for (const QChar digit : QString::number(goal)) {
            QTest::keyClick(window->EditEnergie, digit.toLatin1());
            EXPECT_EQ(fs.calls(), calls) << "no write per keystroke";
        }
        EXPECT_EQ(bytesOf(diary.path("ZEB_REG.dbf")), before);
        ending.finish(*window);
        EXPECT_EQ(fs.calls() - calls, write) << "one settings write";
        killAndRestart();
        EXPECT_EQ(window->EditEnergie->text(), QString::number(goal));
        ++goal;
    }
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(u'\n').toStdString();
}

TEST_F(SettingsSave, AChoiceOfPersonalDataOrUnitIsWrittenAtOnce)
{
    start();
    const int write = oneWrite();
    const struct
    {
        const char* what;
        std::function<void(TFormMain1&)> choose;
        std::function<bool(TFormMain1&)> shown;
    } choices[] = {
        {"a sex chosen with the keyboard",
         [](TFormMain1& w) {
             w.ComboBoxGeschlecht->setFocus();
             QTest::keyClick(w.ComboBoxGeschlecht, Qt::Key_Down);
         },
         [](TFormMain1& w) { return w.ComboBoxGeschlecht->currentIndex() == 1; }},
        {"a height chosen in the opened list",
         [](TFormMain1& w) {
             w.ComboBoxHoehe->setFocus();
             w.ComboBoxHoehe->showPopup();
             QWidget* list = w.ComboBoxHoehe->view();
             for (int i = 0; i < 41; ++i)
                 QTest::keyClick(list, Qt::Key_Down);
             QTest::keyClick(list, Qt::Key_Return);
         },
         [](TFormMain1& w) { return w.ComboBoxHoehe->currentIndex() == 41; }},
        {"the kcal button clicked",
         [](TFormMain1& w) { QTest::mouseClick(w.RadioButtonKcal, Qt::LeftButton); },
         [](TFormMain1& w) { return w.AnzeigeKcal && w.RadioButtonKcal->isChecked(); }},
    };
    for (const auto& choice : choices) {
        SCOPED_TRACE(choice.what);
        const int calls = fs.calls();
        choice.choose(*window);
        EXPECT_TRUE(choice.shown(*window));
        EXPECT_EQ(fs.calls() - calls, write) << "one settings write";
        killAndRestart();
        EXPECT_TRUE(choice.shown(*window)) << "after the kill";
    }
    EXPECT_EQ(window->ComboBoxGeschlecht->currentIndex(), 1) << "every choice kept";
    EXPECT_EQ(window->ComboBoxHoehe->currentIndex(), 41);
}

TEST_F(SettingsSave, CategoriesAndTheChartStateAreWrittenAtOnce)
{
    start();
    const int write = oneWrite();
    window->LabelOrdnerClick(5);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a food category", [&] { window->SpeedButtonN[5]->click(); }},
        {"an activity category", [&] { window->SpeedButtonA[7]->click(); }},
        {"a chart series", [&] { window->SpeedButtonS[3]->click(); }},
        {"the value axis zoomed", [&] { window->BitBtnZoomYPlus->click(); }},
        {"the time axis zoomed", [&] { window->BitBtnZoomXPlus->click(); }},
        {"the time axis scrolled with a key",
         [&] { QTest::keyClick(window->ScrollBarStatistikX, Qt::Key_PageDown); }},
        {"smoothing switched on", [&] { window->BitBtnGlaettenJa->click(); }},
    };
    for (const auto& [what, change] : changes) {
        const QByteArray before = bytesOf(diary.path("ZEB_REG.dbf"));
        const int calls = fs.calls();
        change();
        EXPECT_EQ(fs.calls() - calls, write) << what << ": one settings write";
        EXPECT_NE(bytesOf(diary.path("ZEB_REG.dbf")), before) << what;
    }
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join(u'\n').toStdString();
}

TEST_F(SettingsSave, AFailedWriteIsToldOnceAndTheEndTriesAgain)
{
    FaultFileSystem failing(FaultFileSystem::Mode::Fail, 1);
    failing.setFailError(ENOSPC);
    window = std::make_unique<TFormMain1>(diary.dir(), failing);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QString stored = window->EditFett->text();
    QTest::mouseClick(window->EditFett, Qt::LeftButton);
    QTest::keyClick(window->EditFett, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->EditFett, "85");
    QTest::keyClick(window->EditFett, Qt::Key_Tab);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].contains("Der Datenträger ist voll")) << seams.messages[0].toStdString();
    EXPECT_EQ(window->EditFett->text(), stored) << "the goal the record holds";
    QTest::keyClick(window->EditFett, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->EditFett, "85");
    QTest::mouseClick(window->EditFett, Qt::LeftButton);
    QTest::keyClick(window->EditFett, Qt::Key_Tab);
    EXPECT_EQ(seams.messages.size(), 1) << "told once";
    window->close();
    window.reset();
    EXPECT_EQ(seams.messages.size(), 1) << "the end wrote it";
    start();
    EXPECT_EQ(window->EditFett->text(), "85");
}
