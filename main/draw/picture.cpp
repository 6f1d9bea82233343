#include "main/draw/picture.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The ratio a canvas is drawn at for a screen's device pixel ratio.
int canvasRatioFor(qreal devicePixelRatio)
{
    return std::max(1, static_cast<int>(std::ceil(devicePixelRatio - 1e-6)));
}

// The source pixels an output pixel of a reduction by `factor` covers, from
// `first` on, with the share of each. A canvas is drawn at the screen's
// ratio rounded up, so the factor is above 1/2 and a pixel covers parts of
// three source pixels at most.
struct Cover
{
    int first;
    float share[3];
};

std::vector<Cover> covers(int sourceLength, int length, double factor)
{
    std::vector<Cover> all(static_cast<size_t>(length));
    for (int o = 0; o < length; ++o) {
        const double from = o / factor;
        const double to = std::min<double>((o + 1) / factor, sourceLength);
        Cover& c = all[static_cast<size_t>(o)];
        c.first = static_cast<int>(std::floor(from));
        for (int k = 0; k < 3; ++k) {
            const int s = c.first + k;
            const double part = std::min<double>(to, s + 1) - std::max<double>(from, s);
            c.share[k] = s < sourceLength && part > 0 ? static_cast<float>(part / (to - from)) : 0.0f;
        }
    }
    return all;
}

// `image` reduced by `factor` (between 1/2 and 1), each pixel the average of
// the part of the image it covers: a line keeps its share of colour wherever
// it falls on the screen's pixels. (Scaling to a whole size would stretch
// the picture by a fraction of a pixel, and filtering would blur it
// unevenly.)
QImage averagedDown(const QImage& image, double factor)
{
    const int width = static_cast<int>(std::ceil(image.width() * factor - 1e-9));
    const int height = static_cast<int>(std::ceil(image.height() * factor - 1e-9));
    const std::vector<Cover> across = covers(image.width(), width, factor);
    const std::vector<Cover> down = covers(image.height(), height, factor);
    const int last = image.width() - 1;
    std::vector<float> rows(static_cast<size_t>(image.height()) * width * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        float* out = &rows[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            const Cover& c = across[static_cast<size_t>(x)];
            float r = 0, g = 0, b = 0;
            for (int k = 0; k < 3; ++k) {
                const QRgb p = line[std::min(c.first + k, last)];
                r += c.share[k] * qRed(p);
                g += c.share[k] * qGreen(p);
                b += c.share[k] * qBlue(p);
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }
    QImage reduced(width, height, QImage::Format_RGB32);
    std::vector<float> sum(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const Cover& c = down[static_cast<size_t>(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int k = 0; k < 3; ++k) {
            if (c.share[k] == 0)
                continue;
            const float* in = &rows[static_cast<size_t>(c.first + k) * width * 3];
            for (size_t i = 0; i < sum.size(); ++i)
                sum[i] += c.share[k] * in[i];
        }
        auto* line = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(int(sum[3 * x] + 0.5f), int(sum[3 * x + 1] + 0.5f), int(sum[3 * x + 2] + 0.5f));
    }
    return reduced;
}
} // namespace

Picture::Picture(QWidget* parent, int x, int y, int width, int height) : QWidget(parent)
{
    setGeometry(x, y, width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resetCanvas(palette().color(QPalette::Button));
}

int Picture::screenRatio() const
{
    return canvasRatioFor(devicePixelRatioF());
}

bool Picture::fitsScreen() const
{
    return qFuzzyCompare(m_madeFor, devicePixelRatioF());
}

void Picture::resetCanvas(const QColor& face)
{
    m_madeFor = devicePixelRatioF();
    const int ratio = screenRatio();
    m_canvas = QImage(width() * ratio, height() * ratio, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(face);
    m_ratioReported = false;
    repaintCanvas();
}

void Picture::repaintCanvas()
{
    m_shown = QImage();
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

void Picture::paintEvent(QPaintEvent* event)
{
    checkRatio();
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    if (qFuzzyCompare(ratio, m_canvas.devicePixelRatio())) {
        p.drawImage(0, 0, m_canvas);
        return;
    }
    if (m_shown.isNull() || !qFuzzyCompare(m_shown.devicePixelRatio(), ratio)) {
        m_shown = ratio < m_canvas.devicePixelRatio()
                      ? averagedDown(m_canvas, ratio / m_canvas.devicePixelRatio())
                      : m_canvas.scaled(m_canvas.size() * (ratio / m_canvas.devicePixelRatio()));
        m_shown.setDevicePixelRatio(ratio);
    }
    p.drawImage(0, 0, m_shown);
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
