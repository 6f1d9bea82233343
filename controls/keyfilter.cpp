#include "controls/keyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

KeyPressFilter::KeyPressFilter(QLineEdit* edit, Handler handler)
    : QObject(edit), m_edit(edit), m_handler(std::move(handler))
{
}

void KeyPressFilter::install(QLineEdit* edit, Handler handler)
{
    // Text composed by an input method would not pass through the filter.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->installEventFilter(new KeyPressFilter(edit, std::move(handler)));
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    // A shortcut (Ctrl+V, Ctrl+A) types nothing, whatever text the event
    // carries; Ctrl together with Alt is AltGr on some systems and types.
    const Qt::KeyboardModifiers mods = key->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier))
        return false;
    if (typed.size() == 1) {
        QChar c = typed.front();
        if (c.category() == QChar::Other_Control && c != u'\b')
            return false;
        m_handler(m_edit, c);
        if (c == typed.front())
            return false;
        if (!c.isNull())
            m_edit->insert(QString(c));
        return true;
    }
    // Several characters at once: each goes through the handler in turn.
    for (QChar c : typed) {
        m_handler(m_edit, c);
        if (!c.isNull() && c != u'\b')
            m_edit->insert(QString(c));
    }
    return true;
}

EntryGuard::EntryGuard(QLineEdit* edit, int typedLength, store::CodePage page)
    : QObject(edit), m_edit(edit), m_length(typedLength), m_page(page), m_before(edit->text())
{
    // The text as it stands after every change, the program's included.
    connect(edit, &QLineEdit::textChanged, this, [this] { m_before = m_edit->text(); });
    // Edits by the user only; reported before the change is.
    connect(edit, &QLineEdit::textEdited, this, &EntryGuard::edited);
}

void EntryGuard::install(QLineEdit* edit, int typedLength, store::CodePage page)
{
    new EntryGuard(edit, typedLength, page);
}

void EntryGuard::edited(const QString& text)
{
    int cursor = m_edit->cursorPosition();
    QString fitted = store::fitToLine(text, m_page);
    cursor = static_cast<int>(store::fitToLine(text.left(cursor), m_page).size());
    // What was inserted ends at the cursor; cut what goes beyond the limit,
    // but never below the length the text already had.
    const qsizetype surplus = fitted.size() - std::max<qsizetype>(m_length, m_before.size());
    if (surplus > 0) {
        const qsizetype from = std::max<qsizetype>(0, cursor - surplus);
        fitted.remove(from, cursor - from);
        cursor = static_cast<int>(from);
    }
    if (fitted == text)
        return;
    m_edit->setText(fitted);
    m_edit->setCursorPosition(cursor);
}

void moveFocusOnEnter(QLineEdit* from, std::function<QLineEdit*()> next)
{
    QObject::connect(from, &QLineEdit::returnPressed, from, [next = std::move(next)] {
        QLineEdit* to = next();
        to->setFocus(Qt::TabFocusReason);
        to->selectAll();
    });
}
