#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

// A picture of the window, drawn by the program on its canvas and kept until
// it is drawn again; painting only shows it. Mouse presses and releases
// arrive with their button and the point in picture coordinates.
//
// The canvas is drawn at the device pixel ratio of the picture's screen,
// whole or fractional, so that its texts are as sharp as the window's own
// and its lines fall on whole device pixels (main/draw/pixels.h).
class Picture : public QWidget
{
    Q_OBJECT
public:
    // A picture of `width` × `height`, filled with the button face.
    Picture(QWidget* parent, int x, int y, int width, int height);

    // Drawn on in logical coordinates; its device pixel ratio is the
    // screen's it was made for.
    QImage& canvas() { return m_canvas; }
    const QImage& canvas() const { return m_canvas; }
    // Whether the canvas was made for the screen's device pixel ratio of now.
    bool fitsScreen() const;
    // A new canvas for the screen's ratio, filled with `face`; what was
    // drawn is gone.
    void resetCanvas(const QColor& face);
    // Shows what was drawn on the canvas since.
    void repaintCanvas();

signals:
    void mousePressed(Qt::MouseButton button, QPoint point);
    void mouseReleased(Qt::MouseButton button, QPoint point);
    // The picture's screen has another device pixel ratio than the canvas
    // was made for: the canvas wants drawing again. Until then it is shown
    // scaled.
    void ratioChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void checkRatio();

    QImage m_canvas;
    bool m_ratioReported = false;
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
