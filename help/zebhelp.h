#pragma once

#include "diary/rules/diary.h"

#include <QWidget>

class QPushButton;
class QTextEdit;
class TabControl;

// The help window: twelve fixed topics in German, one per tab, shown as
// read-only text with bold headings. The topic texts are data
// (help/topics/topicNN.txt for tab NN, built into the program as resources);
// the tab captions are the window's own.
//
// Closing hides the window; shown again, it keeps the tab and the text it
// showed last.
class THelpForm1 : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TopicCount = 12;

    // Builds the window and runs FormCreate.
    explicit THelpForm1(QWidget* parent = nullptr);

    // ----- controls -----
    TabControl* TabControlHilfe = nullptr;
    QTextEdit* RichEditHelp1 = nullptr; // on the page of TabControlHilfe
    QPushButton* ButtonHilfeClose = nullptr;

    // ----- handlers -----
    // Builds the topic of the selected tab (tab 0 after construction).
    void FormCreate();
    // The user selected another tab: builds its topic from the start.
    void TabControlHilfeChange();
    // Hides the window.
    void ButtonHilfeCloseClick();

    // The topics name the days of the diary `range` (the main window's);
    // the topic shown is built anew.
    void showDiaryRange(const diary::Range* range);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTopic(int index);

    const diary::Range* m_range = nullptr;
};
