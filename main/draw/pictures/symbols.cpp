#include "main/draw/pictures/symbols.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace symbols {
namespace {

QPixmap transparent(int width, int height, double ratio)
{
    QPixmap picture(static_cast<int>(std::ceil(width * ratio - 1e-9)), static_cast<int>(std::ceil(height * ratio - 1e-9)));
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

struct Labels
{
    const char* grams;
    const char* millilitres;
    const char* pieces;
};

// Labels of symbols 1 ... 11.
const Labels kLabels[12] = {
    {"", "", ""},
    {"500", "1,5 l", "10 St."},
    {"300", "1,0 l", "8 St."},
    {"250", "0,7 l", "6 St."},
    {"200", "0,5 l", "5 St."},
    {"150", "0,33 l", "4 St."},
    {"125", "0,25 l", "3 St."},
    {"100", "0,2 l", "2 St."},
    {"50 g", "0,1 l", "1 St."},
    {"25 g", "5 cl", "1/2"},
    {"10 g", "Esslöffel", "1/4"},
    {"5 g", "Teelöffel", "1/8"},
};

// Symbol sizes fall from the top symbol to the bottom one, so the column
// reads as a scale of amounts.
double sizeOf(int k)
{
    return 1.0 - (k - 1) * 0.045;
}

// The label in the lower band of a 30-pixel frame, narrowed to fit.
void drawLabel(QPainter& p, int left, const QString& text, const QColor& ink)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    const QRect band(left, 30, 30, 11);
    const int width = p.fontMetrics().horizontalAdvance(text);
    p.save();
    p.setPen(ink);
    if (width > 29) {
        const double scale = 29.0 / width;
        p.translate(left + 15, 0);
        p.scale(scale, 1);
        p.drawText(QRectF(-width / 2.0 - 1, 30, width + 2, 11), Qt::AlignCenter, text);
    } else {
        p.drawText(band, Qt::AlignCenter, text);
    }
    p.restore();
}

void drawWeight(QPainter& p, int left, int k)
{
    const double s = sizeOf(k);
    const double w = 24 * s;
    const double h = 18 * s;
    const double cx = left + 15;
    const double bottom = 28;
    // Handle ring on top of a cast weight.
    p.setPen(QPen(QColor(40, 40, 45), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx, bottom - h - 2.5), 3.2 * s + 1, 2.6 * s + 1);
    QPainterPath body;
    body.moveTo(cx - w / 2 + 3, bottom - h);
    body.lineTo(cx + w / 2 - 3, bottom - h);
    body.lineTo(cx + w / 2, bottom);
    body.lineTo(cx - w / 2, bottom);
    body.closeSubpath();
    QLinearGradient iron(cx - w / 2, 0, cx + w / 2, 0);
    iron.setColorAt(0, QColor(70, 72, 80));
    iron.setColorAt(0.45, QColor(150, 152, 160));
    iron.setColorAt(1, QColor(55, 57, 64));
    p.setPen(QPen(QColor(25, 25, 30), 1));
    p.setBrush(iron);
    p.drawPath(body);
}

void drawGlass(QPainter& p, int left, int k)
{
    const double s = sizeOf(k);
    const double cx = left + 15;
    const double bottom = 28;
    const double h = 25 * s;
    const double top = bottom - h;
    const double wTop = 16 * s;
    const double wBottom = 11 * s;
    QPainterPath glass;
    glass.moveTo(cx - wTop / 2, top);
    glass.lineTo(cx + wTop / 2, top);
    glass.lineTo(cx + wBottom / 2, bottom);
    glass.lineTo(cx - wBottom / 2, bottom);
    glass.closeSubpath();
    // Liquid up to two thirds.
    const double level = top + h / 3;
    const double t = (level - top) / h;
    const double wLevel = wTop + (wBottom - wTop) * t;
    QPainterPath liquid;
    liquid.moveTo(cx - wLevel / 2, level);
    liquid.lineTo(cx + wLevel / 2, level);
    liquid.lineTo(cx + wBottom / 2, bottom);
    liquid.lineTo(cx - wBottom / 2, bottom);
    liquid.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 240, 250));
    p.drawPath(glass);
    QLinearGradient water(cx - wTop / 2, 0, cx + wTop / 2, 0);
    water.setColorAt(0, QColor(40, 110, 210));
    water.setColorAt(0.5, QColor(110, 175, 240));
    water.setColorAt(1, QColor(40, 110, 210));
    p.setBrush(water);
    p.drawPath(liquid);
    p.setPen(QPen(QColor(60, 90, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);
    // A highlight on the glass.
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(cx - wTop / 2 + 2.5, top + 2), QPointF(cx - wBottom / 2 + 2, bottom - 3));
}

