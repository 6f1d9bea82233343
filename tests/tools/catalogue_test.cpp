// The catalogue editor through the real tools window: keys and clicks as a
// user gives them, the catalogue files read back by the program's own table
// layer and by independent dBase readers.

#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "main/zeb6.h"
#include "support/diary.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace testing_support;
using platform::Sound;

namespace {

const QString kPlaceholder = QStringLiteral("Keine Einträge vorhanden ! ");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The names of a catalogue's records in the byte order of their code page,
// the order its name index must give.
bool inNameOrder(const QStringList& names)
{
    return std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
        QByteArray x, y;
        store::encode(a, store::CodePage::Cp850, x);
        store::encode(b, store::CodePage::Cp850, y);
        return x < y;
    });
}

// Types text key by key; characters beyond ASCII arrive as a keyboard
// layout types them, as a key event carrying the character.
void typeKeys(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Text dropped onto a field, as a drag from another program delivers it.
void dropText(QLineEdit* edit, const QString& text)
{
    QMimeData data;
    data.setText(text);
    const QPointF at(edit->width() - 4, edit->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
}

class CatalogueEditor : public ::testing::Test
{
protected:
    // Food category 16 is emptied first, so that one category is empty.
    void SetUp() override
    {
        store::Table nrg(store::schema::nrg());
        nrg.open(diary.dir());
        for (nrg.first(); !nrg.eof();) {
            if (nrg.fieldInt("NRGKAT") == 16)
                nrg.deleteRecord();
            else
                nrg.next();
        }
    }

    // The program's three windows on the diary, the main window shown.
    void start(bool kcal = false)
    {
        writeSettings(diary.dir(), {{"EA", qint64(kcal ? 1 : 0)}});
        main = std::make_unique<TFormMain1>(diary.dir());
        tools = std::make_unique<TToolForm1>(*main);
        main->setSideWindows(&help, tools.get());
        main->show();
    }

    void TearDown() override
    {
        if (main)
            main->close();
    }

    void openTools() { QTest::mouseClick(main->SpeedButtonTool, Qt::LeftButton); }

    void clickTab(int index)
    {
        QTest::mouseClick(tools->TabControlTools, Qt::LeftButton, {},
                          tools->TabControlTools->tabRect(index).center());
    }

    // The category chosen with the keyboard, as a user steps through it.
    void chooseCategory(int item)
    {
        QComboBox* combo = tools->ComboBoxTools1;
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), item);
    }

    void chooseUnit(int item)
    {
        QComboBox* combo = tools->ComboBoxTools2;
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    // Replaces the field's text by typing.
    void type(QLineEdit* edit, const QString& text)
    {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeKeys(edit, text);
    }

    void clickRow(int row)
    {
        StringGrid* grid = tools->StringGridTools1;
        QTableWidgetItem* item = grid->item(row - 1, 0);
        ASSERT_NE(item, nullptr) << row;
        grid->scrollToItem(item);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(item).center());
        ASSERT_EQ(grid->selectedRow(), row);
    }

    int rowNamed(const QString& name)
    {
        StringGrid* grid = tools->StringGridTools1;
        for (int r = 1; r < grid->rowCount(); ++r) {
            if (grid->cell(0, r) == name)
                return r;
        }
        return -1;
    }

    void click(QPushButton* button)
    {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QStringList listColumn(int column)
    {
        QStringList cells;
        for (int r = 1; r < tools->StringGridTools1->rowCount(); ++r)
            cells << tools->StringGridTools1->cell(column, r);
        return cells;
    }

    QByteArray nrgBytes() { return bytesOf(diary.path("ZEB_NRG.dbf")) + bytesOf(diary.path("NRGNAME.NDX")); }
    QByteArray aktBytes() { return bytesOf(diary.path("ZEB_AKT.dbf")) + bytesOf(diary.path("AKTNAME.NDX")); }

    FreshDiary diary;
    Seams seams;
    LocaleScope locale{QLocale(QLocale::German, QLocale::Germany)};
    THelpForm1 help;
    std::unique_ptr<TFormMain1> main;
    std::unique_ptr<TToolForm1> tools;
};

// Items of the category list.
constexpr int kFavourites = 15; // empty in these tests
constexpr int kBread = 4;       // "Nahrung: Brot+Getreide", code 5
constexpr int kDrinks = 0;
constexpr int kWater = 21; // "Aktivität: Wasser", code 7
constexpr int kOther = 23; // "Aktivität: Sonst. Aktivität", code 9

} // namespace

