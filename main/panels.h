#pragma once

#include <QFrame>
#include <QPlainTextEdit>
#include <functional>

#include "store/codepage.h"

// A panel that hands its mouse presses, moves and releases (with the button
// and the position in its own coordinates) to the window's handlers.
class MousePanel : public QFrame
{
    Q_OBJECT
public:
    using Handler = std::function<void(Qt::MouseButton, QPoint)>;
    explicit MousePanel(QWidget* parent) : QFrame(parent) {}

    Handler onPress, onMove, onRelease;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A panel that takes drops of day-list rows: it asks the window whether to
// accept a drag entering it, and reports leaving and dropping.
class DropPanel : public QFrame
{
    Q_OBJECT
public:
    explicit DropPanel(QWidget* parent);

    std::function<bool(QObject* source)> onEnter; // true accepts the drag
    std::function<void()> onLeave;
    std::function<void(QObject* source)> onDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QObject* sourceOf(const QDropEvent* event) const;

    bool m_accepted = false;
};

// Lets the rows of a day list be dragged: a press with the left button and a
// move past the platform's drag distance start a drag of the list, whose
// selected row the drop target reads.
class RowDragStarter : public QObject
{
    Q_OBJECT
public:
    explicit RowDragStarter(QWidget* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_list;
    QPoint m_pressed;
    bool m_armed = false;
};

class QButtonGroup;
class QToolButton;

// A flat button of a side-bar group, 98 x 17 at (1, y), showing its word as
// an 86 x 13 picture; the word is also its text, for assistive tools.
QToolButton* wordButton(QWidget* parent, int y, const char* word, QButtonGroup* group);

class QLabel;

// A read-out of a picture: a bordered text on the scroll-bar colour, parked
// at `parked` until a press places it.
QLabel* readoutLabel(QWidget* parent, QPoint parked);

// The MIME type of a day-list row being dragged to a waste bin.
inline constexpr char kDayRowMimeType[] = "application/x-kelvara-day-row";

// A plain text editor for text stored in a single-byte code page, holding at
// most a number of characters, a line break counting two (carriage return
// and line feed, as the text is stored). Whatever way text arrives (typed,
// pasted, dropped, composed by an input method), a character the code page
// cannot hold is replaced at once by its stand-in, so the editor shows what
// is stored, and input beyond the limit is refused: a typed key or composed
// text whole, pasted or dropped text from the point where it no longer fits.
// Tab and Shift+Tab move the focus; they insert nothing. Text set by the
// program is taken as it is.
class LimitedTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    LimitedTextEdit(QWidget* parent, int limit, store::CodePage page);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Characters that may still be inserted in place of the selection.
    int room() const;

    int m_limit;
    store::CodePage m_page;
};
