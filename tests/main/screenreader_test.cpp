// The three windows as a screen reader reads them through Qt's accessibility
// interfaces: page tabs, labels, symbol amounts, the lists' columns and the
// texts of the pictures.

#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "main/draw/picture.h"
#include "main/zeb6.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>

using namespace testing_support;

namespace {

const QDate kToday(2006, 5, 17);

QAccessibleInterface* face(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject* object)
{
    QAccessibleInterface* f = face(object);
    return f ? f->text(QAccessible::Name) : QString();
}

QString descriptionOf(QObject* object)
{
    QAccessibleInterface* f = face(object);
    return f ? f->text(QAccessible::Description) : QString();
}

class ScreenReader : public ::testing::Test
{
protected:
    void open()
    {
        platform::setToday(kToday);
        window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    FreshDiary diary;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(ScreenReader, TheFolderWordsArePageTabsAndOnlyTheFolderInFrontShows)
{
    open();
    const QFrame* panels[] = {window->PanelZiele, window->PanelNotiz, window->PanelNahrung,
                              window->PanelFitness, window->PanelStatistik};
    const QString words[] = {"Ziele", "Notizen", "Nahrung", "Aktivität", "Statistik"};
    for (int open : {1, 3, 5, 2, 4}) {
        SCOPED_TRACE(open);
        // A screen reader opens a folder with the press action of its tab.
        QAccessibleInterface* tab = face(window->LabelOrdner[open]);
        ASSERT_TRUE(tab && tab->actionInterface());
        EXPECT_TRUE(
            tab->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(window->AktuellerOrdner, open);
        for (int k = 1; k <= 5; ++k) {
            QAccessibleInterface* f = face(window->LabelOrdner[k]);
            EXPECT_EQ(f->role(), QAccessible::PageTab) << k;
            EXPECT_EQ(f->text(QAccessible::Name), words[k - 1]);
            EXPECT_TRUE(f->state().selectable);
            EXPECT_EQ(f->state().selected, k == open) << k;
            EXPECT_EQ(face(const_cast<QFrame*>(panels[k - 1]))->state().invisible, k != open) << k;
        }
    }
}

TEST_F(ScreenReader, TheToolsAndHelpWindowsTabsArePageTabsWithTheirCaptions)
{
    open();
    THelpForm1 help;
    TToolForm1 tools(*window);
    help.show();
    tools.show();
    const struct
    {
        TabControl* control;
        QStringList captions;
    } cases[] = {
        {tools.TabControlTools, {" Daten einfügen ", " Daten ändern/löschen ", " Tagebuch verwalten "}},
        {help.TabControlHilfe,
         {" Einführung ", " Ziele ", " Notizen ", " Nahrung ", " Aktivität ", " Statistik ", " Gewicht ",
          " Drucken ", " Tools", " Installation/Deinstallation ", " Lizenz ", " FAQ "}},
    };
    // The three windows are windows, not panes.
    for (QWidget* w : std::initializer_list<QWidget*>{window.get(), &help, &tools})
        EXPECT_EQ(face(w)->role(), QAccessible::Window) << w->windowTitle().toStdString();
    for (const auto& c : cases) {
        QAccessibleInterface* list = face(c.control);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->role(), QAccessible::PageTabList);
        ASSERT_GE(list->childCount(), c.captions.size());
        for (int i = 0; i < c.captions.size(); ++i) {
            QAccessibleInterface* tab = list->child(i);
            ASSERT_TRUE(tab) << i;
            EXPECT_EQ(tab->role(), QAccessible::PageTab);
            EXPECT_EQ(tab->text(QAccessible::Name), c.captions[i]);
            EXPECT_EQ(tab->state().selected, i == c.control->currentIndex()) << i;
            EXPECT_EQ(list->indexOfChild(tab), i);
            EXPECT_EQ(tab->parent(), list);
            const QRect r = tab->rect();
            EXPECT_EQ(list->childAt(r.center().x(), r.center().y()), tab) << i;
        }
        // The page's controls follow the tabs.
        EXPECT_GT(list->childCount(), c.captions.size());
    }

    // " Tagebuch verwalten " pressed by the screen reader brings up the
    // maintenance as a click on it does.
    QAccessibleInterface* manage = face(tools.TabControlTools)->child(2);
    manage->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tools.TabControlTools->currentIndex(), 2);
    EXPECT_TRUE(manage->state().selected);
    EXPECT_TRUE(tools.PanelToolsVerwalten->isEnabled());
    EXPECT_FALSE(tools.PanelToolsDatenEdit->isEnabled());

    QAccessibleInterface* faq = face(help.TabControlHilfe)->child(11);
    faq->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(help.TabControlHilfe->currentIndex(), 11);
    EXPECT_TRUE(help.RichEditHelp1->toPlainText().startsWith("Wie kann ich das Kelvara"));
}

TEST_F(ScreenReader, TheComboBoxesAreLabelledByTheirCaptions)
{
    open();
    const std::pair<QWidget*, QString> cases[] = {
        {window->ComboBoxGeschlecht, "Geschlecht :"}, {window->ComboBoxAlter, "Lebensalter :"},
        {window->ComboBoxBeruf, "Tätigkeit :"},       {window->ComboBoxHoehe, "Körperhöhe :"},
        {window->ComboBoxGewicht, "Mein Ziel :"},     {window->ComboBoxNotizSuche, "Zeitraum:"},
        {window->EditNotizSuche, "Suchtext:"},
    };
    for (const auto& [field, caption] : cases) {
        SCOPED_TRACE(caption.toStdString());
        const auto labels = face(field)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->text(QAccessible::Name), caption);
    }
}

TEST_F(ScreenReader, EachSymbolSaysTheAmountItBooks)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    open();
    const struct
    {
        int kind;
        int k;
        const char* name;
    } cases[] = {
        {1, 1, "500 g"},  {1, 7, "100 g"},   {1, 11, "5 g"},      {2, 1, "1500 ml"},
        {2, 5, "330 ml"}, {3, 9, "0,5 St."}, {3, 11, "0,13 St."}, {3, 1, "10 St."},
    };
    // The first food of each unit in the catalogue, selected.
    std::set<int> kinds;
    for (int category = 1; category <= 16 && kinds.size() < 3; ++category) {
        window->SpeedButtonN[category]->click();
        for (int r = 1; r < window->StringGridNRG->rowCount(); ++r) {
            const int kind = window->StringGridNRG->cell(1, r).toInt();
            if (kind < 1 || kind > 3 || !kinds.insert(kind).second)
                continue;
            window->StringGridNRG->selectGridRow(r);
            for (const auto& c : cases) {
                if (c.kind == kind)
                    EXPECT_EQ(nameOf(window->PanelNDrag[c.k]), QString::fromUtf8(c.name)) << kind;
            }
        }
    }
    EXPECT_EQ(kinds.size(), 3u);

