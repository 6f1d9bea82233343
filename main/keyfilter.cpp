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
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    if (typed.isEmpty())
        return false;
    if (typed.size() == 1) {
        QChar key = typed.front();
        if (key.category() == QChar::Other_Control && key != u'\b')
            return false;
        m_handler(m_edit, key);
        if (key == typed.front())
            return false;
        if (!key.isNull())
            m_edit->insert(QString(key));
        return true;
    }
    // Several characters at once: each goes through the handler in turn.
    for (QChar key : typed) {
        m_handler(m_edit, key);
        if (!key.isNull() && key != u'\b')
            m_edit->insert(QString(key));
    }
    return true;
}
