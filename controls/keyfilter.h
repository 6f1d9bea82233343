#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "store/codepage.h"

class QLineEdit;

// Puts a key-press handler in front of a line edit: every character typed
// into the edit goes through the handler first, which lets it pass, changes
// it, or discards it by setting it to the null character. Keys that type no
// character, or a control character other than backspace (cursor keys, Tab,
// Enter, shortcuts such as Ctrl+V), reach the edit untouched; so does text
// pasted or dropped, which the edit's change handler judges.
class KeyPressFilter : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(QLineEdit* sender, QChar& key)>;

    // The filter lives as long as the edit.
    static void install(QLineEdit* edit, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyPressFilter(QLineEdit* edit, Handler handler);

    QLineEdit* m_edit;
    Handler m_handler;
};

// Guards what the user enters into a line edit whose text is stored in a
// single-byte code page: after every edit by the user (typed, pasted,
// dropped, composed) the text is made what the field stores at once
// (store::fitToLine: control characters such as a pasted line break or tab
// removed, a no-break space a blank, a character the code page cannot hold
// replaced by its stand-in), and input beyond `typedLength` characters is
// refused, the surplus cut from what was just inserted. Text set by the
// program is shown whole, however long, and only edits that lengthen the
// text are held to the limit. Use instead of QLineEdit::setMaxLength, which
// also cuts the text the program sets.
class EntryGuard : public QObject
{
    Q_OBJECT
public:
    // The guard lives as long as the edit.
    static void install(QLineEdit* edit, int typedLength, store::CodePage page);

private:
    EntryGuard(QLineEdit* edit, int typedLength, store::CodePage page);
    void edited(const QString& text);

    QLineEdit* m_edit;
    int m_length;
    store::CodePage m_page;
    QString m_before; // the text before the edit being judged
};

// Enter in `from` moves the focus to the field that `next` names at that
// moment, its text selected as Tab selects it: what is typed next replaces
// the old value instead of being appended to it.
void moveFocusOnEnter(QLineEdit* from, std::function<QLineEdit*()> next);
