// The drawn frame of the main window: the pictures and click labels of the
// left strip, the side-bar groups of the notes and statistics folders, and
// the folder tabs with the switching between folders.

#include "controls/platform.h"
#include "main/draw/bevel.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pixels.h"
#include "main/draw/rules/tablayout.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace {

const char* const kNoteWords[] = {"Schreiben", "Suchen"};
const char* const kSeriesWords[] = {"Gewicht",      "Nahrung",   "Fett",         "Protein",
                                    "Kohlenhydrat", "Aktivität", "Energiebilanz"};

} // namespace

void TFormMain1::buildDrawing()
{
    // The folders are framed by the drawn pictures around them, and the open
    // tab runs into its folder without a seam.
    for (QFrame* folder : {PanelZiele, PanelNotiz, PanelNahrung, PanelFitness, PanelStatistik})
        folder->setFrameStyle(QFrame::NoFrame);

    ImageLinks1 = new Picture(PanelLinks1, 0, 0, 112, 554);
    ImageLinks1->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImageLinks1->lower();

    PanelOrdnerNotiz = new QFrame(PanelLinks1);
    PanelOrdnerNotiz->setGeometry(11, 127, 100, 39);
    PanelOrdnerNotiz->hide();
    auto* noteGroup = new QButtonGroup(this);
    for (int k = 1; k <= 2; ++k)
        SpeedButtonT[k] = wordButton(PanelOrdnerNotiz, 3 + 18 * (k - 1), kNoteWords[k - 1], noteGroup);
    SpeedButtonT[1]->setChecked(true);
    connect(SpeedButtonT[1], &QToolButton::clicked, this, [this] { ListeNotizClick(true); });
    connect(SpeedButtonT[2], &QToolButton::clicked, this, [this] { ListeNotizClick(false); });

    PanelOrdnerStatistik = new QFrame(PanelLinks1);
    PanelOrdnerStatistik->setGeometry(9, 247, 100, 126);
    PanelOrdnerStatistik->hide();
    auto* seriesGroup = new QButtonGroup(this);
    for (int k = 1; k <= 7; ++k)
        SpeedButtonS[k] =
            wordButton(PanelOrdnerStatistik, 1 + 18 * (k - 1), kSeriesWords[k - 1], seriesGroup);
    SpeedButtonS[1]->setChecked(true);

    const auto places = draw::tabPlaces(1);
    for (int k = 1; k <= 5; ++k) {
        LabelOrdner[k] = new ClickLabel(PanelLinks1, draw::kTabLabelX, places[k - 1].labelTop,
                                        draw::kTabLabelWidth, draw::kTabLabelHeight);
        connect(LabelOrdner[k], &ClickLabel::clicked, this, [this, k] { LabelOrdnerClick(k); });
    }
    // The category groups lie over the click labels where they meet.
    for (QFrame* group : {PanelOrdnerNotiz, PanelOrdnerNahrung, PanelOrdnerAktiv, PanelOrdnerStatistik})
        group->raise();

    ImageRechts0 = new Picture(PanelRechts1, 0, 0, 8, 554);
    ImageRechts0->lower();
    ImageRechts1 = new Picture(PanelRechts1, 8, 0, 107, 473);
    ImageRechts1->lower();
    connect(ImageRechts1, &Picture::mousePressed, this, &TFormMain1::ImageRechts1MouseDown);
    connect(ImageRechts1, &Picture::mouseReleased, this, &TFormMain1::ImageRechts1MouseUp);

    StaticTextAnzeige = readoutLabel(PanelRechts1, QPoint(-100, 0));

    for (Picture* picture : {ImageLinks1, ImageRechts0, ImageRechts1})
        connect(picture, &Picture::ratioChanged, this, &TFormMain1::followScreenRatio);
    makePictures();
}

void TFormMain1::ZeichneImage3DObjekte()
{
    Image3DObjekte = bevel::drawSheet({palette().color(QPalette::Button), palette().color(QPalette::Dark)});
}

