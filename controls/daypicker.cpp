#include "controls/daypicker.h"

#include "controls/platform.h"
#include "controls/readable.h"
#include "diary/rules/daytext.h"
#include "diary/rules/numbers.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOption>

#include <memory>

namespace {

const QDate kEarliest(1000, 1, 1);
const QDate kLatest(9999, 12, 31);

bool typesText(const QKeyEvent* event)
{
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
}

} // namespace

DayPicker::DayPicker(QWidget* parent) : QDateEdit(parent)
{
    setDateRange(kEarliest, kLatest);
    // The text is this class's own: the date edit's part-by-part editing,
    // which sends a digit typed behind a full day into the month, must not
    // react to it.
    lineEdit()->disconnect(this);
    connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, [this] { updateMicroFocus(); });
    lineEdit()->installEventFilter(this);
    lineEdit()->setAcceptDrops(true);
    // Only a change of the date is a change, not Enter on the same date.
    setKeyboardTracking(false);
}

bool DayPicker::event(QEvent* event)
{
    // The calendar, a window of its own, is made when it is first wanted.
    if (event->type() == QEvent::Show && !m_calendarKept) {
        if (QCalendarWidget* calendar = calendarWidget()) {
            readable::keepCalendar(*calendar);
            m_calendarKept = true;
        }
    }
    return QDateEdit::event(event);
}

void DayPicker::stepBy(int steps)
{
    const daytext::Layout layout = daytext::layoutOf(displayFormat());
    const QString shown = text();
    const int part = std::max(0, daytext::partAt(layout, shown, lineEdit()->cursorPosition()));
    const QChar kind = layout.order.at(part);
    const QDate day = date();
    setDate(kind == u'd' ? day.addDays(steps) : kind == u'M' ? day.addMonths(steps) : day.addYears(steps));
    const QString now = text();
    const int start = daytext::partStart(layout, now, part);
    lineEdit()->setSelection(start, daytext::partEnd(layout, now, part) - start);
}

QAbstractSpinBox::StepEnabled DayPicker::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State DayPicker::validate(QString& text, int&) const
{
    const daytext::Layout layout = daytext::layoutOf(displayFormat());
    if (daytext::dayOf(layout, text))
        return QValidator::Acceptable;
    return daytext::isEditable(layout, text) ? QValidator::Intermediate : QValidator::Invalid;
}

void DayPicker::fixup(QString&) const {}

QDateTime DayPicker::dateTimeFromText(const QString& text) const
{
    if (const auto day = daytext::dayOf(daytext::layoutOf(displayFormat()), text))
        return QDateTime(*day, QTime(0, 0));
    return QDateEdit::dateTimeFromText(text);
}

void DayPicker::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    if (typesText(event)) {
        for (QChar c : event->text())
            typeCharacter(c);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        if (commit())
            openCalendar();
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (commit())
            QDateEdit::keyPressEvent(event);
        return;
    case Qt::Key_Escape:
        showDay();
        QDateEdit::keyPressEvent(event);
        return;
    default:
        if (event->modifiers() & Qt::AltModifier) {
            QDateEdit::keyPressEvent(event);
            return;
        }
        // Moving, deleting, selecting, copying: as in any text field.
        // Straight to the text field: a key it leaves would otherwise come
        // back here through its parent.
        m_cursor = -1;
        static_cast<QObject*>(lineEdit())->event(event);
        watchPresses();
    }
}

void DayPicker::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->preeditString().isEmpty() && !event->commitString().isEmpty()) {
        for (QChar c : event->commitString())
            typeCharacter(c);
        event->accept();
        return;
    }
    QDateEdit::inputMethodEvent(event);
}

void DayPicker::wheelEvent(QWheelEvent* event)
{
    if (commit())
        QDateEdit::wheelEvent(event);
}

void DayPicker::focusOutEvent(QFocusEvent* event)
{
    // The calendar taking the focus is no leaving.
    if (event->reason() != Qt::PopupFocusReason)
        commit();
    QDateEdit::focusOutEvent(event);
}

void DayPicker::contextMenuEvent(QContextMenuEvent* event)
{
    // The text field's own menu, its paste going the way Ctrl+V goes.
    std::unique_ptr<QMenu> menu(lineEdit()->createStandardContextMenu());
    if (QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        pasteAction->disconnect();
        connect(pasteAction, &QAction::triggered, this,
                [this] { paste(QGuiApplication::clipboard()->text()); });
    }
    m_cursor = -1;
    menu->exec(event->globalPos());
}

void DayPicker::openCalendar()
{
    // The date edit opens its calendar on a press of its arrow button only.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this).center();
    QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QDateEdit::mousePressEvent(&press);
}

bool DayPicker::focusNextPrevChild(bool next)
{
    // Tab leaves the field, as in every other field of the window.
    return QWidget::focusNextPrevChild(next);
}

