#pragma once

#include <QWidget>

// The help window: twelve fixed topics, one per tab. Closing hides it; it
// reopens on the tab last shown.
class THelpForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit THelpForm1(QWidget* parent = nullptr);
};
