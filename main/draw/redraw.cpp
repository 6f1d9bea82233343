// The pictures of the window made again when the screen's pixel ratio or the
// palette changes: the picture lists and symbols at the new ratio and in inks
// readable on the new colours, and every drawing of the frame anew.

#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pictures/symbols.h"
#include "main/zeb6.h"

#include <QLabel>
#include <QToolButton>

void TFormMain1::makePictures()
{
    const qreal ratio = ImageLinks1->devicePixelRatioF();
    const pictures::Inks inks = pictures::inksOn(palette());
    ImageList100x30 = pictures::imageList100x30(inks, ratio);
    ImageList96x13 = pictures::imageList96x13(inks, ratio);
    ImageList45x45 = pictures::imageList45x45(inks, ratio);
    ImageBalken = pictures::balkenSprite();
    drawSymbols();
}

void TFormMain1::drawSymbols()
{
    // The labels are pictures of their own: drawn straight at the screen's
    // ratio, whole or fractional.
    const qreal ratio = devicePixelRatioF();
    // The booking panels show the window's colour.
    const QColor ink = pictures::inksOn(palette(), true).text(Qt::black);
    for (int k = 1; k <= 11; ++k) {
        ImageNDrag[k]->setPixmap(symbols::quantityStrip(k, ink, ratio));
        ImageFDrag[k]->setPixmap(symbols::durationPicture(k, ink, ratio));
    }
    ImageNEimerZu->setPixmap(symbols::bin(false, ratio));
    ImageNEimerAuf->setPixmap(symbols::bin(true, ratio));
    ImageFEimerZu->setPixmap(symbols::bin(false, ratio));
    ImageFEimerAuf->setPixmap(symbols::bin(true, ratio));
}

void TFormMain1::redrawPictures()
{
    // Children learn of a new palette after the window: its own is the one.
    for (Picture* picture : {ImageLinks1, ImageRechts0, ImageRechts1})
        picture->resetCanvas(palette().color(QPalette::Button));
    makePictures();
    ZeichneImage3DObjekte();
    ZeichneOrdner();
    drawSigns();
    ZeichneBalken();
    ZeichneWaage();
    drawChartForScreen();
}

void TFormMain1::followScreenRatio()
{
    if (!ImageLinks1->fitsScreen())
        redrawPictures();
    else
        drawChartForScreen();
}

void TFormMain1::drawChartForScreen()
{
    // The chart keeps its fixed colours: it is drawn again for a new ratio
    // only, and a stale chart when its folder is next brought to front.
    if (!ImageStatistik1->fitsScreen() && !StatistikVeraltet && !StartFehler)
        redrawChart();
}
