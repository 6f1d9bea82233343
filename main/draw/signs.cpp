// The signs of the right-hand picture, the caption strip of the left one and
// the edge pictures around the folders.

#include "main/draw/bevel.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pixels.h"
#include "main/zeb6.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

// A picture for an edge label, at its screen's ratio.
QPixmap edgePicture(const QLabel& label, const QColor& fill)
{
    const qreal ratio = label.devicePixelRatioF();
    QPixmap picture(label.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(fill);
    return picture;
}

} // namespace

void TFormMain1::ZeichneSchilder()
{
    drawSigns();
    showGoalUnits();
    ZeichneBalken();
    ZeichneWaage();
}

void TFormMain1::drawSigns()
{
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);

    {
        // The divider of the folder strip (x 109 ... 111) is left to
        // ZeichneOrdner.
        QPainter p(&ImageLinks1->canvas());
        p.fillRect(QRect(0, 0, 109, 51), face);
        bevel::raisedFrame(p, Image3DObjekte, QRect(QPoint(2, 1), QPoint(105, 50)));
        ImageList96x13.draw(p, 7, 6, 0);
    }
    ImageLinks1->repaintCanvas();

    {
        // The right edge of the folders, with the ends of the top line and
        // of the bottom band where they reach under the right-hand panel.
        QPainter p(&ImageRechts0->canvas());
        p.fillRect(ImageRechts0->canvas().rect(), face);
        draw::pixelLine(p, {0, 3}, {0, 548}, shadow);
        draw::pixelLine(p, {0, 1}, {0, 2}, Qt::white);
        draw::pixelLine(p, {0, 0}, {1, 0}, Qt::black);
        draw::pixelLine(p, {1, 0}, {1, 548}, Qt::black);
        p.fillRect(QRect(0, 549, 4, 5), shadow);
        draw::pixelLine(p, {0, 551}, {3, 551}, Qt::black);
    }
    ImageRechts0->repaintCanvas();

    {
        QPainter p(&ImageRechts1->canvas());
        p.fillRect(ImageRechts1->canvas().rect(), face);
        const int left = 1, right = 105;
        for (const auto& [top, bottom] : {std::pair{1, 148}, {151, 312}, {315, 470}})
            bevel::raisedFrame(p, Image3DObjekte, QRect(QPoint(left, top), QPoint(right, bottom)));
        auto across = [&](int row) { bevel::separator(p, shadow, {left + 2, row}, {right - 3, row}); };

        // Weight: the day's weight field lies between the two separators,
        // the scale below them.
        ImageList96x13.draw(p, 10, 5, 1);
        across(20);
        across(47);

        // Energy: food on the left, activities on the right.
        ImageList96x13.draw(p, 10, 156, 8);
        across(170);
        bevel::separator(p, shadow, {52, 171}, {52, 307});
        ImageList96x13.draw(p, 10, 174, 2);
        ImageList96x13.draw(p, 10, 186, 3);
        const int tube = AnzeigeKcal ? 22 : 20;
        for (int x : {6, 58}) {
            ImageList45x45.draw(p, x, 202, tube);
            ImageList45x45.draw(p, x, 247, tube + 1);
        }
        if (AnzeigeKcal)
            ImageList96x13.draw(p, 3, 292, 6);
        else
            ImageList96x13.draw(p, 5, 292, 7);

        // Nutrients: fat, protein, carbohydrate.
        const struct
        {
            int caption, top, frame, scaleTop, scale;
        } blocks[] = {{9, 319, 326, 351, 4}, {10, 368, 375, 400, 4}, {11, 418, 427, 452, 5}};
        for (const auto& b : blocks) {
            ImageList96x13.draw(p, 10, b.top, b.caption);
            ImageList100x30.draw(p, 10, b.frame, 5);
            ImageList96x13.draw(p, 8, b.scaleTop, b.scale);
        }
        across(364);
        across(413);
    }
    ImageRechts1->repaintCanvas();

    QPixmap top = edgePicture(*ImageOben1, Qt::white);
    QPainter(&top).fillRect(QRect(0, 0, ImageOben1->width(), 1), Qt::black);
    ImageOben1->setPixmap(top);

    QPixmap bottom = edgePicture(*ImageUnten1, shadow);
    QPainter(&bottom).fillRect(QRect(0, 2, ImageUnten1->width(), 1), Qt::black);
    ImageUnten1->setPixmap(bottom);
}
