// The main and help windows as the desktop sees them: names for screen
// readers, Qt's own texts in the system's language, and the window hints.

#include "controls/stringgrid.h"
#include "help/zebhelp.h"
#include "main/draw/picture.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A control the user can reach with the mouse or the keyboard.
bool interactive(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const MousePanel*>(w) || qobject_cast<const DropPanel*>(w) ||
           qobject_cast<const ClickLabel*>(w) || qobject_cast<const Picture*>(w) || w->acceptDrops() ||
           w->focusPolicy() != Qt::NoFocus;
}

// Controls that belong to another control (the scroll bars of a list, the
// editor inside a combo box) are spoken through their owner.
bool partOfAnother(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p))
            return true;
    }
    return false;
}

QString spokenName(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// "Objekt (Klasse)" for every interactive control of `window` without a name.
QStringList unnamedControls(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!interactive(w) || partOfAnother(w, &window))
            continue;
        if (spokenName(w).isEmpty())
            unnamed << QStringLiteral("%1 (%2, parent %3)")
                           .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()),
                                w->parentWidget() ? w->parentWidget()->objectName() : QString());
    }
    return unnamed;
}

// The texts of the actions of the open context menu, without accelerators
// and shortcuts.
QStringList openMenuTexts()
{
    QStringList texts;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return texts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text().split(u'\t').front().remove(u'&');
    }
    menu->close();
    settle();
    return texts;
}

// Opens the context menu with a right click into `w`, as the user does: the
// click goes to the window, which turns it into the menu request.
QStringList contextMenuOf(QWidget* w)
{
    w->setFocus();
    QWidget* window = w->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, w->mapTo(window, QPoint(10, 10)));
    settle();
    return openMenuTexts();
}

const QStringList kEnglishActions{
    QStringLiteral("Undo"),  QStringLiteral("Redo"),   QStringLiteral("Cut"),       QStringLiteral("Copy"),
    QStringLiteral("Paste"), QStringLiteral("Delete"), QStringLiteral("Select All")};

class Desktop : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // Back to Qt's built-in English for the tests that follow.
        LocaleScope none(QLocale::c());
        platform::installQtTranslation();
    }

    FreshDiary diary;
    Seams seams;
};

} // namespace

TEST_F(Desktop, EveryControlOfTheMainWindowHasANameForScreenReaders)
{
    TFormMain1 window(diary.dir());
    window.show();
    const QStringList unnamed = unnamedControls(window);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
    EXPECT_EQ(spokenName(window.EditTagesgewicht), QStringLiteral("Tagesgewicht in kg"));
    EXPECT_EQ(spokenName(window.StringGridNRG), QStringLiteral("Nahrungsmittel-Katalog"));
    EXPECT_EQ(spokenName(window.PanelNahrungDelete), QStringLiteral("Mülleimer Nahrung"));
    EXPECT_EQ(spokenName(window.SpeedButtonEnde), QStringLiteral("Programmende"));
    EXPECT_EQ(spokenName(window.SpeedButtonN[1]), QStringLiteral("Getränke (Kategorie Nahrungsmittel)"));
}

TEST_F(Desktop, TheHelpWindowsControlsHaveNames)
{
    THelpForm1 help;
    help.show();
    const QStringList unnamed = unnamedControls(help);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
    EXPECT_EQ(spokenName(help.ButtonHilfeClose), QStringLiteral("Hilfe-Fenster schließen !"));
}

TEST_F(Desktop, TheToolsWindowsControlsHaveNames)
{
    TFormMain1 window(diary.dir());
    TToolForm1 tools(window);
    tools.show();
    const QStringList unnamed = unnamedControls(tools);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
    EXPECT_EQ(spokenName(tools.EditTools1), QStringLiteral("Bezeichnung"));
    EXPECT_EQ(spokenName(tools.DateTimePickerVerwalten4), QStringLiteral("Komprimieren bis"));
}

TEST_F(Desktop, TheWindowsOfferMinimiseAndCloseButNoMaximise)
{
    TFormMain1 window(diary.dir());
    THelpForm1 help;
    TToolForm1 tools(window);
    for (QWidget* w :
         {static_cast<QWidget*>(&window), static_cast<QWidget*>(&help), static_cast<QWidget*>(&tools)}) {
        const Qt::WindowFlags flags = w->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << w->windowTitle().toStdString();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << w->windowTitle().toStdString();
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << w->windowTitle().toStdString();
        // The decorations are the program's choice, not the window manager's.
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << w->windowTitle().toStdString();
        EXPECT_EQ(w->minimumSize(), w->maximumSize()) << w->windowTitle().toStdString();
    }
    // Nothing is appended to the titles by the application.
    EXPECT_TRUE(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName());
}

TEST_F(Desktop, QtsOwnContextMenusSpeakGermanUnderAGermanLocale)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    platform::installQtTranslation();
    TFormMain1 window(diary.dir());
    window.show();

    const QStringList weight = contextMenuOf(window.EditTagesgewicht);
    ASSERT_FALSE(weight.isEmpty()) << "a right click opens the weight field's menu";
    EXPECT_TRUE(weight.contains(QStringLiteral("Einfügen"))) << weight.join(u'|').toStdString();
    EXPECT_TRUE(weight.contains(QStringLiteral("Alles auswählen"))) << weight.join(u'|').toStdString();
    for (const QString& english : kEnglishActions)
        EXPECT_FALSE(weight.contains(english)) << english.toStdString();

    window.LabelOrdnerClick(2);
    const QStringList note = contextMenuOf(window.MemoNotiz->viewport());
    ASSERT_FALSE(note.isEmpty()) << "a right click opens the note editor's menu";
    EXPECT_TRUE(note.contains(QStringLiteral("Einfügen"))) << note.join(u'|').toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("Alles auswählen"))) << note.join(u'|').toStdString();
    for (const QString& english : kEnglishActions)
        EXPECT_FALSE(note.contains(english)) << english.toStdString();
}

TEST_F(Desktop, QtsOwnContextMenusStayEnglishUnderAnEnglishLocale)
{
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedKingdom));
    platform::installQtTranslation();
    TFormMain1 window(diary.dir());
    window.show();

    const QStringList weight = contextMenuOf(window.EditTagesgewicht);
    EXPECT_TRUE(weight.contains(QStringLiteral("Paste"))) << weight.join(u'|').toStdString();
    EXPECT_TRUE(weight.contains(QStringLiteral("Select All"))) << weight.join(u'|').toStdString();
    EXPECT_FALSE(weight.contains(QStringLiteral("Einfügen")));

    window.LabelOrdnerClick(2);
    const QStringList note = contextMenuOf(window.MemoNotiz->viewport());
    EXPECT_TRUE(note.contains(QStringLiteral("Paste"))) << note.join(u'|').toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("Select All"))) << note.join(u'|').toStdString();
}

TEST_F(Desktop, OurOwnTextsStayAsTheyAreWhateverQtsLanguage)
{
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::installQtTranslation();
    TFormMain1 window(diary.dir());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvara [1.02f]"));
    EXPECT_EQ(window.SpeedButtonN[1]->text(), QStringLiteral("Getränke"));
}
