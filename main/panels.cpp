#include "main/panels.h"

#include <QAbstractScrollArea>
#include <QButtonGroup>
#include <QToolButton>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTextCursor>

#include "main/diary/notetext.h"
#include "res/pictures.h"

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

int LimitedTextEdit::room() const
{
    const int used = notetext::storedLength(toPlainText());
    const int selected = notetext::storedLength(textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    return m_limit - used + selected;
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts = lineBreak || (!text.isEmpty() && text[0].isPrint());
    if (inserts && notetext::storedLength(text) > room())
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    QString text = source->text();
    const int free = room();
    while (!text.isEmpty() && notetext::storedLength(text) > free)
        text.chop(1);
    if (!text.isEmpty())
        insertPlainText(text);
}

QToolButton* wordButton(QWidget* parent, int y, const char* word, QButtonGroup* group)
{
    auto* b = new QToolButton(parent);
    b->setGeometry(1, y, 98, 17);
    b->setText(QString::fromUtf8(word));
    b->setIcon(pictures::categoryWord(QString::fromUtf8(word)));
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
