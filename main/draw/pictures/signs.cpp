// The captions, column heads, unit labels and scales of the signs, the
// energy tube frames and the words of the side-bar category buttons.

#include "diary/rules/numbers.h"
#include "main/draw/pictures/drawing.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pixels.h"

#include <QPainter>

#include <cmath>

namespace pictures {
namespace {

using detail::drawText;

QImage caption(const char* word, const Inks& inks, double ratio)
{
    QImage image = detail::blank(96, 13, ratio);
    QPainter p(&image);
    drawText(p, QRect(0, 0, 96, 13), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(word),
             inks.caption(), 11, true);
    return image;
}

// One line of the column heads: the food word over the food column, the
// activity word over the activity column.
QImage heads(const char* food, const char* activity, const Inks& inks, double ratio)
{
    QImage image = detail::blank(96, 13, ratio);
    QPainter p(&image);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    drawText(p, QRect(0, 0, 42, 13), flags, QString::fromUtf8(food), inks.body(), 11, true);
    drawText(p, QRect(50, 0, 46, 13), flags, QString::fromUtf8(activity), inks.body(), 11, true);
    return image;
}

// Labels centred under the marks of the horizontal tube frame, the unit
// after the last one.
QImage gramScale(const char* const (&labels)[4], const Inks& inks, double ratio)
{
    QImage image = detail::blank(96, 13, ratio);
    QPainter p(&image);
    for (int i = 0; i < 4; ++i) {
        const int centre = 5 + 20 * i;
        drawText(p, QRect(centre - 12, 0, 25, 13), Qt::AlignHCenter | Qt::AlignVCenter,
                 QString::fromUtf8(labels[i]), inks.scale(), 9, false);
    }
    drawText(p, QRect(84, 0, 12, 13), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("g"), inks.scale(),
             9, false);
    return image;
}

QImage unitUnderColumns(const char* unit, int foodCentre, const Inks& inks, double ratio)
{
    QImage image = detail::blank(96, 13, ratio);
    QPainter p(&image);
    for (int centre : {foodCentre, foodCentre + 52})
        drawText(p, QRect(centre - 20, 0, 40, 13), Qt::AlignHCenter | Qt::AlignVCenter,
                 QString::fromUtf8(unit), inks.scale(), 10, true);
    return image;
}

// A vertical tube frame in one piece, 45 × 90, later cut into its halves:
// the sunken frame one pixel around the trough (x 3 ... 11, rows 2 ... 86),
// marks to its right, longer and labelled at the `labelled` units.
QImage energyTubeFrame(const std::vector<int>& marks, const std::vector<std::pair<int, QString>>& labelled,
                       const Inks& inks, double ratio)
{
    QImage image = detail::blank(45, 90, ratio);
    QPainter p(&image);
    const QRect trough(3, 2, 9, 85);
    const int bottom = trough.bottom() + 1; // the row of zero units
    using draw::pixelLine;
    const QColor shadow(0x80, 0x80, 0x80);
    pixelLine(p, {trough.left() - 1, trough.top() - 1}, {trough.right() + 1, trough.top() - 1}, shadow);
    pixelLine(p, {trough.left() - 1, trough.top() - 1}, {trough.left() - 1, bottom}, shadow);
    pixelLine(p, {trough.left(), bottom}, {trough.right() + 1, bottom}, Qt::white);
    pixelLine(p, {trough.right() + 1, trough.top()}, {trough.right() + 1, bottom}, Qt::white);
    for (int unit : marks)
        pixelLine(p, {14, bottom - unit}, {15, bottom - unit}, inks.scale());
    for (const auto& [unit, text] : labelled) {
        pixelLine(p, {14, bottom - unit}, {17, bottom - unit}, inks.scale());
        drawText(p, QRect(19, bottom - unit - 6, 26, 13), Qt::AlignLeft | Qt::AlignVCenter, text,
                 inks.scale(), 9, false);
    }
    return image;
}

void addHalves(ImageList& list, int upper, const QImage& whole)
{
    const double ratio = whole.devicePixelRatio();
    const int side = static_cast<int>(std::lround(45 * ratio));
    list.set(upper, whole.copy(0, 0, side, side));
    list.set(upper + 1, whole.copy(0, side, side, whole.height() - side));
}

} // namespace

ImageList imageList96x13(const Inks& inks, double ratio)
{
    ImageList list(QSize(96, 13), ratio);
    list.set(0, caption("Tagesdatum", inks, ratio));
    list.set(1, caption("Tagesgewicht", inks, ratio));
    list.set(2, heads("Nah-", "Akti-", inks, ratio));
    list.set(3, heads("rung", "vität", inks, ratio));
    list.set(4, gramScale({"0", "50", "100", "150"}, inks, ratio));
    list.set(5, gramScale({"0", "200", "400", "600"}, inks, ratio));
    list.set(6, unitUnderColumns("kcal", 23, inks, ratio));
    list.set(7, unitUnderColumns("MJ", 21, inks, ratio));
    list.set(8, caption("Energiebilanz", inks, ratio));
    list.set(9, caption("Fett", inks, ratio));
    list.set(10, caption("Protein", inks, ratio));
    list.set(11, caption("Kohlenhydrat", inks, ratio));
    return list;
}

ImageList imageList45x45(const Inks& inks, double ratio)
{
    ImageList list(QSize(45, 45), ratio);
    // 250 kJ per unit: a mark every 2,5 MJ, labels every 5 MJ.
    std::vector<int> mj;
    std::vector<std::pair<int, QString>> mjLabels;
    for (int unit = 10; unit <= 80; unit += 10) {
        if (unit % 20 == 0)
            mjLabels.emplace_back(unit, QString::number(unit / 4));
        else
            mj.push_back(unit);
    }
    addHalves(list, 20, energyTubeFrame(mj, mjLabels, inks, ratio));

    // The same tube in kcal: a mark every 500 kcal, labels every 1000.
    std::vector<int> kcal;
    std::vector<std::pair<int, QString>> kcalLabels;
    for (int hundreds = 5; hundreds <= 50; hundreds += 5) {
        const int unit = static_cast<int>(
            std::lround(hundreds * 100.0 * units::kKjPerKcalNumerator / units::kKjPerKcalDenominator / 250));
        if (hundreds % 10 == 0)
            kcalLabels.emplace_back(unit, QString::number(hundreds * 100));
        else
            kcal.push_back(unit);
    }
    addHalves(list, 22, energyTubeFrame(kcal, kcalLabels, inks, ratio));
    return list;
}

QIcon categoryWord(const QString& word, const QColor& ink)
{
    return drawnIcon(QSize(86, 13), [word, ink](QPainter& p) {
        drawText(p, QRect(2, 0, 84, 13), Qt::AlignLeft | Qt::AlignVCenter, word, ink, 11, true);
    });
}

} // namespace pictures
