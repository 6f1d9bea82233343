#include "main/draw/picture.h"

#include <QMouseEvent>
#include <QPainter>

Picture::Picture(QWidget* parent, int x, int y, int width, int height)
    : QWidget(parent), m_canvas(width, height, QImage::Format_RGB32)
{
    setGeometry(x, y, width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_canvas.fill(palette().color(QPalette::Button));
}

void Picture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.drawImage(0, 0, m_canvas);
}

void Picture::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->position().toPoint());
}

void Picture::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->button(), event->position().toPoint());
}

ClickLabel::ClickLabel(QWidget* parent, int x, int y, int width, int height) : QLabel(parent)
{
    setGeometry(x, y, width, height);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}
