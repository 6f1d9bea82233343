#pragma once

#include "controls/rules/tabrows.h"

#include <QStringList>
#include <QWidget>

// A tab control whose tabs wrap into as many rows as its width needs, with a
// framed page below them on which child widgets are placed. As on desktop
// tab controls with several rows, the row of the selected tab moves next to
// the page and every row spans the full width; the caption under the mouse
// is highlighted (hot tracking).
//
// Keys while it has focus: Left and Right select the previous and next tab,
// Home and End the first and last. Ctrl+Tab and Ctrl+Shift+Tab anywhere in
// its window select the next and previous tab, wrapping round.
//
// Screen readers see a page tab list: one page tab per caption, the
// selected one marked, then the controls of the page.
class TabControl : public QWidget
{
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Replaces the tabs and selects the first one, without changed().
    void setTabs(const QStringList& captions);
    int count() const { return int(m_captions.size()); }
    QString tabText(int index) const { return m_captions.value(index); }

    // The selected tab, -1 when there are no tabs.
    int currentIndex() const { return m_current; }
    // Selects a tab as the program does: changed() is not emitted. An index
    // out of range is ignored.
    void setCurrentIndex(int index);
    // Selects a tab as the user does (a screen reader's press action):
    // changed() when it is another tab. An index out of range is ignored.
    void activate(int index);

    int rowCount() const { return m_layout.rows; }
    // Where a tab lies now, in the control's coordinates (the rows move when
    // the selection changes rows); empty for an index out of range.
    QRect tabRect(int index) const { return m_layout.tabs.value(index); }
    // The tab at a point, -1 when none.
    int tabAt(const QPoint& pos) const;
    // The tab under the mouse, -1 when none.
    int hotIndex() const { return m_hot; }
    // The framed page below the rows.
    QRect pageRect() const;

signals:
    // The user selected another tab, with the mouse or the keyboard.
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The interfaces for assistive tools (tabaccessible.cpp).
    static void installAccessibility();
    // Tells assistive tools that the selection moved from `previous`.
    void notifySelection(int previous);
    void relayout();
    void select(int index, bool byUser);
    void setHot(int index);
    int rowHeight() const;

    QStringList m_captions;
    help::TabRows m_layout;
    int m_current = -1;
    int m_hot = -1;
};