TEST_F(CatalogueEditor, EveryControlHasItsPlaceSizeAndLimit)
{
    start();
    openTools();
    clickTab(0);
    chooseCategory(kBread);
    TToolForm1& t = *tools;
    EXPECT_EQ(t.ComboBoxTools1->parentWidget(), t.PanelToolsDatenEdit);
    EXPECT_EQ(t.ComboBoxTools1->pos(), QPoint(12, 15));
    EXPECT_EQ(t.ComboBoxTools1->width(), 201);
    EXPECT_EQ(t.ComboBoxTools1->maxVisibleItems(), 20);
    ASSERT_EQ(t.ComboBoxTools1->count(), 24);
    EXPECT_EQ(t.ComboBoxTools1->itemText(8), "Nahrung: Öl,Fett,Soßen");
    EXPECT_EQ(t.ComboBoxTools1->itemText(23), "Aktivität: Sonst. Aktivität");
    EXPECT_EQ(t.PanelToolInsert->geometry(), QRect(1, 0, 588, 85));
    const struct
    {
        QLineEdit* edit;
        QWidget* parent;
        QPoint pos;
        int width;
        int length;
    } edits[] = {{t.EditTools1, t.PanelToolInsert, {12, 48}, 200, 30},
                 {t.EditTools2, t.PanelToolInsert, {220, 48}, 48, 5},
                 {t.EditTools3, t.PanelToolsHide, {5, 39}, 48, 5},
                 {t.EditTools4, t.PanelToolsHide, {62, 39}, 48, 5},
                 {t.EditTools5, t.PanelToolsHide, {120, 39}, 48, 5}};
    for (const auto& e : edits) {
        EXPECT_EQ(e.edit->parentWidget(), e.parent);
        EXPECT_EQ(e.edit->pos(), e.pos);
        EXPECT_EQ(e.edit->width(), e.width);
        EXPECT_EQ(e.edit->maxLength(), e.length);
    }
    EXPECT_EQ(t.LabelTools3->pos(), QPoint(216, 13));
    EXPECT_EQ(t.LabelTools3->text(), "Energie");
    EXPECT_EQ(t.LabelTools7->pos(), QPoint(216, 28));
    EXPECT_EQ(t.PanelToolsHide->geometry(), QRect(273, 9, 229, 69));
    EXPECT_EQ(t.LabelTools5->text(), " Kohlenh.");
    EXPECT_EQ(t.LabelTools1->text(), " Mengen-");
    EXPECT_EQ(t.LabelTools2->text(), "einheit");
    EXPECT_LT(t.LabelTools4->y(), t.LabelTools8->y());
    EXPECT_LT(t.LabelTools8->geometry().bottom(), t.EditTools3->y()) << "units above the fields";
    EXPECT_EQ(t.ComboBoxTools2->pos(), QPoint(175, 39));
    EXPECT_EQ(t.ComboBoxTools2->width(), 46);
    EXPECT_EQ(t.ComboBoxTools2->itemText(2), " St.");
    for (QPushButton* b : {t.ButtonToolsClear, t.ButtonToolsDelete})
        EXPECT_EQ(b->geometry(), QRect(508, 15, 69, 23));
    for (QPushButton* b : {t.ButtonToolsInsert, t.ButtonToolsEdit})
        EXPECT_EQ(b->geometry(), QRect(508, 47, 69, 23));
    EXPECT_EQ(t.ButtonToolsDelete->palette().color(QPalette::Active, QPalette::ButtonText).hue(), 0);
    EXPECT_EQ(t.StringGridTools1->geometry(), QRect(12, 97, 568, 213));
    EXPECT_EQ(t.StringGridTools1->rowHeight(0), 18);
    // The names take what the figures leave beside the scroll bar.
    const int widths[] = {194, 70, 74, 70, 70, 74};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(t.StringGridTools1->columnWidth(c), widths[c]);
    EXPECT_EQ(outOfView(*t.StringGridTools1), QStringList());
    EXPECT_EQ(t.StringGridTools1->cell(0, 0), "Nahrungsmittel");
    EXPECT_EQ(t.StringGridTools1->cell(4, 0), "Kohlenh./g");
    EXPECT_TRUE(t.ButtonToolsInsert->isVisible());
    EXPECT_FALSE(t.ButtonToolsEdit->isVisible());
}

TEST_F(CatalogueEditor, AnEmptyCategoryShowsThePlaceholderAndRefusesChangeAndDelete)
{
    start();
    openTools();
    chooseCategory(kFavourites);
    StringGrid* grid = tools->StringGridTools1;
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(listColumn(0), QStringList{kPlaceholder});
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(grid->cell(c, 1), c == 1 ? "-" : "0");
    EXPECT_EQ(grid->selectedRow(), 1);

    clickTab(1);
    EXPECT_TRUE(tools->ButtonToolsDelete->isVisible());
    EXPECT_FALSE(tools->ButtonToolsClear->isVisible());
    const QByteArray before = nrgBytes();
    click(tools->ButtonToolsEdit);
    click(tools->ButtonToolsDelete);
    EXPECT_EQ(seams.messages,
              QStringList({"Keine Daten zum Ändern vorhanden !", "Keine Daten zum Löschen vorhanden !"}));
    EXPECT_EQ(nrgBytes(), before);

    type(tools->EditTools1, "Quark");
    type(tools->EditTools3, "12");
    clickRow(1);
    EXPECT_EQ(tools->EditTools1->text(), "");
    for (QLineEdit* e : {tools->EditTools2, tools->EditTools3, tools->EditTools4, tools->EditTools5})
        EXPECT_EQ(e->text(), "0");
}

