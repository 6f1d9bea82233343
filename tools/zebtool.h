#pragma once

#include <QWidget>

class TFormMain1;

// The tools window: the catalogue editor and the diary maintenance. It works
// on the main window's tables. Closing hides it.
class TToolForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TToolForm1(TFormMain1& main, QWidget* parent = nullptr);

private:
    TFormMain1& m_main;
};
