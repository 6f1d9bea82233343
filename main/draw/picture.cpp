#include "main/draw/picture.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

Picture::Picture(QWidget* parent, int x, int y, int width, int height) : QWidget(parent)
{
    setGeometry(x, y, width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resetCanvas(palette().color(QPalette::Button));
}

bool Picture::fitsScreen() const
{
    return qFuzzyCompare(m_canvas.devicePixelRatio(), devicePixelRatioF());
}

void Picture::resetCanvas(const QColor& face)
{
    const qreal ratio = devicePixelRatioF();
    m_canvas = QImage(static_cast<int>(std::ceil(width() * ratio - 1e-9)),
                      static_cast<int>(std::ceil(height() * ratio - 1e-9)), QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(face);
    m_ratioReported = false;
    repaintCanvas();
}

void Picture::repaintCanvas()
{
    update();
}

void Picture::checkRatio()
{
    if (fitsScreen() || m_ratioReported)
        return;
    m_ratioReported = true;
    // Not from within painting: the owner draws the canvas anew.
    QMetaObject::invokeMethod(this, &Picture::ratioChanged, Qt::QueuedConnection);
}

bool Picture::event(QEvent* event)
{
    // Later Qt versions also say when the ratio of the same screen changes;
    // painting checks it in any case.
    bool newRatio = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    newRatio = newRatio || event->type() == QEvent::DevicePixelRatioChange;
#endif
    if (newRatio)
        checkRatio();
    return QWidget::event(event);
}

void Picture::paintEvent(QPaintEvent*)
{
    checkRatio();
    QPainter p(this);
    // Until it is drawn again for a new screen, the canvas is shown scaled.
    p.setRenderHint(QPainter::SmoothPixmapTransform, !fitsScreen());
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