TEST_F(CatalogueEditor, ReservedNamesAreRefusedAndDuplicatesOnlyWithinTheCategory)
{
    start();
    openTools();
    clickTab(0);
    chooseCategory(kBread);
    const QByteArray before = nrgBytes();
    for (const char* name : {"Tageszusammenfassung", "Lückenfüller", "Grund- und Arbeitsumsatz"}) {
        type(tools->EditTools1, QString::fromUtf8(name));
        click(tools->ButtonToolsInsert);
    }
    EXPECT_EQ(seams.messages, QStringList(3, "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !"));
    type(tools->EditTools1, "Bagel");
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.last(), "Eintrag \"Bagel\" bereits vorhanden. Daten werden nicht eingefügt !");
    type(tools->EditTools1, "Baguette");
    QTest::keyClick(tools->EditTools1, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools2) << "Enter moves on to the energy";
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.size(), 5);
    EXPECT_EQ(nrgBytes(), before) << "nothing written after a refusal";
    EXPECT_TRUE(seams.sounds.empty());

    // Another category of the same catalogue takes the name.
    chooseCategory(kDrinks);
    type(tools->EditTools1, "Bagel");
    type(tools->EditTools2, "1100");
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.size(), 5);
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});
    const int row = rowNamed("Bagel");
    ASSERT_GT(row, 0);
    EXPECT_EQ(tools->StringGridTools1->selectedRow(), row);
    EXPECT_EQ(tools->EditTools1->text(), "") << "the fields are cleared after an insert";
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("1|Bagel|1|1100|0|0|0"));
}

TEST_F(CatalogueEditor, RenamingToTheOwnNameRewritesAndOntoAnotherIsRefused)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(1);
    clickRow(rowNamed("Baguette"));
    const QString energy = tools->EditTools2->text();
    type(tools->EditTools4, "51,5");
    click(tools->ButtonToolsEdit);
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});
    const int row = rowNamed("Baguette");
    EXPECT_EQ(tools->StringGridTools1->cell(4, row), "51,5");
    bool found = false;
    for (const QString& r : dbfreadContent(diary.path("ZEB_NRG.dbf"))) {
        if (r.startsWith("5|Baguette|")) {
            found = true;
            EXPECT_EQ(r.section('|', 3, 3), energy);
            EXPECT_EQ(r.section('|', 5, 5), "51.5");
        }
    }
    EXPECT_TRUE(found);

    const QByteArray before = nrgBytes();
    clickRow(rowNamed("Baguette"));
    type(tools->EditTools1, "Bagel");
    type(tools->EditTools2, "1");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(seams.messages.last(), "Eintrag \"Bagel\" bereits vorhanden. Daten werden nicht geändert !");
    EXPECT_EQ(nrgBytes(), before);
    EXPECT_EQ(tools->EditTools1->text(), "Baguette") << "the row is loaded again";
    EXPECT_EQ(tools->EditTools2->text(), energy);
}

TEST_F(CatalogueEditor, ChangeRefusesTheNamesThatInsertRefuses)
{
    start();
    openTools();
    chooseCategory(kBread);
    const QByteArray before = nrgBytes();
    const QString placeholder = kPlaceholder.chopped(1);
    const struct
    {
        QString name;
        const char* insertRefusal;
        const char* changeRefusal;
    } cases[] = {
        {kPlaceholder, "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !",
         "Text \"Keine Einträge vorhanden !\" nicht sinnvoll. Daten werden nicht eingefügt !"},
        {placeholder, "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !",
         "Text \"Keine Einträge vorhanden !\" nicht sinnvoll. Daten werden nicht eingefügt !"},
        {"Tageszusammenfassung", "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !",
         "Das ist kein sinnvoller Text. Daten werden nicht geändert !"},
        {"Lückenfüller ", "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !",
         "Das ist kein sinnvoller Text. Daten werden nicht geändert !"},
        {"Grund- und Arbeitsumsatz 130%", "Das ist kein sinnvoller Text. Daten werden nicht eingefügt !",
         "Das ist kein sinnvoller Text. Daten werden nicht geändert !"},
        {"", "Nichts zum Einfügen gefunden !", "Textfeld leer. Kein Ändern möglich !"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        clickTab(0);
        type(tools->EditTools1, c.name);
        click(tools->ButtonToolsInsert);
        EXPECT_EQ(seams.messages.value(0), QString::fromUtf8(c.insertRefusal));
        clickTab(1);
        clickRow(rowNamed("Baguette"));
        type(tools->EditTools1, c.name);
        click(tools->ButtonToolsEdit);
        EXPECT_EQ(seams.messages.value(1), QString::fromUtf8(c.changeRefusal));
        EXPECT_EQ(seams.messages.size(), 2);
        seams.messages.clear();
    }
    EXPECT_EQ(nrgBytes(), before);
    EXPECT_TRUE(seams.sounds.empty());
    EXPECT_GT(rowNamed("Baguette"), 0);
}

TEST_F(CatalogueEditor, AnEntryThatAlreadyHasAReservedNameKeepsItAndItsValuesChange)
{
    {
        store::Table nrg(store::schema::nrg());
        nrg.open(diary.dir());
        nrg.insert();
        nrg.postFields(foodItem(16, QStringLiteral("Tageszusammenfassung"), 3, 500, 1, 2, 3));
    }
    start();
    openTools();
    clickTab(1);
    chooseCategory(kFavourites);
    clickRow(rowNamed("Tageszusammenfassung"));
    type(tools->EditTools2, "800");
    click(tools->ButtonToolsEdit);
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});
    EXPECT_EQ(listColumn(2), QStringList{"800"});
    // A change to another reserved name is still refused.
    type(tools->EditTools1, "Lückenfüller");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(seams.messages, QStringList{"Das ist kein sinnvoller Text. Daten werden nicht geändert !"});
    EXPECT_EQ(listColumn(0), QStringList{"Tageszusammenfassung"});
}

