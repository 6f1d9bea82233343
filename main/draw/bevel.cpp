#include "main/draw/bevel.h"

#include "main/draw/pixels.h"

#include <QPainter>

namespace bevel {
namespace {

// A raised frame of 12 × 10 with corners rounded by two pixels, whose four
// quadrants become the corner pieces: a black outline, a white highlight
// inside it on the top and left and a shadow inside it on the bottom and
// right.
QImage frameModel(const Colours& c)
{
    QImage m(12, 10, QImage::Format_RGB32);
    m.fill(c.face);
    QPainter p(&m);
    p.setPen(Qt::black);
    p.drawLine(2, 0, 9, 0);
    p.drawLine(2, 9, 9, 9);
    p.drawLine(0, 2, 0, 7);
    p.drawLine(11, 2, 11, 7);
    p.drawPoint(1, 1);
    p.drawPoint(10, 1);
    p.drawPoint(1, 8);
    p.drawPoint(10, 8);
    p.setPen(Qt::white);
    p.drawLine(2, 1, 9, 1);
    p.drawLine(1, 2, 1, 7);
    p.setPen(c.shadow);
    p.drawLine(2, 8, 9, 8);
    p.drawLine(10, 2, 10, 7);
    p.drawPoint(9, 7);
    return m;
}

// The left end of a folder tab, 6 × 22, rounded by three pixels, in the
// frame's colours.
QImage tabModel(const Colours& c)
{
    QImage m(6, 22, QImage::Format_RGB32);
    m.fill(c.face);
    QPainter p(&m);
    p.setPen(Qt::black);
    p.drawLine(3, 0, 5, 0);
    p.drawPoint(2, 1);
    p.drawPoint(1, 2);
    p.drawLine(0, 3, 0, 18);
    p.drawPoint(1, 19);
    p.drawPoint(2, 20);
    p.drawLine(3, 21, 5, 21);
    p.setPen(Qt::white);
    p.drawLine(3, 1, 5, 1);
    p.drawPoint(2, 2);
    p.drawLine(1, 3, 1, 18);
    p.setPen(c.shadow);
    p.drawPoint(2, 19);
    p.drawLine(3, 20, 5, 20);
    return m;
}

void stretch(QPainter& p, const QImage& sheet, const QRect& source, const QRect& target)
{
    if (target.width() > 0 && target.height() > 0)
        p.drawImage(target, sheet, source);
}

} // namespace

QImage drawSheet(const Colours& colours)
{
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(colours.face);
    QPainter p(&sheet);
    const QImage frame = frameModel(colours);
    p.drawImage(0, 0, frame, 0, 0, 6, 5);
    p.drawImage(0, 5, frame, 0, 5, 6, 5);
    p.drawImage(0, 10, frame, 6, 0, 6, 5);
    p.drawImage(0, 15, frame, 6, 5, 6, 5);
    p.drawImage(0, 20, tabModel(colours));
    return sheet;
}

void raisedFrame(QPainter& p, const QImage& sheet, const QRect& f)
{
    const int l = f.left(), t = f.top(), r = f.right(), b = f.bottom();
    p.drawImage(QPoint(l, t), sheet, QRect(0, 0, 6, 5));
    p.drawImage(QPoint(l, b - 4), sheet, QRect(0, 5, 6, 5));
    p.drawImage(QPoint(r - 5, t), sheet, QRect(0, 10, 6, 5));
    p.drawImage(QPoint(r - 5, b - 4), sheet, QRect(0, 15, 6, 5));
    stretch(p, sheet, QRect(4, 0, 1, 5), QRect(l + 6, t, r - l - 11, 5));
    stretch(p, sheet, QRect(4, 5, 1, 5), QRect(l + 6, b - 4, r - l - 11, 5));
    stretch(p, sheet, QRect(0, 3, 6, 1), QRect(l, t + 5, 6, b - t - 9));
    stretch(p, sheet, QRect(0, 14, 6, 1), QRect(r - 5, t + 5, 6, b - t - 9));
}

void tab(QPainter& p, const QImage& sheet, int left, int right, int firstRow, int lastRow)
{
    p.drawImage(QPoint(left, firstRow), sheet, QRect(0, 20, 6, 11));
    p.drawImage(QPoint(left, lastRow - 10), sheet, QRect(0, 31, 6, 11));
    stretch(p, sheet, QRect(5, 20, 1, 5), QRect(left + 6, firstRow, right - left - 5, 5));
    stretch(p, sheet, QRect(5, 37, 1, 5), QRect(left + 6, lastRow - 4, right - left - 5, 5));
    stretch(p, sheet, QRect(0, 30, 6, 1), QRect(left, firstRow + 11, 6, lastRow - firstRow - 21));
    p.fillRect(QRect(left + 6, firstRow + 5, right - left - 5, lastRow - firstRow - 9),
               sheet.pixelColor(5, 30));
}

void separator(QPainter& p, const QColor& shadow, QPoint from, QPoint to)
{
    draw::pixelLine(p, from, to, shadow);
    draw::pixelLine(p, from + QPoint(1, 1), to + QPoint(1, 1), Qt::white);
}

} // namespace bevel