void TFormMain1::ZeichneOrdner()
{
    const int open = AktuellerOrdner;
    PanelOrdnerNotiz->setVisible(open == 2);
    PanelOrdnerNahrung->setVisible(open == 3);
    PanelOrdnerAktiv->setVisible(open == 4);
    PanelOrdnerStatistik->setVisible(open == 5);

    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);
    const auto places = draw::tabPlaces(open);
    const draw::RowSpan span = draw::openTabRows(open);

    QPainter p(&ImageLinks1->canvas());
    p.fillRect(QRect(0, 51, 112, 503), face);

    for (int k = 1; k <= 5; ++k) {
        if (k == open)
            continue;
        const draw::RowSpan rows = draw::closedTabRows(open, k);
        bevel::tab(p, Image3DObjekte, 3, 108, rows.first, rows.last);
    }

    // The open tab belongs to the folder: it reaches into the content area,
    // and the divider leaves its rows free.
    bevel::tab(p, Image3DObjekte, 3, 111, span.first, span.last);
    using draw::pixelLine;
    pixelLine(p, {5, span.last}, {109, span.last}, shadow);
    pixelLine(p, {6, span.last + 1}, {109, span.last + 1}, Qt::black);
    pixelLine(p, {109, 5}, {109, span.first}, Qt::black);
    pixelLine(p, {109, span.last + 1}, {109, 548}, Qt::black);
    pixelLine(p, {110, 5}, {110, span.first}, Qt::white);
    pixelLine(p, {111, 5}, {111, span.first}, Qt::white);
    pixelLine(p, {110, span.last}, {110, 548}, Qt::white);
    pixelLine(p, {111, span.last}, {111, 548}, Qt::white);
    // The divider rounds off into the top edge line of the folders.
    draw::pixelPoints(p, {{109, 4}, {109, 3}, {110, 2}, {111, 1}}, Qt::black);
    draw::pixelPoints(p, {{110, 3}, {110, 4}, {111, 2}, {111, 3}, {111, 4}}, Qt::white);

    p.end();

    // Closed tabs are a shade darker: they lie behind the open folder.
    QImage& canvas = ImageLinks1->canvas();
    const QRgb behind = face.darker(106).rgb();
    for (int k = 1; k <= 5; ++k) {
        if (k == open)
            continue;
        const draw::RowSpan rows = draw::closedTabRows(open, k);
        const QRect tab =
            draw::deviceRect(QRect(QPoint(3, rows.first), QPoint(108, rows.last)), canvas.devicePixelRatio());
        for (int y = tab.top(); y <= tab.bottom(); ++y) {
            for (int x = tab.left(); x <= tab.right(); ++x) {
                if (canvas.pixel(x, y) == face.rgb())
                    canvas.setPixel(x, y, behind);
            }
        }
    }

    p.begin(&canvas);
    for (int k = 1; k <= 5; ++k)
        ImageList100x30.draw(p, draw::kTabPictureX, places[k - 1].pictureTop, k - 1);
    p.end();
    ImageLinks1->repaintCanvas();

    for (int k = 3; k <= 5; ++k)
        LabelOrdner[k]->move(draw::kTabLabelX, places[k - 1].labelTop);
    // The edge pictures and the right-hand panel overlap the content panels
    // by a row or a column: they stay above whichever folder is in front,
    // and the right-hand panel above the edge pictures, whose ends it draws
    // itself (ImageRechts0).
    ImageOben1->raise();
    ImageUnten1->raise();
    PanelRechts1->raise();
}

void TFormMain1::LabelOrdnerClick(int folder)
{
    if (folder != AktuellerOrdner) {
        AktuellerOrdner = folder;
        bringFolderToFront(folder);
    }
    ZeichneOrdner();
    if (folder == 5 && StatistikVeraltet) {
        repaint();
        redrawChart();
    }
}