TEST_F(CatalogueEditor, EnterSelectsTheNextFieldSoThatTypingReplacesItsValue)
{
    start();
    openTools();
    chooseCategory(kDrinks);
    clickTab(1);
    clickRow(rowNamed("Altbier"));
    ASSERT_EQ(tools->EditTools2->text(), "175");
    QTest::mouseClick(tools->EditTools1, Qt::LeftButton);
    QTest::keyClick(tools->EditTools1, Qt::Key_Return);
    ASSERT_EQ(tools->focusWidget(), tools->EditTools2);
    typeKeys(tools->EditTools2, "300");
    EXPECT_EQ(tools->EditTools2->text(), "300");
    click(tools->ButtonToolsEdit);
    ASSERT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    QStringList altbier;
    for (const QString& r : dbfreadContent(diary.path("ZEB_NRG.dbf"))) {
        if (r.startsWith("1|Altbier|"))
            altbier << r;
    }
    EXPECT_EQ(altbier, QStringList{"1|Altbier|2|300|0.5|3.3|0"});

    // Each field after the name, reached by Enter from the one before.
    clickTab(0);
    type(tools->EditTools1, "Testbier");
    const struct
    {
        QLineEdit* from;
        QLineEdit* to;
        const char* typed;
    } steps[] = {{tools->EditTools1, tools->EditTools2, "10450"},
                 {tools->EditTools2, tools->EditTools3, "100,5"},
                 {tools->EditTools3, tools->EditTools4, "3,5"},
                 {tools->EditTools4, tools->EditTools5, "1"}};
    for (const auto& step : steps) {
        QTest::keyClick(step.from, Qt::Key_Return);
        ASSERT_EQ(tools->focusWidget(), step.to);
        EXPECT_EQ(step.to->selectedText(), step.to->text());
        typeKeys(step.to, step.typed);
        EXPECT_EQ(step.to->text(), step.typed);
    }
    QTest::keyClick(tools->EditTools5, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools1);
    EXPECT_EQ(tools->EditTools1->selectedText(), "Testbier");
    click(tools->ButtonToolsInsert);
    ASSERT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("1|Testbier|2|10450|100.5|3.5|1"))
        << "per 100 ml, as the Altbier loaded before";
}

TEST_F(CatalogueEditor, PastedLineBreaksTabsAndNoBreakSpacesMakeNoSecondName)
{
    start();
    openTools();
    chooseCategory(kDrinks);
    clickTab(0);
    const QByteArray before = nrgBytes();
    for (const QString& pasted : {QStringLiteral("Altbier\n"), QStringLiteral("Altbier\t"),
                                  QStringLiteral("Altbier\u00a0"), QStringLiteral("Alt\r\nbier")}) {
        SCOPED_TRACE(pasted.toStdString());
        tools->EditTools1->clear();
        QApplication::clipboard()->setText(pasted);
        QTest::mouseClick(tools->EditTools1, Qt::LeftButton);
        QTest::keyClick(tools->EditTools1, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(tools->EditTools1->text().trimmed(), "Altbier");
        click(tools->ButtonToolsInsert);
        EXPECT_EQ(seams.messages.value(0),
                  "Eintrag \"Altbier\" bereits vorhanden. Daten werden nicht eingefügt !");
        seams.messages.clear();
    }
    EXPECT_EQ(nrgBytes(), before);

    // Dropped with a line break inside, the name is stored without it.
    tools->EditTools1->clear();
    dropText(tools->EditTools1, QStringLiteral("Weizen\nbier\u00a0hell"));
    EXPECT_EQ(tools->EditTools1->text(), "Weizenbier hell");
    click(tools->ButtonToolsInsert);
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("1|Weizenbier hell|1|0|0|0|0"));
}

