#pragma once

#include <QDateEdit>

// The day selector: a date edit with a calendar whose text is typed as a
// person reads it. Digits typed into the day, month or year replace that
// part (after "29.12.2012" with the cursor in the day, "23" gives
// "23.12.2012"); a whole date typed or pasted over the selection stands as
// typed. What is typed takes effect on Enter, on leaving the field, on a
// mouse press anywhere else and before the arrow keys or the wheel step it;
// a dropped date at once. Text that is not a day is refused with a message
// and the date stays as it was. The calendar, the arrow keys and the wheel
// change the date as in any date edit; F4 and Alt+Down open the calendar.
//
// It takes any day with a four-digit year; keeping the day inside the diary
// is its change handler's business.
class DayPicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DayPicker(QWidget* parent);

    // The arrow keys, page keys and the wheel step the part under the
    // cursor: the day by days (across the end of a month), the month by
    // months, the year by years.
    void stepBy(int steps) override;
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;

protected:
    bool event(QEvent* event) override;
    StepEnabled stepEnabled() const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens the calendar below the field, as a press on its arrow does.
    void openCalendar();
    void typeCharacter(QChar c);
    // `text` in place of the selection, or at the cursor.
    QString withInserted(const QString& text) const;
    void paste(const QString& text);
    void setTyped(const QString& text, int cursor, int part = -1, const QString& digits = QString());
    // While the text shows something else than the date, a mouse press
    // anywhere outside the field first lets it take effect.
    void watchPresses();
    // What was typed takes effect; false when it was refused.
    bool commit();
    void refuse(const QString& text);
    // The text of the current date again, nothing typed.
    void showDay();

    // Where the last typed character left the cursor (-1: nowhere, the
    // user has moved it since), the part it was typing in (-1 for a date
    // typed as a whole) and the digits typed into that part.
    int m_cursor = -1;
    int m_part = -1;
    QString m_digits;
    bool m_calendarKept = false;
};
