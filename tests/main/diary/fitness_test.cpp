// The activity folder through the real window: duration symbols dragged at
// the booking panel's pixel coordinates, the weight rules, the whole-day
// entry and the waste bin.

#include "controls/stringgrid.h"
#include "diary/rules/activity.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/locale.h"
#include "support/window.h"

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;
using platform::Sound;

namespace {

const QDate kToday(2008, 9, 2);

const QString kWeightMessage = "Diese Aktion kann nicht durchgeführt werden.\rTragen Sie bitte zuerst ihr "
                               "Tagesgewicht (40...150 kg) ein.";

class ActivityFolder : public ::testing::Test
{
protected:
    ActivityFolder()
    {
        store::Table akt(store::schema::akt());
        akt.open(diary.dir());
        for (const auto& [name, kj] :
             {std::pair{"Testtanz", 1000}, {"Testrudern", 1200}, {"Dauerlauf", 90000}}) {
            akt.insert();
            akt.setFields(testing_support::activityItem(9, QString::fromUtf8(name), kj));
            akt.post();
        }
        akt.close();
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->SpeedButtonA[9]->click();
    }

    void select(const QString& name)
    {
        for (int r = 1; r < window->StringGridFIT->rowCount(); ++r) {
            if (window->StringGridFIT->cell(0, r) == name) {
                window->StringGridFIT->selectGridRow(r);
                return;
            }
        }
        FAIL() << "no activity " << name.toStdString();
    }

    // A press goes to whatever lies at that place of the booking panel (a
    // cover takes it); moves and the release go to the panel, which holds
    // the pointer while the button is down.
    void drag(int k, QPoint drop = QPoint(200, 250))
    {
        QWidget* panel = window->PanelFTB;
        const QPoint start(28, 11 + 43 * (k - 1) + 20);
        QWidget* target = panel->childAt(start);
        if (target)
            QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(panel, start));
        else
            QTest::mousePress(panel, Qt::LeftButton, {}, start);
        QTest::mouseMove(panel, drop);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, drop);
    }

    QStringList dayList() const
    {
        QStringList rows;
        for (int r = 1; r < window->StringGridFTB->rowCount(); ++r)
            rows << window->StringGridFTB->cell(0, r) + "|" + window->StringGridFTB->cell(1, r) + "|" +
                        window->StringGridFTB->cell(2, r);
        return rows;
    }

    QStringList activityFile() const { return dbfreadContent(diary.path("ZEB_FTB.dbf")); }

    void dropOnBin(int row)
    {
        window->StringGridFTB->selectGridRow(row);
        QMimeData data;
        data.setData("application/x-kelvara-day-row", "StringGridFTB");
        QDragEnterEvent enter(QPoint(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window->PanelFitnessDelete, &enter);
        accepted = enter.isAccepted();
        QDropEvent drop(QPointF(20, 20), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window->PanelFitnessDelete, &drop);
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
    bool accepted = false;
};

} // namespace

TEST(ActivityRules, EnergyIsScaledToWeightAndMinutes)
{
    EXPECT_EQ(activity::energy(1000, 60, 30), 400);
    EXPECT_EQ(activity::energy(1200, 90, 45), 1080);
    EXPECT_EQ(activity::energy(1350, 75, 60), 1350);
    EXPECT_EQ(activity::energy(100, 75, 3), 5) << "5.0 exactly";
    EXPECT_EQ(activity::energy(150, 75, 1), 2) << "2.5 goes to the even 2";
    EXPECT_EQ(activity::dailyEnergy(130, 80, 63, 2896), 10316);
    EXPECT_EQ(activity::dailyName("130"), "Grund- und Arbeitsumsatz 130%");
    EXPECT_EQ(activity::summed(9990, 99000, activity::Entry{60, 5000}).minutes, 9999);
    EXPECT_EQ(activity::summed(30, 120000, std::nullopt).energy, 99999);
    LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
    const QString outside = "Diese Aktion kann nicht durchgeführt werden.\rTragen Sie bitte zuerst ihr "
                            "Tagesgewicht (40...150 kg) ein.";
    EXPECT_EQ(activity::bookingWeight("70,9"), 70);
    EXPECT_EQ(activity::bookingWeight("150,9"), 150);
    EXPECT_EQ(activity::bookingWeight("40"), 40);
    EXPECT_EQ(activity::bookingWeight("39,9").message(), outside);
    EXPECT_EQ(activity::bookingWeight("151").message(), outside);
    EXPECT_EQ(activity::bookingWeight(",").message(),
              "Das Tagesgewicht \",\" ist keine Zahl.\rDie Buchung wurde nicht ausgeführt.");
}

