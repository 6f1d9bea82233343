// The help window through its real controls: the twelve topics with their
// bold headings and literal lines, switching tabs, closing and reopening.

#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "support/window.h"

#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace testing_support;

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

enum class Weight { Regular, Bold, Mixed };

struct Line
{
    QString text;
    Weight weight;
};

// The paragraphs of the text box with the weight of their characters.
QList<Line> lines(const THelpForm1& help)
{
    QList<Line> result;
    const QTextDocument* document = help.RichEditHelp1->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QSet<int> weights;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            weights.insert(it.fragment().charFormat().fontWeight());
        if (weights.isEmpty())
            weights.insert(block.charFormat().fontWeight());
        Weight weight = Weight::Mixed;
        if (weights == QSet<int>{QFont::Bold})
            weight = Weight::Bold;
        else if (weights == QSet<int>{QFont::Normal})
            weight = Weight::Regular;
        result.append({block.text(), weight});
    }
    return result;
}

QStringList boldLines(const THelpForm1& help)
{
    QStringList result;
    for (const Line& line : lines(help)) {
        if (line.weight == Weight::Bold)
            result << line.text;
    }
    return result;
}

QStringList texts(const THelpForm1& help)
{
    QStringList result;
    for (const Line& line : lines(help))
        result << line.text;
    return result;
}

