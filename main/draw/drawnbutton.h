#pragma once

#include <QColor>
#include <QToolButton>

#include <functional>

// A tool button whose icon is drawn for its palette, and drawn again
// whenever the palette changes.
class DrawnButton : public QToolButton
{
    Q_OBJECT
public:
    using IconMaker = std::function<QIcon(const QPalette&)>;
    DrawnButton(QWidget* parent, IconMaker icon);

protected:
    void changeEvent(QEvent* event) override;

private:
    IconMaker m_icon;
};

// A flat button of a side-bar group that shows its word as a picture. Down
// (checked), it draws itself: a tint of the palette's highlight with an edge
// in it, so that the choice of the group shows under every style and palette.
class WordButton : public DrawnButton
{
    Q_OBJECT
public:
    WordButton(QWidget* parent, const QString& word);

    // The tint and edge of a checked word button on `palette`.
    static QColor downFill(const QPalette& palette);
    static QColor downEdge(const QPalette& palette);

protected:
    void paintEvent(QPaintEvent* event) override;
};
