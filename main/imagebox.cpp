#include "main/imagebox.h"

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent, const QRect& geometry)
    : QWidget(parent), m_canvas(geometry.size(), QImage::Format_ARGB32_Premultiplied)
{
    setGeometry(geometry);
    m_canvas.fill(palette().color(QPalette::Button));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}

void ImageBox::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->position().toPoint());
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(event->button(), event->position().toPoint());
}
