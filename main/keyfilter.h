#pragma once

#include <QObject>
#include <functional>

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
