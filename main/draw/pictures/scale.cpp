#include "main/draw/pictures/scale.h"

#include "main/goals/rules/weightrules.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace pictures {
namespace {

constexpr int kTile = 45;
constexpr int kFace = 2 * kTile;
constexpr QPointF kCentre(kFace / 2.0, kFace / 2.0);
// The face's centre in the picture of the right-hand panel.
constexpr QPoint kHub(kScaleFace.x() + kFace / 2, kScaleFace.y() + kFace / 2);

// The needle tiles lie over the quarters of the face, so each quarter
// holds the readings of its tiles: 1 ... 3 in the lower left, 4 ... 7 the
// upper left, 8 ... 11 the upper right, 12 ... 15 the lower right. Each
// tile gets an equal share of its quarter and the face is marked to match.
// Angles are degrees clockwise from twelve o'clock.
struct Sector
{
    double from;
    double to;
};

Sector sectorOf(int tile)
{
    if (tile <= 3)
        return {225.0 + 15.0 * (tile - 1), 225.0 + 15.0 * tile};
    if (tile <= 7)
        return {270.0 + 22.5 * (tile - 4), 270.0 + 22.5 * (tile - 3)};
    if (tile <= 11)
        return {360.0 + 22.5 * (tile - 8), 360.0 + 22.5 * (tile - 7)};
    return {450.0 + 11.25 * (tile - 12), 450.0 + 11.25 * (tile - 11)};
}

constexpr double kRestAngle = 208.0;

double angleOfReading(double ratio)
{
    for (int tile = 1; tile <= 15; ++tile) {
        const goals::NeedleReadings r = goals::needleReadings(tile);
        if (ratio <= r.upper || tile == 15) {
            const Sector s = sectorOf(tile);
            const double t = std::clamp((ratio - r.lower) / (r.upper - r.lower), 0.0, 1.0);
            return s.from + t * (s.to - s.from);
        }
    }
    return kRestAngle;
}

double needleAngle(int tile)
{
    if (tile < 1 || tile > 15)
        return kRestAngle;
    const Sector s = sectorOf(tile);
    return (s.from + s.to) / 2;
}

QPointF polar(QPointF centre, double radius, double degrees)
{
    const double r = qDegreesToRadians(degrees);
    return {centre.x() + radius * std::sin(r), centre.y() - radius * std::cos(r)};
}

// QPainter counts arcs anticlockwise from three o'clock.
void drawBand(QPainter& p, double inner, double outer, double from, double to, const QColor& colour)
{
    QPainterPath band;
    const QRectF out(kCentre.x() - outer, kCentre.y() - outer, 2 * outer, 2 * outer);
    const QRectF in(kCentre.x() - inner, kCentre.y() - inner, 2 * inner, 2 * inner);
    band.arcMoveTo(out, 90.0 - from);
    band.arcTo(out, 90.0 - from, -(to - from));
    band.arcTo(in, 90.0 - to, to - from);
    band.closeSubpath();
    p.fillPath(band, colour);
}

struct ClassBand
{
    double from; // reading
    double to;
    QColor colour;
};

// The face is drawn again over itself at every reading: a half-transparent
// edge would darken with each drawing, so every pixel is either solid or
// clear.
QImage withSolidEdge(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qAlpha(c) >= 128 ? (c | 0xff000000u) : 0u;
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage transparent(int side, int ratio)
{
    QImage image(side * ratio, side * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

QImage drawFace(int ratio)
{
    QImage face = transparent(kFace, ratio);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);

    // Housing: a dark rim with a light edge.
    QLinearGradient rim(0, 0, kFace, kFace);
    rim.setColorAt(0, QColor(150, 155, 165));
    rim.setColorAt(0.5, QColor(70, 75, 85));
    rim.setColorAt(1, QColor(35, 38, 45));
    p.setPen(QPen(QColor(25, 25, 30), 1));
    p.setBrush(rim);
    p.drawEllipse(kCentre, 44.0, 44.0);

    // The dial behind glass.
    QRadialGradient dial(kCentre - QPointF(10, 12), 52);
    dial.setColorAt(0, QColor(255, 255, 252));
    dial.setColorAt(1, QColor(222, 224, 218));
    p.setPen(QPen(QColor(30, 30, 35), 1));
    p.setBrush(dial);
    p.drawEllipse(kCentre, 40.0, 40.0);

    // The class bands, from the start of the readings to their end, in the
    // colours of the classes from "mager" to "fett".
    const std::array<QColor, goals::kWeightClasses.size()> colours = {
        QColor(70, 120, 215), QColor(60, 185, 215), QColor(60, 170, 70), QColor(240, 160, 30),
        QColor(215, 45, 40)};
    std::vector<ClassBand> bands;
    for (size_t i = 0; i < colours.size(); ++i)
        bands.push_back({goals::kWeightClasses[i].from, goals::kWeightClasses[i].to, colours[i]});
    constexpr double kInner = 27.0;
    constexpr double kOuter = 37.5;
    for (const ClassBand& b : bands)
        drawBand(p, kInner, kOuter, angleOfReading(b.from), angleOfReading(b.to), b.colour);
    // A white parting between the classes.
    p.setPen(QPen(Qt::white, 1.2));
    for (const ClassBand& b : bands) {
        const double a = angleOfReading(b.from);
        p.drawLine(polar(kCentre, kInner, a), polar(kCentre, kOuter, a));
    }

    // A tick for each reading of the needle, inside the bands.
    p.setPen(QPen(QColor(45, 45, 50), 1.0, Qt::SolidLine, Qt::FlatCap));
    for (int tile = 1; tile <= 15; ++tile) {
        const double a = needleAngle(tile);
        p.drawLine(polar(kCentre, 22.5, a), polar(kCentre, 26.0, a));
    }
    // The stop of the needle at rest.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 65));
    p.drawEllipse(polar(kCentre, 33.0, kRestAngle - 7.0), 2.0, 2.0);

    // Glass: a soft highlight over the upper left.
    QRadialGradient glare(kCentre - QPointF(14, 16), 30);
    glare.setColorAt(0, QColor(255, 255, 255, 70));
    glare.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glare);
    p.drawEllipse(kCentre, 39.5, 39.5);
    p.end();
    return withSolidEdge(face);
}

QImage drawNeedle(int tile, int ratio)
{
    QImage image = transparent(kTile, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF pivot = QPointF(kHub - goals::needlePlace(tile));
    p.translate(pivot);
    p.rotate(needleAngle(tile));

    // Pointing up before the rotation: a long tip and a short tail.
    const QPolygonF needle{{0, -31.5}, {2.2, -2}, {1.6, 6.5}, {-1.6, 6.5}, {-2.2, -2}};
    p.setPen(QPen(QColor(110, 0, 0), 0.8));
    p.setBrush(QColor(215, 25, 25));
    p.drawPolygon(needle);

    p.resetTransform();
    QRadialGradient cap(pivot - QPointF(1.5, 1.5), 6);
    cap.setColorAt(0, QColor(190, 195, 205));
    cap.setColorAt(1, QColor(45, 48, 55));
    p.setPen(QPen(QColor(20, 20, 25), 0.8));
    p.setBrush(cap);
    p.drawEllipse(pivot, 4.5, 4.5);
    return image;
}

// The twenty tiles, and an empty one, at a ratio; each ratio is drawn once.
const std::array<QImage, 21>& tiles(int ratio)
{
    static std::map<int, std::array<QImage, 21>> drawn;
    auto found = drawn.find(ratio);
    if (found != drawn.end())
        return found->second;
    std::array<QImage, 21> t;
    for (int k = 0; k <= 15; ++k)
        t[k] = drawNeedle(k, ratio);
    const QImage face = drawFace(ratio);
    const int side = kTile * ratio;
    t[16] = face.copy(0, 0, side, side);
    t[17] = face.copy(side, 0, side, side);
    t[18] = face.copy(0, side, side, side);
    t[19] = face.copy(side, side, side, side);
    t[20] = transparent(kTile, ratio);
    return drawn.emplace(ratio, t).first->second;
}

} // namespace

const QImage& scaleTile(int index, int ratio)
{
    const auto& t = tiles(std::max(1, ratio));
    return index < 0 || index >= 20 ? t[20] : t[static_cast<size_t>(index)];
}

void drawScale(QPainter& painter, QPoint face, int needle, QPoint needlePlace)
{
    // The tiles of the ratio of the picture drawn on, so that they meet its
    // pixels one to one; at a fractional ratio those of the whole ratio
    // above it, reduced smoothly.
    const qreal shown = painter.device()->devicePixelRatio();
    const int ratio = static_cast<int>(std::ceil(shown - 1e-9));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != shown);
    painter.drawImage(face, scaleTile(16, ratio));
    painter.drawImage(face + QPoint(kTile, 0), scaleTile(17, ratio));
    painter.drawImage(face + QPoint(0, kTile), scaleTile(18, ratio));
    painter.drawImage(face + QPoint(kTile, kTile), scaleTile(19, ratio));
    painter.drawImage(needlePlace, scaleTile(needle, ratio));
    painter.restore();
}

} // namespace pictures
