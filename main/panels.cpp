#include "main/panels.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QButtonGroup>
#include <QDrag>
#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <QToolButton>

#include "diary/rules/notetext.h"
#include "main/draw/drawnbutton.h"

void MousePanel::mousePressEvent(QMouseEvent* event)
{
    if (onPress)
        onPress(event->button(), event->position().toPoint());
}

void MousePanel::mouseMoveEvent(QMouseEvent* event)
{
    if (onMove)
        onMove(Qt::NoButton, event->position().toPoint());
}

void MousePanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (onRelease)
        onRelease(event->button(), event->position().toPoint());
}

DropPanel::DropPanel(QWidget* parent) : QFrame(parent)
{
    setAcceptDrops(true);
}

QObject* DropPanel::sourceOf(const QDropEvent* event) const
{
    // A drag names its list in its data as well, so that the list is known
    // when the drag comes without a source object.
    if (event->source())
        return event->source();
    const QString name = QString::fromUtf8(event->mimeData()->data(kDayRowMimeType));
    return name.isEmpty() ? nullptr : window()->findChild<QWidget*>(name);
}

void DropPanel::dragEnterEvent(QDragEnterEvent* event)
{
    m_accepted = event->mimeData()->hasFormat(kDayRowMimeType) && onEnter && onEnter(sourceOf(event));
    if (m_accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropPanel::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropPanel::dragLeaveEvent(QDragLeaveEvent*)
{
    if (m_accepted && onLeave)
        onLeave();
    m_accepted = false;
}

void DropPanel::dropEvent(QDropEvent* event)
{
    if (!m_accepted)
        return;
    // The bin closes before the drop is handled, as on leaving.
    m_accepted = false;
    if (onLeave)
        onLeave();
    event->acceptProposedAction();
    if (onDrop)
        onDrop(sourceOf(event));
}

RowDragStarter::RowDragStarter(QWidget* list) : QObject(list), m_list(list)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(list))
        area->viewport()->installEventFilter(this);
    else
        list->installEventFilter(this);
}

bool RowDragStarter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        m_armed = press->button() == Qt::LeftButton;
        m_pressed = press->position().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        m_armed = false;
    } else if (event->type() == QEvent::MouseMove && m_armed) {
        auto* move = static_cast<QMouseEvent*>(event);
        if ((move->position().toPoint() - m_pressed).manhattanLength() >= QApplication::startDragDistance()) {
            m_armed = false;
            auto* drag = new QDrag(m_list);
            auto* data = new QMimeData;
            data->setData(kDayRowMimeType, m_list->objectName().toUtf8());
            drag->setMimeData(data);
            drag->exec(Qt::MoveAction);
            return true;
        }
    }
    return false;
}

LimitedTextEdit::LimitedTextEdit(QWidget* parent, int limit, store::CodePage page)
    : QPlainTextEdit(parent), m_limit(limit), m_page(page)
{
    setTabChangesFocus(true);
}

int LimitedTextEdit::room() const
{
    const int used = notetext::storedLength(toPlainText());
    const int selected =
        notetext::storedLength(textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    return m_limit - used + selected;
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (lineBreak) {
        if (notetext::storedLength(QStringLiteral("\n")) > room())
            return;
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    // Keys that type nothing, and control characters (backspace, Ctrl
    // shortcuts), go to the editor as they are; Alt+Tab types a tab.
    if (typed.isEmpty() || (typed.front().category() == QChar::Other_Control && typed.front() != u'\t')) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString text = store::fitToCodePage(typed, m_page);
    if (notetext::storedLength(text) > room())
        return;
    if (text == typed) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    insertPlainText(text);
    ensureCursorVisible();
}

void LimitedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QString text = notetext::editorForm(store::fitToCodePage(committed, m_page));
    // Composed text replaces the selection and the range the event names.
    int free = room();
    if (event->replacementLength() > 0) {
        QTextCursor range = textCursor();
        const int at = range.selectionStart() + event->replacementStart();
        range.setPosition(at);
        range.setPosition(at + event->replacementLength(), QTextCursor::KeepAnchor);
        free += notetext::storedLength(range.selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    }
    if (text == committed && notetext::storedLength(text) <= free) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent fitted(event->preeditString(), event->attributes());
    if (notetext::storedLength(text) <= free)
        fitted.setCommitString(text, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&fitted);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    // Line breaks of any kind arrive as one each.
    QString text = notetext::editorForm(store::fitToCodePage(source->text(), m_page));
    const int free = room();
    while (!text.isEmpty() && notetext::storedLength(text) > free)
        text.chop(1);
    if (!text.isEmpty())
        insertPlainText(text);
}

QToolButton* wordButton(QWidget* parent, int y, const char* word, QButtonGroup* group)
{
    auto* b = new WordButton(parent, QString::fromUtf8(word));
    b->setGeometry(1, y, 98, 17);
    b->setIconSize(QSize(86, 13));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    group->addButton(b);
    return b;
}

QLabel* readoutLabel(QWidget* parent, QPoint parked)
{
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(0xC8, 0xC8, 0xC8));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(parked);
    return label;
}