void drawApple(QPainter& p, int left, int k)
{
    const double s = sizeOf(k);
    const double cx = left + 15;
    const double cy = 28 - 11 * s;
    const double r = 10 * s;
    QRadialGradient skin(QPointF(cx - r / 3, cy - r / 3), r * 1.4);
    skin.setColorAt(0, QColor(255, 120, 100));
    skin.setColorAt(0.6, QColor(210, 30, 30));
    skin.setColorAt(1, QColor(130, 10, 10));
    QPainterPath apple;
    apple.addEllipse(QPointF(cx - r * 0.42, cy), r * 0.68, r * 0.95);
    apple.addEllipse(QPointF(cx + r * 0.42, cy), r * 0.68, r * 0.95);
    apple.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(110, 10, 10), 1));
    p.setBrush(skin);
    p.drawPath(apple.simplified());
    p.setPen(QPen(QColor(90, 60, 20), 1.5));
    p.drawLine(QPointF(cx, cy - r * 0.8), QPointF(cx + 1.5, cy - r * 1.25));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 160, 50));
    p.drawEllipse(QPointF(cx + 4 * s, cy - r * 1.1), 3 * s, 1.6 * s);
}

void drawCheese(QPainter& p, int left, int k)
{
    // A wedge, smaller for the smaller fractions.
    const double s = k == 9 ? 1.0 : k == 10 ? 0.9 : 0.8;
    const double cx = left + 15;
    const double bottom = 28;
    const double w = 24 * s;
    const double h = 16 * s;
    QPolygonF front{{cx - w / 2, bottom}, {cx + w / 2, bottom}, {cx + w / 2, bottom - h * 0.6}, {cx - w / 2, bottom - h * 0.6}};
    QPolygonF top{{cx - w / 2, bottom - h * 0.6}, {cx + w / 2, bottom - h * 0.6}, {cx + w / 2 - 3 * s, bottom - h}};
    p.setPen(QPen(QColor(150, 110, 10), 1));
    p.setBrush(QColor(250, 205, 60));
    p.drawPolygon(front);
    p.setBrush(QColor(255, 230, 120));
    p.drawPolygon(top);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(215, 165, 30));
    p.drawEllipse(QPointF(cx - w / 5, bottom - h * 0.3), 1.8 * s, 1.8 * s);
    p.drawEllipse(QPointF(cx + w / 4, bottom - h * 0.25), 1.3 * s, 1.3 * s);
}

void drawStopwatch(QPainter& p, int left, int minutes)
{
    const QPointF centre(left + 15, 17);
    const double r = 11;
    // Crown and button.
    p.setPen(QPen(QColor(40, 40, 45), 1));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(centre.x() - 2, 2.5, 4, 3));
    p.drawRect(QRectF(centre.x() + 7, 5, 3, 2.5));
    // Case and face.
    p.setBrush(QColor(60, 62, 70));
    p.drawEllipse(centre, r + 1.5, r + 1.5);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, r, r);
    // The minutes as a filled sector; several hours as a full dial in a
    // deeper colour.
    p.setPen(Qt::NoPen);
    const QColor fill = minutes > 60 ? QColor(200, 60, 40) : QColor(60, 150, 70);
    p.setBrush(fill);
    const int span = std::min(minutes, 60);
    if (span == 60)
        p.drawEllipse(centre, r - 1, r - 1);
    else
        p.drawPie(QRectF(centre.x() - r + 1, centre.y() - r + 1, 2 * r - 2, 2 * r - 2), 90 * 16, -span * 6 * 16);
    // Ticks every five minutes.
    p.setPen(QPen(QColor(40, 40, 45), 1));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double inner = i % 3 == 0 ? r - 3.5 : r - 2;
        p.drawLine(QPointF(centre.x() + inner * std::sin(a), centre.y() - inner * std::cos(a)),
                   QPointF(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a)));
    }
    p.drawLine(centre, QPointF(centre.x(), centre.y() - r + 3));
}

