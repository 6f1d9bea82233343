// The goals folder of the real main window: personal data chosen in the
// combo boxes, the recommendations, the goal fields and the display unit.

#include "main/zeb6.h"
#include "support/printers.h"
#include "support/window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Chooses an item the way the keyboard does, which the box reports as the
// user's choice.
void choose(QComboBox* box, int index)
{
    ASSERT_GT(index, 0);
    box->setCurrentIndex(index - 1);
    QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentIndex(), index);
}

QStringList resultTexts(const TFormMain1& w)
{
    QStringList texts;
    for (const QLabel* l :
         {w.LabelEnergie1, w.LabelEnergie1cal, w.LabelEnergie2, w.LabelEnergie2cal, w.LabelProtein1,
          w.LabelProtein2, w.LabelKohlenh1, w.LabelKohlenh2, w.LabelFett1, w.LabelFett2})
        texts << l->text();
    return texts;
}

} // namespace

TEST(GoalsFolder, TheFolderHoldsItsControls)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    EXPECT_EQ(window.ComboBoxGeschlecht->count(), 3);
    EXPECT_EQ(window.ComboBoxGeschlecht->itemText(2), "weiblich");
    EXPECT_EQ(window.ComboBoxAlter->itemText(4), "über 60 Jahre");
    EXPECT_EQ(window.ComboBoxBeruf->itemText(2), "Mittelschwere Arbeit (z.B. Verkäufer/in)");
    EXPECT_EQ(window.ComboBoxBeruf->count(), 5);
    EXPECT_EQ(window.EditEnergieCal->geometry(), window.EditEnergie->geometry()) << "at the same place";
    EXPECT_EQ(window.LabelZiele7->text(), "Nahrungsenergie (kJ) :");
    EXPECT_EQ(window.RadioButtonKcal->text(), "Energieangabe in kcal");
    EXPECT_EQ(window.RadioButtonJoule->text(), "Energieangabe in Joule");
    EXPECT_EQ(window.LabelEnergie1->parentWidget(), window.PanelZiele2);
    // A fresh diary has no personal data yet.
    for (const QString& text : resultTexts(window))
        EXPECT_EQ(text, " - ");
}

TEST(GoalsFolder, ChoosingThePersonalDataComputesTheRecommendations)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    window.show();
    choose(window.ComboBoxGeschlecht, 1);
    choose(window.ComboBoxAlter, 3);
    choose(window.ComboBoxBeruf, 1);
    choose(window.ComboBoxHoehe, 41);
    // Everything but the desired weight: no result in either unit.
    for (const QString& text : resultTexts(window))
        EXPECT_EQ(text, " - ");
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    ASSERT_TRUE(window.AnzeigeKcal);
    EXPECT_EQ(window.LabelEnergie1cal->text(), " - ");
    EXPECT_EQ(window.LabelEnergie2cal->text(), " - ");

    window.StatistikVeraltet = false;
    choose(window.ComboBoxGewicht, 36);
    EXPECT_TRUE(window.StatistikVeraltet);
    EXPECT_EQ(window.NormGewicht, 80);
    EXPECT_EQ(resultTexts(window), (QStringList{"9700", "2350", "9400", "2250", "65 ... 85", "65 ... 80",
                                                "310 ... 340", "300 ... 330", "65 ... 75", "60 ... 75"}));
    EXPECT_TRUE(window.LabelEnergie1cal->isVisible());
    EXPECT_FALSE(window.LabelEnergie1->isVisible());

    // Back to "?": the results go, the normal weight stays.
    window.ComboBoxGeschlecht->setCurrentIndex(1);
    QTest::keyClick(window.ComboBoxGeschlecht, Qt::Key_Up);
    EXPECT_EQ(window.LabelEnergie1->text(), " - ");
    EXPECT_EQ(window.NormGewicht, 80);
    window.close();
}

TEST(GoalsFolder, TheStartShowsTheRecommendationsOfTheSavedData)
{
    FreshDiary diary;
    Seams seams;
    writeSettings(diary.dir(), {{"CBG", qint64(2)},
                                {"CBA", qint64(2)},
                                {"CBB", qint64(2)},
                                {"CBH", qint64(26)},
                                {"CBM", qint64(16)},
                                {"EA", qint64(1)}});
    TFormMain1 window(diary.dir());
    EXPECT_EQ(window.NormGewicht, 58);
    EXPECT_EQ(window.LabelEnergie1->text(), "8400");
    EXPECT_EQ(window.LabelEnergie1cal->text(), "2000");
    EXPECT_EQ(window.LabelEnergie2->text(), "8200");
    EXPECT_EQ(window.LabelEnergie2cal->text(), "1950");
    EXPECT_EQ(window.LabelKohlenh2->text(), "260 ... 285");
    // Shown in kcal from the start.
    EXPECT_EQ(window.LabelZiele7->text(), "Nahrungsenergie (kcal) :");
    EXPECT_FALSE(window.LabelEnergie1->isVisibleTo(&window));
    EXPECT_TRUE(window.LabelEnergie1cal->isVisibleTo(&window));
    EXPECT_TRUE(window.EditEnergieCal->isVisibleTo(&window));
    EXPECT_FALSE(window.EditEnergie->isVisibleTo(&window));
}

