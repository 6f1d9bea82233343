#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

// A picture of the window, drawn by the program on its canvas and kept until
// it is drawn again; painting only shows it. Mouse presses and releases
// arrive with their button and the point in picture coordinates.
class Picture : public QWidget
{
    Q_OBJECT
public:
    // A picture of `width` × `height`, filled with the button face.
    Picture(QWidget* parent, int x, int y, int width, int height);

    QImage& canvas() { return m_canvas; }
    const QImage& canvas() const { return m_canvas; }
    // Shows what was drawn on the canvas since.
    void repaintCanvas() { update(); }

signals:
    void mousePressed(Qt::MouseButton button, QPoint point);
    void mouseReleased(Qt::MouseButton button, QPoint point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_canvas;
};

// A transparent label without text that reports a click: a press and a
// release of the left button inside it.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    ClickLabel(QWidget* parent, int x, int y, int width, int height);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};