TEST(ActivityRules, ADayTakesNoSecondWholeDayLevelNorOneBesideAnEntryThatMayHoldIt)
{
    const QString second = "Diese Aktion kann nicht durchgeführt werden, da bereits\r"
                           "eine Eintragung für Grund- und Arbeitsumsatz vorliegt.\r"
                           "Gegebenenfalls löschen Sie diesen Eintrag !";
    const QString mayHold = "Diese Aktion kann nicht durchgeführt werden, da die Eintragung\r"
                            "\"%1\" den Grund- und Arbeitsumsatz des Tages\r"
                            "bereits enthalten kann.";
    const struct
    {
        QStringList entries;
        QString refusal;
    } cases[] = {
        {{}, {}},
        {{"Walking", "Schwimmen"}, {}},
        {{"Walking", "Grund- und Arbeitsumsatz 130%"}, second},
        {{"Tageszusammenfassung"}, mayHold.arg("Tageszusammenfassung")},
        {{"Lückenfüller"}, mayHold.arg("Lückenfüller")},
        {{"Tageszusammenfassung", "Grund- und Arbeitsumsatz 110%"}, second},
        {{"grund- und arbeitsumsatz 130%", "tageszusammenfassung", "Tageszusammenfassung alt"}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(activity::checkSecondDaily(c.entries).message(), c.refusal)
            << c.entries.join(", ").toStdString();
}

TEST_F(ActivityFolder, TheEnergyFollowsTheWeightAndTheMinutes)
{
    window->EditTagesgewicht->setText("60");
    select("Testtanz");
    drag(5);
    window->EditTagesgewicht->setText("90");
    select("Testrudern");
    drag(4);
    EXPECT_EQ(dayList(), (QStringList{"30|Testtanz|400", "45|Testrudern|1080"}));
    EXPECT_EQ(activityFile(), (QStringList{"2008-09-02|30|Testtanz|400", "2008-09-02|45|Testrudern|1080"}));
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBFITNESS"), 1480);
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBENERGIE"), 0) << "an activity total never changes the food totals";
    EXPECT_EQ(seams.sounds, (std::vector<Sound>{Sound::Information, Sound::Information}));
}

TEST_F(ActivityFolder, RepeatedBookingsSumAndStopAtTheFieldLimits)
{
    window->EditTagesgewicht->setText("150,9");
    select("Dauerlauf");
    for (int i = 0; i < 60; ++i)
        drag(1);
    EXPECT_EQ(dayList(), QStringList{"9999|Dauerlauf|99999"});
    EXPECT_EQ(window->StringGridFTB->selectedRow(), 1);
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBFITNESS"), 99999);
}

TEST_F(ActivityFolder, AWeightOutsideItsRangeIsRefused)
{
    select("Testtanz");
    window->EditTagesgewicht->setText("39,9");
    drag(5);
    window->EditTagesgewicht->setText("");
    drag(5);
    EXPECT_EQ(window->EditTagesgewicht->text(), "0") << "an empty field becomes 0";
    window->EditTagesgewicht->setText(",");
    drag(5);
    // A group separator makes no number: the weight is neither 1070 nor 1,07.
    window->EditTagesgewicht->setText("1.070");
    drag(5);
    ASSERT_EQ(seams.messages.size(), 6) << "the weight field refuses the text, and so does the booking";
    EXPECT_EQ(seams.messages[0], kWeightMessage);
    EXPECT_EQ(seams.messages[1], kWeightMessage);
    EXPECT_TRUE(seams.messages[2].contains("\",\""));
    EXPECT_TRUE(seams.messages[3].contains("\",\""));
    EXPECT_TRUE(seams.messages[4].contains("\"1.070\""));
    EXPECT_EQ(seams.messages[5],
              "Das Tagesgewicht \"1.070\" ist keine Zahl.\rDie Buchung wurde nicht ausgeführt.");
    EXPECT_EQ(activityFile(), QStringList{});
    EXPECT_EQ(dayList(), QStringList{"|Keine Einträge vorhanden !|"});
}

TEST_F(ActivityFolder, TheWholeDayIsBookedOnceFromTheBasalRate)
{
    window->EditTagesgewicht->setText("80");
    window->SpeedButtonA[1]->click();
    EXPECT_EQ(window->ImageFDrag[1]->x(), -30) << "the 24 h sun is shown";
    window->StringGridFIT->selectGridRow(6);
    drag(1);
    EXPECT_EQ(seams.messages.size(), 1) << "sex and age are not chosen";
    seams.messages.clear();
    window->ComboBoxGeschlecht->setCurrentIndex(1);
    window->ComboBoxAlter->setCurrentIndex(2);
    drag(1);
    EXPECT_EQ(dayList(), QStringList{"1440|Grund- und Arbeitsumsatz 130%|10316"});

    // Only the top symbol can be dragged in the daily list.
    drag(3);
    EXPECT_EQ(dayList().size(), 1);
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("/").toStdString();

    window->StringGridFIT->selectGridRow(16);
    drag(1);
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(seams.messages[0], "Diese Aktion kann nicht durchgeführt werden, da bereits\r"
                                 "eine Eintragung für Grund- und Arbeitsumsatz vorliegt.\r"
                                 "Gegebenenfalls löschen Sie diesen Eintrag !");
    dropOnBin(1);
    drag(1);
    EXPECT_EQ(dayList(), QStringList{"1440|Grund- und Arbeitsumsatz 210%|16665"});
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBFITNESS"), 16665);
}

TEST_F(ActivityFolder, AnEmptyCategoryCoversAllSymbols)
{
    window->SpeedButtonA[5]->click(); // Rad+Skating has entries
    EXPECT_EQ(window->PanelDragAktivLeer->x(), -60);
    window->AktivKategorie = 1; // no catalogue records
    window->Dbf_AKT.refresh();
    window->SchreibeFitnessListe();
    window->WechselDragAktivBild();
    EXPECT_EQ(window->PanelDragAktivLeer->x(), 4);
    window->EditTagesgewicht->setText("80");
    drag(5);
    EXPECT_EQ(activityFile(), QStringList{});
}

TEST_F(ActivityFolder, DeletingTheLastEntryZeroesTheActivityTotal)
{
    window->EditTagesgewicht->setText("75");
    select("Testtanz");
    drag(3);
    dropOnBin(1);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(dayList(), QStringList{"|Keine Einträge vorhanden !|"});
    EXPECT_EQ(window->Dbf_ZEB.fieldInt("ZEBFITNESS"), 0);
    dropOnBin(1);
    EXPECT_FALSE(accepted);
}

TEST_F(ActivityFolder, Screenshot)
{
    window->EditTagesgewicht->setText("75");
    select("Testtanz");
    drag(3);
    window->PanelFitness->raise();
    window->PanelOrdnerAktiv->show();
    window->show();
    settle();
    window->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/activity-folder.png"));
}

TEST_F(ActivityFolder, TheDayListShowsEveryColumnInFull)
{
    window->EditTagesgewicht->setText("75");
    for (const char* name : {"Testtanz", "Testrudern"}) {
        select(name);
        drag(3);
    }
    window->PanelFitness->raise();
    window->show();
    settle();
    StringGrid* list = window->StringGridFTB;
    EXPECT_EQ(outOfView(*list), QStringList());
    const QRect energy = list->visualItemRect(list->item(1, 2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, energy.center());
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << "a click scrolls nothing sideways";
    EXPECT_EQ(outOfView(*list), QStringList());
    EXPECT_EQ(list->horizontalHeader()->sectionViewportPosition(0), 0);
    EXPECT_EQ(list->columnWidth(0), 42);
    EXPECT_EQ(list->columnWidth(2), 45) << "minutes and energy keep their widths";
    QDir().mkpath(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    list->grab().save(QStringLiteral(KELVARA_BINARY_DIR "/screenshots/activity-day-list.png"));
}