TEST_F(CatalogueEditor, KcalDisplayListsAndStoresTheEnergyConverted)
{
    {
        store::Table akt(store::schema::akt());
        akt.open(diary.dir());
        akt.insert();
        akt.postFields(testing_support::activityItem(9, QStringLiteral("Aaa Testlauf"), 100));
    }
    start(true);
    openTools();
    chooseCategory(kOther);
    clickTab(1);
    EXPECT_EQ(tools->StringGridTools1->cell(1, 0), "kcal/h");
    EXPECT_EQ(tools->LabelTools7->text(), "kcal/h");
    const int row = rowNamed("Aaa Testlauf");
    ASSERT_GT(row, 0);
    EXPECT_EQ(tools->StringGridTools1->cell(1, row), "24");
    clickRow(row);
    EXPECT_EQ(tools->EditTools2->text(), "24");
    click(tools->ButtonToolsEdit);
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_AKT.dbf")).contains("9|Aaa Testlauf|1|100"));

    // An energy whose kJ value the field cannot hold is refused.
    const QByteArray before = aktBytes();
    type(tools->EditTools2, "99999");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(seams.messages.last(),
              "99999 kcal sind 418676 kJ. Das Feld \"Energie\" fasst höchstens 99999 kJ.\r"
              "Daten werden nicht geändert !");
    EXPECT_EQ(aktBytes(), before);

    // Renamed to the end of the order, for every reader at once.
    type(tools->EditTools2, "24");
    type(tools->EditTools1, "Zzz Testlauf");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(listColumn(0).last(), "Zzz Testlauf");
    const QStringList order =
        xbaseIndexOrder(diary.path("ZEB_AKT.dbf"), diary.path("AKTNAME.NDX"), "AKTNAME");
    EXPECT_TRUE(inNameOrder(order));
    EXPECT_TRUE(order.contains("Zzz Testlauf"));
    EXPECT_FALSE(order.contains("Aaa Testlauf"));
    main->LabelOrdnerClick(4);
    main->ListeAktivClick(9);
    EXPECT_EQ(main->StringGridFIT->cell(0, main->StringGridFIT->rowCount() - 1), "Zzz Testlauf");

    chooseCategory(kBread);
    EXPECT_EQ(tools->StringGridTools1->cell(2, 0), "Energie/kcal");
    clickRow(rowNamed("Bagel"));
    EXPECT_EQ(tools->LabelTools7->text(), "kcal/St.");
    chooseUnit(1);
    EXPECT_EQ(tools->LabelTools7->text(), "kcal/100ml");
    EXPECT_EQ(tools->LabelTools8->text(), "g/100ml");
}

TEST_F(CatalogueEditor, TheDecimalFilterFollowsTheSystemsSeparator)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(0);
    QLineEdit* protein = tools->EditTools3;
    type(protein, ",");
    EXPECT_EQ(protein->text(), "") << "no separator in an empty field";
    type(protein, "12.");
    EXPECT_EQ(protein->text(), "12,");
    typeKeys(protein, QStringLiteral(",.5a-€"));
    EXPECT_EQ(protein->text(), "12,5") << "a second separator and other keys are refused";
    type(protein, "1000");
    EXPECT_EQ(protein->text(), "0");
    type(protein, "999");
    EXPECT_EQ(protein->text(), "999");
    QTest::keyClick(protein, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools4);
    QTest::keyClick(tools->EditTools4, Qt::Key_Enter);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools5);
    QTest::keyClick(tools->EditTools5, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools1);

    type(tools->EditTools2, "12,5x");
    EXPECT_EQ(tools->EditTools2->text(), "125") << "the energy takes digits only";
    QTest::keyClick(tools->EditTools2, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), protein);

    // Program-set text is judged as well.
    tools->EditTools4->setText("1500");
    EXPECT_EQ(tools->EditTools4->text(), "0");

    LocaleScope english{QLocale(QLocale::English, QLocale::UnitedStates)};
    type(protein, "12,");
    EXPECT_EQ(protein->text(), "12.");
    typeKeys(protein, QStringLiteral(".,3"));
    EXPECT_EQ(protein->text(), "12.3");
}

