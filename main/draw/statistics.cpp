// The statistics folder: the chart of one series of the daily summary, its
// zoom, scroll and smoothing controls, and the read-out of a day's value.

#include "controls/action.h"
#include "controls/platform.h"
#include "main/draw/chartpaint.h"
#include "main/draw/drawnbutton.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/rules/chart.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>

namespace {

QToolButton* smallButton(QWidget* parent, int x, int y, QIcon (*glyph)(bool, const pictures::Inks&),
                         bool which, const QString& hint)
{
    auto* b = new DrawnButton(
        parent, [glyph, which](const QPalette& palette) { return glyph(which, pictures::inksOn(palette)); });
    b->setGeometry(x, y, 17, 17);
    b->setIconSize(QSize(13, 13));
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// Level 1: plus only; level 2: both; level 3: minus only.
void setZoomButtons(QToolButton* plus, QToolButton* minus, int level)
{
    plus->setEnabled(level < 3);
    minus->setEnabled(level > 1);
}

int level(int value)
{
    return std::clamp(value, 1, 3);
}

// The value of `series` (1 to 7) in a day record.
double valueOf(const store::RecordRef& day, int series)
{
    switch (series) {
    case 1:
        return day.fieldDouble("ZEBGEWICHT");
    case 2:
        return day.fieldDouble("ZEBENERGIE");
    case 3:
        return day.fieldDouble("ZEBFETT");
    case 4:
        return day.fieldDouble("ZEBPROTEIN");
    case 5:
        return day.fieldDouble("ZEBKOHLENH");
    case 6:
        return day.fieldDouble("ZEBFITNESS");
    default:
        return day.fieldDouble("ZEBFITNESS") - day.fieldDouble("ZEBENERGIE");
    }
}

} // namespace

void TFormMain1::buildStatistics()
{
    PanelStatistikBackground = new QFrame(PanelStatistik);
    PanelStatistikBackground->setGeometry(10, 10, 513, 505);
    PanelStatistikCaption = new QLabel(PanelStatistikBackground);
    PanelStatistikCaption->setGeometry(0, 0, 513, 18);
    PanelStatistikCaption->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelStatistikCaption->setAlignment(Qt::AlignCenter);
    PanelStatistikCaption->setAutoFillBackground(true);
    ImageStatistik1 = new Picture(PanelStatistikBackground, 0, 18, chart::kWidth, chart::kHeight);
    connect(ImageStatistik1, &Picture::mousePressed, this, &TFormMain1::ImageStatistik1MouseDown);
    connect(ImageStatistik1, &Picture::mouseReleased, this, &TFormMain1::ImageStatistik1MouseUp);
    connect(ImageStatistik1, &Picture::ratioChanged, this, &TFormMain1::followScreenRatio);

    StaticTextDatumAnzeige = readoutLabel(PanelStatistikBackground, QPoint(-100, -100));

    ScrollBarStatistikX = new QScrollBar(Qt::Horizontal, PanelStatistik);
    ScrollBarStatistikX->setGeometry(50, 520, 472, 17);
    ScrollBarStatistikX->setSingleStep(1);
    ScrollBarStatistikX->setPageStep(10);
    ScrollBarStatistikY = new QScrollBar(Qt::Vertical, PanelStatistik);
    ScrollBarStatistikY->setGeometry(527, 51, 17, 464);
    ScrollBarStatistikY->setRange(0, 100);
    ScrollBarStatistikY->setSingleStep(1);
    ScrollBarStatistikY->setPageStep(2);

    const auto zoom = pictures::zoomGlyph;
    const auto smoothing = pictures::smoothingGlyph;
    BitBtnZoomXPlus = smallButton(PanelStatistik, 10, 520, zoom, true, QStringLiteral("Vergrößern"));
    BitBtnZoomXMinus = smallButton(PanelStatistik, 29, 520, zoom, false, QStringLiteral("Verkleinern"));
    BitBtnZoomYPlus = smallButton(PanelStatistik, 527, 10, zoom, true, QStringLiteral("Vergrößern"));
    BitBtnZoomYMinus = smallButton(PanelStatistik, 527, 30, zoom, false, QStringLiteral("Verkleinern"));
    BitBtnGlaettenJa = smallButton(PanelStatistik, 527, 520, smoothing, true, QStringLiteral("Glätten ein"));
    BitBtnGlaettenNein =
        smallButton(PanelStatistik, 527, 520, smoothing, false, QStringLiteral("Glätten aus"));

    connect(ScrollBarStatistikX, &QScrollBar::valueChanged, this, &TFormMain1::ScrollBarStatistikXChange);
    connect(ScrollBarStatistikY, &QScrollBar::valueChanged, this, &TFormMain1::ScrollBarStatistikYChange);
    connect(BitBtnZoomXPlus, &QToolButton::clicked, this, [this] { BitBtnZoomXClick(true); });
    connect(BitBtnZoomXMinus, &QToolButton::clicked, this, [this] { BitBtnZoomXClick(false); });
    connect(BitBtnZoomYPlus, &QToolButton::clicked, this, [this] { BitBtnZoomYClick(true); });
    connect(BitBtnZoomYMinus, &QToolButton::clicked, this, [this] { BitBtnZoomYClick(false); });
    connect(BitBtnGlaettenJa, &QToolButton::clicked, this, [this] { BitBtnGlaettenClick(true); });
    connect(BitBtnGlaettenNein, &QToolButton::clicked, this, [this] { BitBtnGlaettenClick(false); });
    for (int k = 1; k <= 7; ++k)
        connect(SpeedButtonS[k], &QToolButton::clicked, this, [this, k] { ListeStatistikClick(k); });
}

void TFormMain1::startStatistics()
{
    // Levels outside 1 ... 3 (from a damaged settings record) are used as the
    // nearest level and kept as they are until a zoom button changes them.
    setZoomButtons(BitBtnZoomXPlus, BitBtnZoomXMinus, level(ZoomStufeX));
    ScrollBarStatistikX->blockSignals(true);
    ScrollBarStatistikX->setRange(0, Dbf_ZEB.recordCount() / 7);
    ScrollBarStatistikX->setValue(ScrollPosX[level(ZoomStufeX)]);
    ScrollBarStatistikX->blockSignals(false);
    ScrollBarStatistikY->blockSignals(true);
    ScrollBarStatistikY->setValue(ScrollPosY[level(ZoomStufeY[1])]);
    ScrollBarStatistikY->blockSignals(false);
    ZeichneStatistik(false);

    const bool smoothing = Glaetten == 1;
    BitBtnGlaettenJa->setEnabled(!smoothing);
    BitBtnGlaettenNein->setEnabled(smoothing);
    (smoothing ? BitBtnGlaettenNein : BitBtnGlaettenJa)->raise();
    const int series = shownSeries();
    SpeedButtonS[series]->setChecked(true);
    setZoomButtons(BitBtnZoomYPlus, BitBtnZoomYMinus, level(ZoomStufeY[series]));
    ScrollBarStatistikY->setVisible(series == 1);
}

int TFormMain1::shownSeries() const
{
    return StatistikArt >= 2 && StatistikArt <= 7 ? StatistikArt : 1;
}

double TFormMain1::seriesValue() const
{
    return valueOf(Dbf_ZEB.current(), shownSeries());
}

void TFormMain1::ZeichneStatistik(bool print, QPainter* printCanvas, QSize page)
{
    const int series = shownSeries();
    chart::Input in;
    in.series = series;
    in.zoomX = level(ZoomStufeX);
    in.zoomY = level(ZoomStufeY[series]);
    in.scrollY = ScrollBarStatistikY->value();
    in.kcal = AnzeigeKcal;
    in.smoothing = Glaetten == 1;
    in.start = chart::windowStart(ErstesDatum, ScrollBarStatistikX->value());
    in.desiredWeightItem = ComboBoxGewicht->currentIndex();
    const QLineEdit* goals[] = {nullptr,  nullptr,     AnzeigeKcal ? EditEnergieCal : EditEnergie,
                                EditFett, EditProtein, EditKohlenh,
                                nullptr,  nullptr};
    in.goalText = goals[series] ? goals[series]->text() : QString();

    // The window's days, one record a day, read without moving the day's
    // cursor.
    const int days = chart::windowDays(in.zoomX);
    in.values.reserve(days);
    for (const store::RecordRef& day : Dbf_ZEB.dayRecords(in.start, in.start.addDays(days - 1)))
        in.values.push_back(valueOf(day, series));

    const chart::Chart built = chart::build(in);
    if (print && printCanvas) {
        const int q = chart::printScale(page.width(), page.height());
        printCanvas->save();
        printCanvas->scale(q, q);
        chart::paint(*printCanvas, built, ImageBalken, true);
        printCanvas->restore();
    } else {
        PanelStatistikCaption->setText(built.caption);
        if (!ImageStatistik1->fitsScreen())
            ImageStatistik1->resetCanvas(Qt::white);
        QPainter p(&ImageStatistik1->canvas());
        chart::paint(p, built, ImageBalken, false);
        p.end();
        ImageStatistik1->repaintCanvas();
    }
    StatistikVeraltet = false;
}

void TFormMain1::redrawChart()
{
    platform::runAction(this, [this] { ZeichneStatistik(false); });
}

void TFormMain1::ListeStatistikClick(int series)
{
    StatistikArt = series;
    setZoomButtons(BitBtnZoomYPlus, BitBtnZoomYMinus, level(ZoomStufeY[series]));
    if (series == 1)
        ScrollBarStatistikY->setValue(ScrollPosY[level(ZoomStufeY[1])]);
    redrawChart();
    ScrollBarStatistikY->setVisible(series == 1);
}

void TFormMain1::BitBtnZoomXClick(bool plus)
{
    const int before = ScrollBarStatistikX->value();
    ZoomStufeX = level(level(ZoomStufeX) + (plus ? 1 : -1));
    ScrollBarStatistikX->setFocus();
    setZoomButtons(BitBtnZoomXPlus, BitBtnZoomXMinus, ZoomStufeX);
    ScrollBarStatistikX->setValue(ScrollPosX[ZoomStufeX]);
    if (ScrollBarStatistikX->value() == before)
        redrawChart();
}

void TFormMain1::BitBtnZoomYClick(bool plus)
{
    const int series = shownSeries();
    ZoomStufeY[series] = level(level(ZoomStufeY[series]) + (plus ? 1 : -1));
    setZoomButtons(BitBtnZoomYPlus, BitBtnZoomYMinus, ZoomStufeY[series]);
    if (series == 1 && ScrollBarStatistikY->value() != ScrollPosY[level(ZoomStufeY[1])])
        ScrollBarStatistikY->setValue(ScrollPosY[level(ZoomStufeY[1])]);
    else
        redrawChart();
}

void TFormMain1::ScrollBarStatistikXChange()
{
    if (isVisible())
        redrawChart();
    ScrollPosX[level(ZoomStufeX)] = ScrollBarStatistikX->value();
}

void TFormMain1::ScrollBarStatistikYChange()
{
    if (isVisible())
        redrawChart();
    ScrollPosY[level(ZoomStufeY[1])] = ScrollBarStatistikY->value();
}

void TFormMain1::BitBtnGlaettenClick(bool on)
{
    Glaetten = on ? 1 : 0;
    QToolButton* shown = on ? BitBtnGlaettenNein : BitBtnGlaettenJa;
    QToolButton* hidden = on ? BitBtnGlaettenJa : BitBtnGlaettenNein;
    shown->setEnabled(true);
    shown->raise();
    hidden->setEnabled(false);
    redrawChart();
}

void TFormMain1::ImageStatistik1MouseDown(Qt::MouseButton, QPoint point)
{
    if (!chart::readoutHit(point.x(), point.y()))
        return;
    const QDate start = chart::windowStart(ErstesDatum, ScrollBarStatistikX->value());
    const QDate day = chart::readoutDay(start, level(ZoomStufeX), point.x());
    double value = 0;
    const bool read = platform::runAction(this, [this, day, &value] {
        const std::vector<store::RecordRef> records = Dbf_ZEB.dayRecords(day);
        if (!records.empty())
            value = valueOf(records.front(), shownSeries());
    });
    if (!read)
        return;
    const QString text = chart::readoutText(shownSeries(), value, AnzeigeKcal, day);
    if (text.isEmpty())
        return;
    StaticTextDatumAnzeige->setText(text);
    StaticTextDatumAnzeige->adjustSize();
    StaticTextDatumAnzeige->move(chart::readoutPlace(point.x(), point.y()));
    StaticTextDatumAnzeige->raise();
}

void TFormMain1::ImageStatistik1MouseUp(Qt::MouseButton, QPoint)
{
    StaticTextDatumAnzeige->move(StaticTextDatumAnzeige->x(), -100);
}