bool DayPicker::eventFilter(QObject* watched, QEvent* event)
{
    // A press on anything else (a symbol to drag, a folder tab, a button,
    // none of which takes the focus) acts on the day that the field shows.
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && watched != this &&
        !isAncestorOf(static_cast<QWidget*>(watched)))
        commit();
    if (watched != lineEdit())
        return QDateEdit::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_cursor = -1; // typing begins afresh where the user clicks
        return QDateEdit::eventFilter(watched, event);
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasText())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString dropped = drop->mimeData()->text().trimmed();
        drop->acceptProposedAction();
        if (daytext::dayOf(daytext::layoutOf(displayFormat()), dropped)) {
            setTyped(dropped, static_cast<int>(dropped.size()));
            commit();
        } else {
            refuse(dropped);
        }
        return true;
    }
    default:
        return QDateEdit::eventFilter(watched, event);
    }
}

void DayPicker::typeCharacter(QChar c)
{
    const daytext::Layout layout = daytext::layoutOf(displayFormat());
    QLineEdit* edit = lineEdit();
    const QString shown = edit->text();
    const int cursor = edit->cursorPosition();
    const bool selection = edit->hasSelectedText();
    const int from = selection ? edit->selectionStart() : cursor;
    const int to = selection ? edit->selectionEnd() : cursor;
    const int part = daytext::partAt(layout, shown, from);
    const bool onePart = part >= 0 && shown.mid(from, to - from).indexOf(layout.separator) < 0;
    const bool goingOn = !selection && cursor == m_cursor;
    const bool wholeDate = goingOn ? m_part < 0 : !onePart;

    if (wholeDate || !(numbers::isDigit(c) || c == layout.separator)) {
        const QString typed = withInserted(QString(c));
        if (!daytext::isBeginning(layout, typed)) {
            refuse(typed);
            return;
        }
        setTyped(typed, from + 1);
        return;
    }
    if (c == layout.separator) {
        // Typed where the digits before already moved the cursor on ("05"
        // of "05.03.2012"), the separator is that move.
        if (goingOn && m_part == part && m_digits.isEmpty())
            return;
        // On to the beginning of the next part.
        if (part < 2)
            setTyped(shown, daytext::partStart(layout, shown, part + 1), part + 1);
        return;
    }
    const QString before = goingOn && m_part == part ? m_digits : QString();
    const auto typed = daytext::typeDigit(layout, shown, part, before, c);
    if (!typed) {
        QString refused = shown;
        refused.replace(daytext::partStart(layout, shown, part),
                        daytext::partEnd(layout, shown, part) - daytext::partStart(layout, shown, part),
                        before + c);
        refuse(refused);
        return;
    }
    setTyped(typed->text, typed->cursor, typed->part, typed->digits);
}

QString DayPicker::withInserted(const QString& text) const
{
    const QLineEdit* edit = lineEdit();
    QString result = edit->text();
    if (edit->hasSelectedText())
        return result.replace(edit->selectionStart(), edit->selectionLength(), text);
    return result.insert(edit->cursorPosition(), text);
}

void DayPicker::paste(const QString& text)
{
    const daytext::Layout layout = daytext::layoutOf(displayFormat());
    const QString pasted = text.trimmed();
    if (daytext::dayOf(layout, pasted)) {
        setTyped(pasted, static_cast<int>(pasted.size()));
        return;
    }
    const QString result = withInserted(pasted);
    if (!daytext::isBeginning(layout, result)) {
        refuse(pasted);
        return;
    }
    setTyped(result, static_cast<int>(result.size()));
}

void DayPicker::setTyped(const QString& text, int cursor, int part, const QString& digits)
{
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(cursor);
    m_cursor = cursor;
    m_part = part;
    m_digits = digits;
    watchPresses();
}

void DayPicker::watchPresses()
{
    if (text() != textFromDateTime(dateTime()))
        qApp->installEventFilter(this);
}

bool DayPicker::commit()
{
    qApp->removeEventFilter(this);
    const QString typed = text();
    const auto day = daytext::dayOf(daytext::layoutOf(displayFormat()), typed);
    if (!day) {
        refuse(typed);
        return false;
    }
    m_cursor = -1;
    if (*day == date())
        showDay();
    else
        setDate(*day);
    return true;
}

void DayPicker::refuse(const QString& text)
{
    const QString why = daytext::dayOf(daytext::layoutOf(displayFormat()), text).message();
    showDay();
    platform::showMessage(this, why + QStringLiteral("\rEs bleibt beim %1.").arg(this->text()));
}

void DayPicker::showDay()
{
    qApp->removeEventFilter(this);
    m_cursor = -1;
    m_part = -1;
    m_digits.clear();
    const QString shown = textFromDateTime(dateTime());
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}