TEST(GoalsFolder, GoalFieldsTakeOnlyDigitsAndBackspace)
{
    FreshDiary diary;
    Seams seams;
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English)}) {
        LocaleScope scope(locale);
        TFormMain1 window(diary.dir());
        for (QLineEdit* edit : {window.EditEnergie, window.EditEnergieCal, window.EditFett,
                                window.EditProtein, window.EditKohlenh}) {
            edit->clear();
            QTest::keyClicks(edit, "7a-,.5 e+");
            EXPECT_EQ(edit->text(), "75") << locale.name().toStdString();
            QTest::keyClick(edit, Qt::Key_Backspace);
            EXPECT_EQ(edit->text(), "7");
        }
        QTest::keyClicks(window.EditEnergie, "80000");
        EXPECT_EQ(window.EditEnergie->text(), "78000") << "the field ends at five places";
        window.close();
    }
}

TEST(GoalsFolder, AGoalChangeMarksTheChartStale)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    for (QLineEdit* edit : {window.EditEnergie, window.EditEnergieCal, window.EditFett, window.EditProtein,
                            window.EditKohlenh}) {
        window.StatistikVeraltet = false;
        QTest::keyClicks(edit, "1");
        EXPECT_TRUE(window.StatistikVeraltet);
    }
}

TEST(GoalsFolder, SwitchingTheUnitConvertsTheEnergyGoal)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    window.show();
    window.EditEnergie->setText("8000");

    window.StatistikVeraltet = false;
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    EXPECT_TRUE(window.AnzeigeKcal);
    EXPECT_FALSE(window.RadioButtonJoule->isChecked());
    EXPECT_TRUE(window.StatistikVeraltet);
    EXPECT_EQ(window.EditEnergieCal->text(), "1911");
    EXPECT_EQ(window.LabelZiele7->text(), "Nahrungsenergie (kcal) :");
    EXPECT_TRUE(window.EditEnergieCal->isVisible());
    EXPECT_FALSE(window.EditEnergie->isVisible());
    EXPECT_TRUE(window.LabelEnergie2cal->isVisible());
    EXPECT_FALSE(window.LabelEnergie2->isVisible());

    QTest::mouseClick(window.RadioButtonJoule, Qt::LeftButton);
    EXPECT_FALSE(window.AnzeigeKcal);
    EXPECT_FALSE(window.RadioButtonKcal->isChecked());
    EXPECT_EQ(window.EditEnergie->text(), "8001");
    EXPECT_EQ(window.LabelZiele7->text(), "Nahrungsenergie (kJ) :");
    EXPECT_TRUE(window.EditEnergie->isVisible());
    EXPECT_FALSE(window.EditEnergieCal->isVisible());

    window.EditEnergie->setText("8374");
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    EXPECT_EQ(window.EditEnergieCal->text(), "2000");
    QTest::mouseClick(window.RadioButtonJoule, Qt::LeftButton);
    EXPECT_EQ(window.EditEnergie->text(), "8374");

    // A pasted goal that is not a whole number converts to "0".
    window.EditEnergie->setText("83x");
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    EXPECT_EQ(window.EditEnergieCal->text(), "0");
    // A goal longer than the kcal field takes when typed is shown whole.
    QTest::mouseClick(window.RadioButtonJoule, Qt::LeftButton);
    window.EditEnergie->setText("60000");
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    EXPECT_EQ(window.EditEnergieCal->text(), "14331");

    // Clicking the button already chosen changes nothing.
    window.EditEnergieCal->setText("2000");
    window.EditEnergie->setText("1");
    QTest::mouseClick(window.RadioButtonKcal, Qt::LeftButton);
    EXPECT_EQ(window.EditEnergieCal->text(), "2000");
    EXPECT_TRUE(seams.messages.isEmpty());
    window.close();
}

TEST(GoalsFolder, TheUnitButtonsDoNothingWhileTheWindowIsHidden)
{
    FreshDiary diary;
    Seams seams;
    TFormMain1 window(diary.dir());
    window.EditEnergie->setText("8000");
    window.RadioButtonKcal->setChecked(true);
    EXPECT_FALSE(window.AnzeigeKcal);
    EXPECT_EQ(window.LabelZiele7->text(), "Nahrungsenergie (kJ) :");
    EXPECT_EQ(window.EditEnergieCal->text(), "0");
}