void drawSun(QPainter& p, int left)
{
    const QPointF centre(left + 15, 16);
    p.setPen(QPen(QColor(230, 140, 0), 1.6));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(QPointF(centre.x() + 8.5 * std::cos(a), centre.y() + 8.5 * std::sin(a)),
                   QPointF(centre.x() + 13 * std::cos(a), centre.y() + 13 * std::sin(a)));
    }
    QRadialGradient glow(centre, 8);
    glow.setColorAt(0, QColor(255, 245, 140));
    glow.setColorAt(1, QColor(250, 190, 20));
    p.setPen(QPen(QColor(220, 130, 0), 1));
    p.setBrush(glow);
    p.drawEllipse(centre, 7.5, 7.5);
}

} // namespace

QPixmap durationPicture(int k, const QColor& ink, double ratio)
{
    static const char* const kDurationLabels[12] = {"",   "180'", "120'", "60'",  "45'",  "30'",
                                                    "20'", "15'",  "10'",  "5min", "2min", "1min"};
    static const int kMinutes[12] = {0, 180, 120, 60, 45, 30, 20, 15, 10, 5, 2, 1};
    QPixmap picture = transparent(k == 1 ? 60 : 30, 41, ratio);
    if (k < 1 || k > 11)
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawStopwatch(p, 0, kMinutes[k]);
    drawLabel(p, 0, QString::fromLatin1(kDurationLabels[k]), ink);
    if (k == 1) {
        drawSun(p, 30);
        drawLabel(p, 30, QStringLiteral("24 h"), ink);
    }
    return picture;
}

QPixmap quantityStrip(int k, const QColor& ink, double ratio)
{
    QPixmap strip = transparent(90, 41, ratio);
    if (k < 1 || k > 11)
        return strip;
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawWeight(p, 0, k);
    drawGlass(p, 30, k);
    if (k <= 8)
        drawApple(p, 60, k);
    else
        drawCheese(p, 60, k);
    drawLabel(p, 0, QString::fromUtf8(kLabels[k].grams), ink);
    drawLabel(p, 30, QString::fromUtf8(kLabels[k].millilitres), ink);
    drawLabel(p, 60, QString::fromUtf8(kLabels[k].pieces), ink);
    return strip;
}

QPixmap bin(bool open, double ratio)
{
    QPixmap picture = transparent(32, 32, ratio);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient metal(6, 0, 26, 0);
    metal.setColorAt(0, QColor(120, 125, 135));
    metal.setColorAt(0.4, QColor(215, 220, 228));
    metal.setColorAt(1, QColor(100, 105, 115));
    // The can with its ribs.
    QPolygonF can{{7, 10}, {25, 10}, {23, 30}, {9, 30}};
    p.setPen(QPen(QColor(50, 55, 60), 1));
    p.setBrush(metal);
    p.drawPolygon(can);
    p.setPen(QPen(QColor(80, 85, 95), 1));
    for (double x : {12.0, 16.0, 20.0})
        p.drawLine(QPointF(x, 13), QPointF(x + (x - 16) * 0.1, 27));
    p.setPen(QPen(QColor(50, 55, 60), 1));
    p.setBrush(metal);
    if (!open) {
        p.drawRoundedRect(QRectF(5.5, 6.5, 21, 3.5), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 3.5, 5, 3), 1, 1);
    } else {
        // The dark inside and the lid raised and tilted back.
        p.setBrush(QColor(40, 40, 45));
        p.drawEllipse(QRectF(7, 8, 18, 4));
        p.save();
        p.translate(8, 7);
        p.rotate(-35);
        p.setBrush(metal);
        p.drawRoundedRect(QRectF(-1, -4, 21, 3.5), 1, 1);
        p.drawRoundedRect(QRectF(7, -7, 5, 3), 1, 1);
        p.restore();
    }
    return picture;
}

} // namespace symbols
