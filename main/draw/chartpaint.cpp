#include "main/draw/chartpaint.h"

#include "main/draw/pixels.h"

#include <QPainter>

namespace chart {
namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kFuchsia(0xFF, 0x00, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kPurple(0x80, 0x00, 0x80);

// A rectangle framed in `frame` and filled with white, covering exactly
// the pixels of `r`.
void box(QPainter& p, const QRect& r, const QColor& frame)
{
    p.fillRect(r, Qt::white);
    draw::pixelFrame(p, r, frame);
}

void text(QPainter& p, QPoint topLeft, const QString& s)
{
    p.drawText(QRect(topLeft, QSize(400, 20)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, s);
}

} // namespace

void paint(QPainter& p, const Chart& c, const QImage& sprite, bool printing)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    p.setFont(font);
    p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    p.setPen(Qt::black);

    for (const Copy& copy : c.background)
        p.drawImage(copy.target, sprite, pieceSource(copy.piece));
    for (int y : c.gridRows)
        draw::pixelLine(p, {0, y}, {kPlotRight - 1, y}, kSilver);
    for (const Copy& copy : c.data)
        p.drawImage(copy.target, sprite, pieceSource(copy.piece));

    for (int y : c.goalLines) {
        box(p, QRect(0, y, kPlotRight, 2), kFuchsia);
        draw::pixelLine(p, {0, y + 1}, {kPlotRight - 1, y + 1}, kRed);
        draw::pixelLine(p, {0, y + 2}, {kPlotRight - 1, y + 2}, kPurple);
    }

    p.setPen(Qt::black);
    for (const MonthBox& month : c.months) {
        box(p, month.box, Qt::black);
        p.save();
        p.setClipRect(month.clip);
        text(p, month.origin, month.text);
        p.restore();
    }

    // The value axis clears whatever data or labels reached past the plot.
    p.fillRect(QRect(QPoint(477, 0), QPoint(800, 486)), Qt::white);
    draw::pixelFrame(p, QRect(477, 0, 36, 487), Qt::black);
    draw::pixelLine(p, {0, 1}, {0, 486}, Qt::black);
    draw::pixelLine(p, {0, 0}, {kWidth - 1, 0}, Qt::black);
    for (int j = 1; j <= 24; ++j)
        draw::pixelLine(p, {477, 20 * j - 11}, {481, 20 * j - 11}, Qt::black);
    for (const Label& label : c.labels)
        text(p, label.origin, label.text);

    if (printing) {
        draw::pixelFrame(p, QRect(0, 0, 477, 18), Qt::black);
        text(p, QPoint(190, 2), c.caption);
    }
    p.restore();
}

} // namespace chart