void clickTab(THelpForm1& help, int index)
{
    TabControl* tabs = help.TabControlHilfe;
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

// The lines of `wanted` follow each other in the topic, in this order.
::testing::AssertionResult containsRun(const QStringList& topic, const QStringList& wanted)
{
    for (qsizetype at = 0; at + wanted.size() <= topic.size(); ++at) {
        if (topic.mid(at, wanted.size()) == wanted)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not found in this order: " << wanted.join(" | ").toStdString();
}

const QList<QStringList> kHeadings{
    {QStringLiteral("Was ist \"Kelvara\" ?"), QStringLiteral("Programmaufbau"), QStringLiteral("Tagesdatum")},
    {QStringLiteral("Eingabe persönlicher Daten"), QStringLiteral("Normalgewicht in Anlehnung an Broca"),
     QStringLiteral("Eingabe Wunschgewicht"), QStringLiteral("Empfehlung zur Nahrungsenergiezufuhr"),
     QStringLiteral("Empfehlung für die Nährstoffzufuhr")},
    {QStringLiteral("Texte schreiben"), QStringLiteral("Texte suchen")},
    {QStringLiteral("Mahlzeiten erfassen"),
     QStringLiteral("Eintragungen aus der \"Tagesliste: Ernährung\" löschen"),
     QStringLiteral("Eintragungen in der \"Tagesliste: Ernährung\" ändern")},
    {QStringLiteral("Berechnung der Energiewerte:"),
     QStringLiteral("Welche Möglichkeiten gibt es, die Aktivitäten zu erfassen ?")},
    {QStringLiteral("Diagramm-Informationen"), QStringLiteral("Zoomen der Zeit- und Rubrikenachse"),
     QStringLiteral("Glättung der Datenanzeige"), QStringLiteral("Markierung der Ziele")},
    {QStringLiteral("Tagesgewicht erfassen"), QStringLiteral("Anzeige der Waage")},
    {QStringLiteral("Drucken")},
    {QStringLiteral("Daten einfügen"), QStringLiteral("Daten ändern/löschen"),
     QStringLiteral("Tagebuch verwalten: Lücken füllen"), QStringLiteral("Tagebuch verwalten: Komprimieren"),
     QStringLiteral("Tagebuch verwalten: Alles löschen")},
    {QStringLiteral("Speicherplatzbedarf"),
     QStringLiteral("Folgende 10 Dateien gehören zum Programmumfang von \"Kelvara\""),
     QStringLiteral("Installation"), QStringLiteral("Deinstallation")},
    {QStringLiteral("Allgemeine Informationen"), QStringLiteral("Nutzungsbedingungen")},
    {QStringLiteral("Wie kann ich das Kelvara vor einem Datenverlust sichern ?"),
     QStringLiteral(
         "Hinterläßt Kelvara nach der Deinstallation \"Spuren\" z.B. in der Windows-Registry zurück?"),
     QStringLiteral("Kann ich Daten aus einem anderen Programm (z.B. Excel) in das Kelvara importieren?"),
     QStringLiteral("Kann ich Daten aus dem Kelvara in ein anderes Programm (z.B. Access) exportieren?"),
     QStringLiteral("Kann Kelvara von mehrere Personen auf einem gemeinsamen PC benutzt werden?"),
     QStringLiteral("Wie kann ich das Kelvara z.B. in den Urlaub \"mitnehmen\" ?"),
     QStringLiteral("Gibt es Kelvara auch für PDA's oder Handheld-Computer ?"),
     QStringLiteral("Sie haben noch andere Fragen ?")},
};

} // namespace

TEST(HelpWindow, IsAFixedWindowWithItsControlsInPlace)
{
    THelpForm1 help;
    help.show();
    EXPECT_EQ(help.windowTitle(), "Hilfe für Kelvara [1.02f]");
    EXPECT_EQ(help.size(), QSize(610, 398));
    EXPECT_EQ(help.minimumSize(), help.maximumSize());
    EXPECT_TRUE(help.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(help.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(help.font().family(), "Arial");
    EXPECT_EQ(help.font().pixelSize(), 13);

    TabControl* tabs = help.TabControlHilfe;
    EXPECT_EQ(tabs->geometry(), QRect(5, 6, 600, 351));
    EXPECT_TRUE(tabs->font().bold());
    EXPECT_EQ(tabs->font().pixelSize(), 13);
    const QStringList captions{
        " Einführung ", " Ziele ",   " Notizen ", " Nahrung ", " Aktivität ",
        " Statistik ",  " Gewicht ", " Drucken ", " Tools",    " Installation/Deinstallation ",
        " Lizenz ",     " FAQ "};
    ASSERT_EQ(tabs->count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(tabs->tabText(i), captions[i]) << "tab " << i;
    EXPECT_EQ(tabs->rowCount(), 2);
    for (int i = 0; i < 12; ++i) {
        EXPECT_LE(tabs->tabRect(i).bottom(), 48) << "tab " << i << " reaches into the text box";
        EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(captions[i]))
            << "tab " << i;
    }

    QTextEdit* text = help.RichEditHelp1;
    EXPECT_EQ(text->parentWidget(), tabs);
    EXPECT_EQ(text->geometry(), QRect(5, 48, 590, 297));
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_FALSE(text->font().bold());
    EXPECT_EQ(text->font().pixelSize(), 13);
    EXPECT_EQ(text->document()->defaultFont().family(), "Arial");
    EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text->lineWrapMode(), QTextEdit::WidgetWidth);

    QPushButton* close = help.ButtonHilfeClose;
    EXPECT_EQ(close->geometry(), QRect(188, 364, 218, 27));
    EXPECT_EQ(close->text(), "Hilfe-Fenster schließen !");
    EXPECT_TRUE(close->font().bold());
}

TEST(HelpWindow, OpensOnTheIntroductionWithItsBoldHeading)
{
    THelpForm1 help;
    help.show();
    EXPECT_EQ(help.TabControlHilfe->currentIndex(), 0);
    const QList<Line> topic = lines(help);
    ASSERT_GE(topic.size(), 2);
    EXPECT_EQ(topic[0].text, "Was ist \"Kelvara\" ?");
    EXPECT_EQ(topic[0].weight, Weight::Bold);
    EXPECT_EQ(topic[1].weight, Weight::Regular);
    EXPECT_EQ(help.RichEditHelp1->verticalScrollBar()->value(), 0);
}

TEST(HelpWindow, EveryTopicShowsItsHeadingsInBoldInTheirOrder)
{
    THelpForm1 help;
    help.show();
    for (int i = 11; i >= 0; --i) {
        clickTab(help, i);
        ASSERT_EQ(help.TabControlHilfe->currentIndex(), i);
        EXPECT_EQ(boldLines(help), kHeadings[i]) << "topic " << i;
        for (const Line& line : lines(help)) {
            EXPECT_NE(line.weight, Weight::Mixed) << "topic " << i << ": " << line.text.toStdString();
            if (!kHeadings[i].contains(line.text))
                EXPECT_TRUE(line.weight == Weight::Regular || line.text.isEmpty())
                    << "topic " << i << ": " << line.text.toStdString();
        }
    }
}

TEST(HelpWindow, TopicsKeepTheLayoutOfSectionsAndEmptyLines)
{
    THelpForm1 help;
    help.show();
    for (int i = 0; i < 12; ++i) {
        clickTab(help, i);
        const QList<Line> topic = lines(help);
        ASSERT_FALSE(topic.isEmpty()) << "topic " << i;
        if (i == 4) {
            EXPECT_EQ(topic[0].weight, Weight::Regular) << "topic 4 opens with a paragraph";
            EXPECT_FALSE(topic[0].text.isEmpty());
        } else {
            EXPECT_EQ(topic[0].weight, Weight::Bold) << "topic " << i << " opens with a heading";
        }
        const bool endsEmpty = i == 8 || i == 10;
        EXPECT_EQ(topic.last().text.isEmpty(), endsEmpty) << "end of topic " << i;
        for (qsizetype k = 0; k < topic.size(); ++k) {
            const Line& line = topic[k];
            const std::string where = "topic " + std::to_string(i) + ", line " + std::to_string(k);
            if (line.text.isEmpty()) {
                EXPECT_FALSE(k > 0 && topic[k - 1].text.isEmpty()) << where << ": two empty lines";
                continue;
            }
            EXPECT_EQ(line.text, line.text.trimmed()) << where << ": blanks at an end";
            if (line.weight == Weight::Bold) {
                if (k > 0)
                    EXPECT_TRUE(topic[k - 1].text.isEmpty()) << where << ": no empty line before the heading";
                ASSERT_LT(k + 1, topic.size()) << where;
                EXPECT_EQ(topic[k + 1].weight, Weight::Regular) << where << ": heading without a paragraph";
                EXPECT_FALSE(topic[k + 1].text.isEmpty()) << where << ": heading without a paragraph";
            }
        }
    }
}

TEST(HelpWindow, LiteralLinesStandExactlyAsWritten)
{
    THelpForm1 help;
    help.show();

    clickTab(help, 1);
    QStringList topic = texts(help);
    EXPECT_TRUE(containsRun(topic, {"weiblich 10...18 Jahre = Körpergewicht * 56 + 2900",
                                    "weiblich 19...30 Jahre = Körpergewicht * 62 + 2040",
                                    "weiblich 31...60 Jahre = Körpergewicht * 34 + 3540",
                                    "weiblich über 60 Jahre = Körpergewicht * 38 + 2760",
                                    "männlich 10...18 Jahre = Körpergewicht * 74 + 2750",
                                    "männlich 19...30 Jahre = Körpergewicht * 63 + 2900",
                                    "männlich 31...60 Jahre = Körpergewicht * 48 + 3650",
                                    "männlich über 60 Jahre = Körpergewicht * 49 + 2460"}));
    EXPECT_TRUE(
        containsRun(topic, {"1,3 * Grundumsatz = Leichte Arbeit", "1,5 * Grundumsatz = Mittelschwere Arbeit",
                            "1,8 * Grundumsatz = Schwere Arbeit", "2,1 * Grundumsatz = Schwerstarbeit"}));
    EXPECT_LT(topic.indexOf("männlich über 60 Jahre = Körpergewicht * 49 + 2460"),
              topic.indexOf("1,3 * Grundumsatz = Leichte Arbeit"));

    clickTab(help, 6);
    topic = texts(help);
    EXPECT_TRUE(
        containsRun(topic, {"", "mager: ca. 70...80% Normalgewicht", "dünn: ca. 80...90%  Normalgewicht",
                            "normal: ca. 90...110% Normalgewicht", "dick: ca. 110...130% Normalgewicht",
                            "fett: ca. 130...150% Normalgewicht", ""}));
    EXPECT_TRUE(topic.last().contains("BMI"));

    clickTab(help, 9);
    topic = texts(help);
    EXPECT_TRUE(
        containsRun(topic, {"Folgende 10 Dateien gehören zum Programmumfang von \"Kelvara\"", "ZEB2006.exe",
                            "ZEB_AKT.dbf", "ZEB_ZEB.dbf", "ZEB_FTB.dbf", "ZEB_NRG.dbf", "ZEB_NTB.dbf",
                            "ZEB_REG.dbf", "ZEB_XTB.dbf", "AKTNAME.ndx", "NRGNAME.ndx", ""}));

    clickTab(help, 10);
    EXPECT_TRUE(texts(help).join('\n').contains("1.02f")) << "the licence names the version";
}

TEST(HelpWindow, TheProgramsStructureNamesTheKeysOfEveryAction)
{
    THelpForm1 help;
    help.show();
    const QList<Line> topic = lines(help);
    QStringList headings;
    const Line* keyboard = nullptr;
    for (const Line& line : topic) {
        if (line.weight == Weight::Bold)
            headings << line.text;
        else if (line.text.contains("Tastatur"))
            keyboard = &line;
        if (keyboard)
            break;
    }
    ASSERT_TRUE(keyboard) << "a paragraph on the keyboard";
    EXPECT_EQ(headings.last(), "Programmaufbau");
    EXPECT_EQ(keyboard->weight, Weight::Regular);
    for (const char* keys :
         {"Tabulatortaste", "Leertaste", "Eingabetaste", "Pfeiltasten", "Strg+Bild ab", "Strg+Bild auf",
          "Strg+1 bis Strg+5", "Alt+Pfeil ab", "F4", "Kontextmenütaste", "Entf", "F1", "Strg+P"})
        EXPECT_TRUE(keyboard->text.contains(QString::fromUtf8(keys))) << keys;
}

TEST(HelpWindow, SwitchingTabsRebuildsTheSameTextEachTime)
{
    THelpForm1 help;
    help.show();
    const QStringList introduction = texts(help);
    const QStringList introductionBold = boldLines(help);
    clickTab(help, 3);
    const QStringList food = texts(help);
    for (int round = 0; round < 3; ++round) {
        clickTab(help, 0);
        EXPECT_EQ(texts(help), introduction);
        EXPECT_EQ(boldLines(help), introductionBold);
        EXPECT_EQ(help.RichEditHelp1->verticalScrollBar()->value(), 0) << "a topic is shown from its start";
        help.RichEditHelp1->verticalScrollBar()->setValue(help.RichEditHelp1->verticalScrollBar()->maximum());
        clickTab(help, 3);
        EXPECT_EQ(texts(help), food);
    }
    EXPECT_FALSE(help.RichEditHelp1->document()->isUndoAvailable());
}

TEST(HelpWindow, ReopensOnTheTopicLastShown)
{
    THelpForm1 help;
    help.show();
    clickTab(help, 5);
    QScrollBar* scroll = help.RichEditHelp1->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0) << "the statistics topic is longer than the box";
    scroll->setValue(scroll->maximum());
    const int revision = help.RichEditHelp1->document()->revision();

    QTest::mouseClick(help.ButtonHilfeClose, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
    help.show();
    EXPECT_EQ(help.TabControlHilfe->currentIndex(), 5);
    EXPECT_EQ(boldLines(help), kHeadings[5]);
    EXPECT_EQ(scroll->value(), scroll->maximum());
    EXPECT_EQ(help.RichEditHelp1->document()->revision(), revision) << "showing again rebuilds nothing";
}

TEST(HelpWindow, TheKeyboardSwitchesTopicsAndNeverEditsTheText)
{
    THelpForm1 help;
    help.show();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    QTextEdit* text = help.RichEditHelp1;
    const QStringList introduction = texts(help);

    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Enter);
    QTest::keyClick(text, Qt::Key_A);
    EXPECT_EQ(texts(help), introduction);

    QTest::keyClick(text, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(help.TabControlHilfe->currentIndex(), 1);
    EXPECT_EQ(boldLines(help), kHeadings[1]);
    QTest::keyClick(help.ButtonHilfeClose, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(help.ButtonHilfeClose, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(help.TabControlHilfe->currentIndex(), 11) << "the previous topic of the first is the last";
    EXPECT_EQ(boldLines(help), kHeadings[11]);

    TabControl* tabs = help.TabControlHilfe;
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(tabs->currentIndex(), 11) << "the arrows stop at the last tab";
    QTest::keyClick(tabs, Qt::Key_Home);
    QTest::keyClick(tabs, Qt::Key_Right);
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::keyClick(tabs, Qt::Key_Left);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(texts(help), introduction);

    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpWindow, TheRowOfTheSelectedTabLiesNextToTheText)
{
    THelpForm1 help;
    help.show();
    TabControl* tabs = help.TabControlHilfe;
    const int bottomRow = tabs->tabRect(0).y();
    const int last = tabs->count() - 1;
    ASSERT_LT(tabs->tabRect(last).y(), bottomRow) << "the last tab starts in the upper row";
    clickTab(help, last);
    EXPECT_EQ(tabs->tabRect(last).y(), bottomRow);
    EXPECT_LT(tabs->tabRect(0).y(), bottomRow);
    EXPECT_EQ(boldLines(help), kHeadings[last]);
    clickTab(help, 0);
    EXPECT_EQ(tabs->tabRect(0).y(), bottomRow);

    QTest::mouseMove(tabs, tabs->tabRect(3).center());
    EXPECT_EQ(tabs->hotIndex(), 3) << "hot tracking";
    QTest::mouseMove(tabs, tabs->pageRect().center());
    EXPECT_EQ(tabs->hotIndex(), -1);
}

TEST(HelpWindow, LongParagraphsWrapInsideTheBox)
{
    THelpForm1 help;
    help.show();
    clickTab(help, 1);
    QTextEdit* text = help.RichEditHelp1;
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(text->verticalScrollBar()->maximum(), 0);
    const QTextBlock first = text->document()->findBlockByNumber(1);
    ASSERT_TRUE(first.layout());
    EXPECT_GT(first.layout()->lineCount(), 1);
    EXPECT_LE(first.layout()->boundingRect().width(), text->viewport()->width());
}

TEST(HelpWindow, ScreenshotsOfTwoTopics)
{
    THelpForm1 help;
    help.show();
    const QDir dir(QStringLiteral(KELVARA_BINARY_DIR "/screenshots"));
    ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
    for (int topic : {0, 6}) {
        clickTab(help, topic);
        QTest::mouseMove(help.ButtonHilfeClose);
        settle();
        const QImage image = help.grab().toImage();
        EXPECT_EQ(image.size(), QSize(610, 398) * image.devicePixelRatio());
        EXPECT_TRUE(
            image.save(dir.filePath(QStringLiteral("help_topic%1.png").arg(topic, 2, 10, QLatin1Char('0')))));
    }
}