TEST_F(CatalogueEditor, SwitchingBetweenFoodAndActivityChangesFieldsListAndUnits)
{
    start();
    openTools();
    chooseCategory(kBread);
    EXPECT_TRUE(tools->PanelToolsHide->isVisible());
    EXPECT_EQ(tools->StringGridTools1->width(), 568);
    EXPECT_EQ(tools->StringGridTools1->cell(2, 0), "Energie/kJ");
    EXPECT_EQ(tools->LabelTools7->text(), "kJ/100g");
    EXPECT_EQ(tools->LabelTools8->text(), "g/100g");
    chooseUnit(2);
    EXPECT_EQ(tools->LabelTools7->text(), "kJ/St.");
    EXPECT_EQ(tools->LabelTools10->text(), "g/St.");

    chooseCategory(kWater);
    EXPECT_FALSE(tools->PanelToolsHide->isVisible());
    EXPECT_EQ(tools->StringGridTools1->geometry(), QRect(12, 97, 258, 213));
    EXPECT_EQ(tools->StringGridTools1->columnWidth(0), 179);
    EXPECT_EQ(tools->StringGridTools1->columnWidth(1), 63);
    EXPECT_EQ(outOfView(*tools->StringGridTools1), QStringList());
    for (int c = 2; c < 6; ++c)
        EXPECT_TRUE(tools->StringGridTools1->isColumnHidden(c));
    EXPECT_EQ(tools->StringGridTools1->cell(0, 0), "Aktivität");
    EXPECT_EQ(tools->StringGridTools1->cell(1, 0), "kJ/h");
    EXPECT_EQ(tools->LabelTools7->text(), "kJ/h");
    type(tools->EditTools2, "800");
    QTest::keyClick(tools->EditTools2, Qt::Key_Return);
    EXPECT_EQ(tools->focusWidget(), tools->EditTools1) << "no nutrient fields to move to";

    chooseCategory(kBread);
    EXPECT_TRUE(tools->PanelToolsHide->isVisible());
    EXPECT_EQ(tools->StringGridTools1->width(), 568);
    EXPECT_FALSE(tools->StringGridTools1->isColumnHidden(5));
}

TEST_F(CatalogueEditor, PreselectsTheCategoryOfTheMainWindow)
{
    start();
    main->LabelOrdnerClick(3);
    main->ListeNahrungClick(5);
    openTools();
    EXPECT_EQ(tools->ComboBoxTools1->currentText(), "Nahrung: Brot+Getreide");
    EXPECT_EQ(tools->StringGridTools1->cell(0, 1), "Bagel");
    main->FormActivate();

    main->LabelOrdnerClick(4);
    main->ListeAktivClick(7);
    openTools();
    EXPECT_EQ(tools->ComboBoxTools1->currentText(), "Aktivität: Wasser");
    main->FormActivate();

    // The built-in daily list has no catalogue category.
    main->ListeAktivClick(1);
    openTools();
    EXPECT_EQ(tools->ComboBoxTools1->currentText(), "Aktivität: Haus+Garten");
    chooseCategory(kBread);
    main->FormActivate();
    EXPECT_EQ(main->AktivKategorie, 0) << "the main window's categories come back";
    EXPECT_EQ(main->NahrungKategorie, 5);
}

TEST_F(CatalogueEditor, InsertRenameAndDeleteKeepTheNameIndexInOrder)
{
    start();
    main->LabelOrdnerClick(3);
    main->ListeNahrungClick(5);
    openTools();
    clickTab(0);
    type(tools->EditTools1, "Aachener Printe");
    type(tools->EditTools2, "1700");
    type(tools->EditTools3, "5,3");
    type(tools->EditTools4, "75,25");
    type(tools->EditTools5, "8");
    chooseUnit(2);
    click(tools->ButtonToolsInsert);
    ASSERT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    EXPECT_EQ(tools->StringGridTools1->cell(0, 1), "Aachener Printe");
    EXPECT_EQ(tools->StringGridTools1->cell(1, 1), "pro St.");
    EXPECT_EQ(tools->StringGridTools1->cell(4, 1), "75,2") << "halves to even";

    const QString nrg = diary.path("ZEB_NRG.dbf");
    const QString ndx = diary.path("NRGNAME.NDX");
    EXPECT_TRUE(dbfreadContent(nrg).contains("5|Aachener Printe|3|1700|5.3|75.2|8"));
    QStringList order = xbaseIndexOrder(nrg, ndx, "NRGNAME");
    QStringList names;
    for (const QString& r : dbfreadContent(nrg))
        names << r.section('|', 1, 1);
    EXPECT_EQ(order.size(), names.size());
    EXPECT_TRUE(inNameOrder(order));
    names.sort();
    QStringList sortedOrder = order;
    sortedOrder.sort();
    EXPECT_EQ(sortedOrder, names) << "every record once in the index";
    EXPECT_TRUE(order.contains("Aachener Printe"));

    // Renamed to the end of the order.
    clickTab(1);
    clickRow(1);
    type(tools->EditTools1, "Zwieback-Printe");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(tools->StringGridTools1->cell(0, tools->StringGridTools1->selectedRow()), "Zwieback-Printe");
    EXPECT_EQ(tools->EditTools1->text(), "Zwieback-Printe");
    order = xbaseIndexOrder(nrg, ndx, "NRGNAME");
    EXPECT_FALSE(order.contains("Aachener Printe"));
    const QStringList breads = listColumn(0);
    EXPECT_EQ(breads.last(), "Zwieback-Printe");
    QStringList indexBreads;
    for (const QString& name : order) {
        if (breads.contains(name))
            indexBreads << name;
    }
    indexBreads.removeDuplicates(); // a name may stand in other categories too
    EXPECT_EQ(indexBreads, breads);

    // Deleted after a Yes; a No keeps it.
    const int row = rowNamed("Zwieback-Printe");
    clickRow(row);
    seams.answer = false;
    click(tools->ButtonToolsDelete);
    EXPECT_EQ(seams.messages.last(), "Wollen Sie den Eintrag \"Zwieback-Printe\" tatsächlich löschen ? ");
    EXPECT_GT(rowNamed("Zwieback-Printe"), 0);
    seams.answer = true;
    seams.sounds.clear();
    click(tools->ButtonToolsDelete);
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::DefaultBeep});
    EXPECT_EQ(rowNamed("Zwieback-Printe"), -1);
    EXPECT_EQ(tools->StringGridTools1->selectedRow(), 1);
    EXPECT_EQ(tools->EditTools1->text(), tools->StringGridTools1->cell(0, 1))
        << "the new first row is loaded";
    EXPECT_FALSE(xbaseIndexOrder(nrg, ndx, "NRGNAME").contains("Zwieback-Printe"));
    for (const QString& r : dbfreadContent(nrg))
        EXPECT_FALSE(r.contains("Zwieback-Printe") || r.contains("Aachener Printe")) << r.toStdString();

    // The main window's list after the window closes.
    clickTab(0);
    type(tools->EditTools1, "Aal-Brot");
    click(tools->ButtonToolsInsert);
    QTest::mouseClick(tools->ButtonToolsClose, Qt::LeftButton);
    EXPECT_FALSE(tools->isVisible());
    EXPECT_EQ(main->NahrungKategorie, 5);
    EXPECT_EQ(main->StringGridNRG->cell(0, 1), "Aal-Brot");
}

