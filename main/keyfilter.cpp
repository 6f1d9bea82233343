#include "main/keyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

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
