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

// The source pixels an output pixel of a reduction by `factor` covers,
// with the share of each.
struct Share
{
    int source;
    float weight;
};

std::vector<std::vector<Share>> shares(int sourceLength, int length, double factor)
{
    std::vector<std::vector<Share>> all(static_cast<size_t>(length));
    for (int o = 0; o < length; ++o) {
        const double from = o / factor;
        const double to = std::min<double>((o + 1) / factor, sourceLength);
        const double covered = to - from;
        for (int s = static_cast<int>(std::floor(from)); s < to; ++s) {
            const double part = std::min<double>(to, s + 1) - std::max<double>(from, s);
            if (part > 1e-9)
                all[static_cast<size_t>(o)].push_back({s, static_cast<float>(part / covered)});
        }
    }
    return all;
}

// `image` reduced by `factor` (below 1), each pixel the average of the part
// of the image it covers: a line keeps its share of colour wherever it
// falls on the screen's pixels. (Scaling to a whole size would stretch the
// picture by a fraction of a pixel, and filtering would blur it unevenly.)
QImage averagedDown(const QImage& image, double factor)
{
    const int width = static_cast<int>(std::ceil(image.width() * factor - 1e-9));
    const int height = static_cast<int>(std::ceil(image.height() * factor - 1e-9));
    const auto across = shares(image.width(), width, factor);
    const auto down = shares(image.height(), height, factor);
    std::vector<float> rows(static_cast<size_t>(image.height()) * width * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        float* out = &rows[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            float r = 0, g = 0, b = 0;
            for (const Share& s : across[static_cast<size_t>(x)]) {
                const QRgb c = line[s.source];
                r += s.weight * qRed(c);
                g += s.weight * qGreen(c);
                b += s.weight * qBlue(c);
            }
            out[3 * x] = r;
            out[3 * x + 1] = g;
            out[3 * x + 2] = b;
        }
    }
    QImage reduced(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int x = 0; x < width; ++x) {
            float c[3] = {0, 0, 0};
            for (const Share& s : down[static_cast<size_t>(y)]) {
                const float* in = &rows[(static_cast<size_t>(s.source) * width + x) * 3];
                for (int k = 0; k < 3; ++k)
                    c[k] += s.weight * in[k];
            }
            line[x] = qRgb(std::lround(c[0]), std::lround(c[1]), std::lround(c[2]));
        }
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
    if (event->type() == QEvent::ScreenChangeInternal)
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