TEST_F(CatalogueEditor, TheMainWindowsSymbolsFollowAChangedUnit)
{
    start();
    main->LabelOrdnerClick(2);
    main->ListeNahrungClick(5);
    ASSERT_EQ(main->StringGridNRG->cell(0, 1), "Bagel");
    const int before = main->DragBildArt;
    openTools();
    clickTab(1);
    clickRow(rowNamed("Bagel"));
    ASSERT_EQ(tools->ComboBoxTools2->currentIndex(), 2);
    EXPECT_EQ(tools->LabelTools7->text(), "kJ/St.") << "the labels follow the loaded row's unit";
    EXPECT_EQ(tools->LabelTools9->text(), "g/St.");
    chooseUnit(0);
    EXPECT_EQ(tools->LabelTools7->text(), "kJ/100g");
    click(tools->ButtonToolsEdit);
    EXPECT_EQ(tools->StringGridTools1->cell(1, rowNamed("Bagel")), "pro 100g");
    QTest::mouseClick(tools->ButtonToolsClose, Qt::LeftButton);
    EXPECT_EQ(main->StringGridNRG->cell(1, 1), "1");
    EXPECT_NE(main->DragBildArt, before) << "gram symbols for a food now per 100 g";
}

TEST_F(CatalogueEditor, PastedTextIsCheckedBeforeAnythingIsWritten)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(0);
    const QByteArray before = nrgBytes();
    type(tools->EditTools1, "Knäckebrot mit Sesam");
    QApplication::clipboard()->setText("1,2x");
    tools->EditTools4->clear();
    QTest::mouseClick(tools->EditTools4, Qt::LeftButton);
    QTest::keyClick(tools->EditTools4, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(tools->EditTools4->text(), "1,2x");
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.last(),
              "Im Feld \"Kohlenh.\" steht \"1,2x\". Erlaubt ist eine Zahl von 0 bis 999.\r"
              "Daten werden nicht eingefügt !");
    EXPECT_EQ(nrgBytes(), before);

    QApplication::clipboard()->setText("-7");
    tools->EditTools2->clear();
    QTest::mouseClick(tools->EditTools2, Qt::LeftButton);
    QTest::keyClick(tools->EditTools2, Qt::Key_V, Qt::ControlModifier);
    tools->EditTools4->setText("");
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.last(),
              "Im Feld \"Energie\" steht \"-7\". Erlaubt ist eine Zahl von 0 bis 99999.\r"
              "Daten werden nicht eingefügt !");
    EXPECT_EQ(tools->EditTools4->text(), "0") << "an empty field becomes 0";
    EXPECT_EQ(nrgBytes(), before);
    EXPECT_TRUE(seams.sounds.empty());
}