    window->SpeedButtonA[2]->click();
    EXPECT_EQ(nameOf(window->PanelFDrag[5]), QStringLiteral("30 min"));
    EXPECT_EQ(nameOf(window->PanelFDrag[1]), QStringLiteral("180 min"));
    window->SpeedButtonA[1]->click(); // the daily category: only the day
    EXPECT_EQ(nameOf(window->PanelFDrag[1]), QStringLiteral("24 h"));
    EXPECT_EQ(nameOf(window->PanelFDrag[5]), QStringLiteral("30 min (gesperrt)"));
}

TEST_F(ScreenReader, TheCataloguesShowOnlyTheirVisibleColumn)
{
    open();
    for (StringGrid* list : {window->StringGridNRG, window->StringGridFIT}) {
        SCOPED_TRACE(list->accessibleName().toStdString());
        QAccessibleTableInterface* table = face(list)->tableInterface();
        ASSERT_TRUE(table);
        EXPECT_EQ(table->columnCount(), 1);
        ASSERT_GE(table->rowCount(), 1);
        QAccessibleInterface* cell = table->cellAt(0, 0);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->text(QAccessible::Name), list->cell(0, 1));
        // The program still reads the hidden columns.
        EXPECT_FALSE(list->cell(1, 1).isEmpty());
        EXPECT_TRUE(list->isColumnHidden(1));
    }
    // The day list of the food folder shows all seven.
    EXPECT_EQ(face(window->StringGridNTB)->tableInterface()->columnCount(), 7);
}

TEST_F(ScreenReader, ThePicturesSayTheDaysTotalsWeightAndChartValue)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    writeSettings(diary.dir(), {{"CBG", qint64(1)},
                                {"CBA", qint64(2)},
                                {"CBH", qint64(41)},
                                {"EE", QStringLiteral("9000")},
                                {"EF", QStringLiteral("70")},
                                {"EP", QStringLiteral("1")},
                                {"EK", QStringLiteral("")}});
    setDayRecord(diary.dir(), kToday, 80, 1500, 2, 5, 4, 400);
    open();
    EXPECT_EQ(descriptionOf(window->ImageRechts1),
              QStringLiteral("Tagesgewicht 80 kg, Gewichtsklasse normal, BMI 24,7. "
                             "Nahrung 1500 kJ, Ziel 9000 kJ, unter dem Ziel; Aktivität 400 kJ; "
                             "Fett 4 g, Ziel 70 g, unter dem Ziel; Protein 2 g, Ziel 1 g, Ziel erreicht; "
                             "Kohlenhydrate 5 g, kein Ziel"));
    EXPECT_EQ(face(window->ImageRechts1)->role(), QAccessible::Graphic);
    EXPECT_EQ(descriptionOf(window->ImageStatistik1), QStringLiteral("Gewicht am 17.05.2006: 80,0 kg"));

    // The next day has no entries: the texts follow the day.
    window->DateTimePicker->setDate(kToday.addDays(1));
    EXPECT_TRUE(
        descriptionOf(window->ImageRechts1)
            .startsWith(QStringLiteral("kein Tagesgewicht. Nahrung 0 kJ, Ziel 9000 kJ, unter dem Ziel")));
    EXPECT_EQ(descriptionOf(window->ImageStatistik1), QStringLiteral("Gewicht am 18.05.2006: kein Wert"));
}
