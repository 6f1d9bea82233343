#include "help/zebhelp.h"

#include "controls/accessibility.h"
#include "controls/platform.h"

#include "controls/tabcontrol.h"
#include "help/rules/topicmarkup.h"

#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

QFont arial(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

// Exactly as the tabs read, blanks included: " Tools" has none at the end.
const QStringList& tabCaptions()
{
    static const QStringList captions{
        QStringLiteral(" Einführung "), QStringLiteral(" Ziele "),
        QStringLiteral(" Notizen "),    QStringLiteral(" Nahrung "),
        QStringLiteral(" Aktivität "),  QStringLiteral(" Statistik "),
        QStringLiteral(" Gewicht "),    QStringLiteral(" Drucken "),
        QStringLiteral(" Tools"),       QStringLiteral(" Installation/Deinstallation "),
        QStringLiteral(" Lizenz "),     QStringLiteral(" FAQ "),
    };
    return captions;
}

QString topicText(int index)
{
    QFile file(QStringLiteral(":/help/topics/topic%1.txt").arg(index, 2, 10, QLatin1Char('0')));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

THelpForm1::THelpForm1(QWidget* parent) : QWidget(parent, Qt::Window)
{
    platform::makeFixedWindow(*this, QStringLiteral("Hilfe für Kelvara [1.02f]"), QSize(610, 398));
    setFont(arial(false));

    TabControlHilfe = new TabControl(this);
    TabControlHilfe->setFont(arial(true));
    TabControlHilfe->setGeometry(5, 6, 600, 351);
    TabControlHilfe->setTabs(tabCaptions());

    RichEditHelp1 = new QTextEdit(TabControlHilfe);
    RichEditHelp1->setGeometry(5, 48, 590, 297);
    RichEditHelp1->setFont(arial(false));
    RichEditHelp1->setFrameStyle(QFrame::Box | QFrame::Plain);
    RichEditHelp1->setLineWidth(1);
    RichEditHelp1->setReadOnly(true);
    RichEditHelp1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEditHelp1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEditHelp1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEditHelp1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEditHelp1->setTabChangesFocus(true);
    RichEditHelp1->setContextMenuPolicy(Qt::NoContextMenu);
    // Each topic is built anew; an undo history would only grow.
    RichEditHelp1->document()->setUndoRedoEnabled(false);

    ButtonHilfeClose = new QPushButton(QStringLiteral("Hilfe-Fenster schließen !"), this);
    ButtonHilfeClose->setFont(arial(true));
    ButtonHilfeClose->setGeometry(188, 364, 218, 27);

    accessibility::makeWindow(this);
    setAccessibleName(windowTitle());
    TabControlHilfe->setAccessibleName(QStringLiteral("Hilfethemen"));
    RichEditHelp1->setAccessibleName(QStringLiteral("Hilfetext"));
    ButtonHilfeClose->setAccessibleName(ButtonHilfeClose->text());

    setTabOrder(TabControlHilfe, RichEditHelp1);
    setTabOrder(RichEditHelp1, ButtonHilfeClose);

    connect(TabControlHilfe, &TabControl::changed, this, &THelpForm1::TabControlHilfeChange);
    connect(ButtonHilfeClose, &QPushButton::clicked, this, &THelpForm1::ButtonHilfeCloseClick);

    FormCreate();
}

void THelpForm1::FormCreate()
{
    buildTopic(TabControlHilfe->currentIndex());
}

void THelpForm1::TabControlHilfeChange()
{
    buildTopic(TabControlHilfe->currentIndex());
}

void THelpForm1::ButtonHilfeCloseClick()
{
    close();
}

void THelpForm1::showDiaryRange(const diary::Range* range)
{
    m_range = range;
    buildTopic(TabControlHilfe->currentIndex());
}

void THelpForm1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THelpForm1::buildTopic(int index)
{
    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat regular;
    regular.setFontWeight(QFont::Normal);

    QTextDocument* document = RichEditHelp1->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    const diary::Range range = m_range ? *m_range : diary::Range();
    for (const help::TopicLine& line :
         help::parseTopic(help::withDiaryDays(topicText(index), range.first, range.last))) {
        if (!first)
            cursor.insertBlock();
        first = false;
        const QTextCharFormat& format = line.kind == help::LineKind::Heading ? heading : regular;
        cursor.setBlockCharFormat(format);
        cursor.setCharFormat(format);
        cursor.insertText(line.text);
    }
    cursor.endEditBlock();

    RichEditHelp1->moveCursor(QTextCursor::Start);
    RichEditHelp1->verticalScrollBar()->setValue(0);
}
