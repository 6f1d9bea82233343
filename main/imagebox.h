#pragma once

#include <QImage>
#include <QWidget>

// A picture of the window with a drawing surface of its own size. What is
// drawn on the canvas stays until it is drawn over; update() shows it.
// Mouse presses and releases are reported with the button and the pixel
// position in the picture.
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    ImageBox(QWidget* parent, const QRect& geometry);

    // Filled with the window's button-face colour at first.
    QImage& canvas() { return m_canvas; }
    const QImage& canvas() const { return m_canvas; }

signals:
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseUp(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_canvas;
};