// Files of this process cannot grow beyond their present size while it
// lives: the system refuses the write, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(CatalogueEditor, DroppedTextAndTabGoTheSameChecks)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(0);
    const QByteArray before = nrgBytes();
    tools->EditTools1->clear();
    dropText(tools->EditTools1, QStringLiteral("Weißbrot „Spezial“ 3€"));
    EXPECT_EQ(tools->EditTools1->text(), "Weißbrot \"Spezial\" 3EUR");
    tools->EditTools5->clear();
    dropText(tools->EditTools5, "2;5");
    ASSERT_EQ(tools->EditTools5->text(), "2;5");
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.last(), "Im Feld \"Fett\" steht \"2;5\". Erlaubt ist eine Zahl von 0 bis 999.\r"
                                     "Daten werden nicht eingefügt !");
    EXPECT_EQ(nrgBytes(), before);

    // Tab walks the fields in their order.
    QTest::mouseClick(tools->EditTools1, Qt::LeftButton);
    const QList<QWidget*> order = {tools->EditTools2, tools->EditTools3, tools->EditTools4, tools->EditTools5,
                                   tools->ComboBoxTools2};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : tools->focusWidget(),
                        Qt::Key_Tab);
        EXPECT_EQ(tools->focusWidget(), next);
    }
    tools->EditTools5->clear();
    dropText(tools->EditTools5, "4,5");
    click(tools->ButtonToolsInsert);
    EXPECT_TRUE(
        dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("5|Weißbrot \"Spezial\" 3EUR|1|0|0|0|4.5"));
}

TEST_F(CatalogueEditor, AFailedWriteIsShownAndTheEditorGoesOn)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(0);
    const QStringList before = dbfreadContent(diary.path("ZEB_NRG.dbf"));
    const QByteArray bytes = nrgBytes();
    type(tools->EditTools1, "Aachener Printe");
    type(tools->EditTools2, "1700");
    {
        FileSizeLimit limit(QFileInfo(diary.path("ZEB_NRG.dbf")).size());
        click(tools->ButtonToolsInsert);
    }
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].contains("ZEB_NRG.dbf")) << seams.messages[0].toStdString();
    EXPECT_TRUE(seams.sounds.empty());
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_NRG.dbf")), before) << "no record for other readers either";
    EXPECT_EQ(nrgBytes(), bytes) << "the end mark is back in its place";
    EXPECT_EQ(rowNamed("Aachener Printe"), -1);
    EXPECT_EQ(main->Dbf_NRG.state(), store::Table::State::Browse);

    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(seams.sounds, std::vector<Sound>{Sound::Information});
    EXPECT_EQ(tools->StringGridTools1->cell(0, 1), "Aachener Printe");
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("5|Aachener Printe|1|1700|0|0|0"));
}

TEST_F(CatalogueEditor, NamesAreFittedToTheCataloguesCodePage)
{
    start();
    openTools();
    chooseCategory(kBread);
    clickTab(0);
    // A German keyboard's quotes and euro sign, typed and pasted.
    type(tools->EditTools1, QStringLiteral("„Brot“ 2€"));
    EXPECT_EQ(tools->EditTools1->text(), "\"Brot\" 2EUR");
    tools->EditTools1->clear();
    QApplication::clipboard()->setText(QStringLiteral("Dinkel – 29 Zeichen lang€€€"));
    QTest::mouseClick(tools->EditTools1, Qt::LeftButton);
    QTest::keyClick(tools->EditTools1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(tools->EditTools1->text(), "Dinkel - 29 Zeichen langEUREUR") << "cut at 30 characters";
    type(tools->EditTools1, QStringLiteral("„Brot“ 2€  "));
    click(tools->ButtonToolsInsert);
    ASSERT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    EXPECT_TRUE(dbfreadContent(diary.path("ZEB_NRG.dbf")).contains("5|\"Brot\" 2EUR|1|0|0|0|0"));
    // Trailing blanks are not kept by the file, so they do not make a new name.
    type(tools->EditTools1, QStringLiteral("\"Brot\" 2EUR "));
    click(tools->ButtonToolsInsert);
    EXPECT_EQ(seams.messages.last(),
              "Eintrag \"\"Brot\" 2EUR\" bereits vorhanden. Daten werden nicht eingefügt !");
}

TEST_F(CatalogueEditor, ScreenshotsOfInsertingAFoodAndChangingAnActivity)
{
    start();
    main->LabelOrdnerClick(3);
    main->ListeNahrungClick(5);
    openTools();
    clickTab(0);
    type(tools->EditTools1, "Roggenmischbrot");
    type(tools->EditTools2, "905");
    type(tools->EditTools3, "6,8");
    type(tools->EditTools4, "40,7");
    type(tools->EditTools5, "1,1");
    const QString dir = QStringLiteral(KELVARA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    QImage shot = tools->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(610, 398));
    EXPECT_TRUE(shot.save(dir + "/tools-insert-food.png"));

    chooseCategory(kWater);
    clickTab(1);
    clickRow(3);
    shot = tools->grab().toImage();
    EXPECT_TRUE(shot.save(dir + "/tools-change-activity.png"));
}
