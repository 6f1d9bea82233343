// The day bars of the signs and their read-outs.

#include "controls/action.h"
#include "controls/platform.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/rules/barlengths.h"
#include "main/draw/rules/readout.h"
#include "main/goals/rules/weightrules.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

namespace piece = pictures::balken;

const QRect& tubePiece(draw::BarId bar, bool over)
{
    switch (bar) {
    case draw::BarId::FoodEnergy:
        return over ? piece::kFoodTubeOver : piece::kFoodTube;
    case draw::BarId::ActivityEnergy:
        return piece::kActivityTube;
    case draw::BarId::Fat:
        return over ? piece::kFatTubeOver : piece::kHorizontalTube;
    default:
        return over ? piece::kNutrientTubeOver : piece::kHorizontalTube;
    }
}

bool vertical(draw::BarId bar)
{
    return bar == draw::BarId::FoodEnergy || bar == draw::BarId::ActivityEnergy;
}

} // namespace

diary::DayTotals TFormMain1::dayTotals() const
{
    return diary::storedTotals(Dbf_ZEB);
}

void TFormMain1::ZeichneBalken()
{
    diary::DayTotals totals;
    try {
        totals = dayTotals();
    } catch (const store::StoreError&) {
        // An unreadable day record shows empty troughs.
        totals = {};
    }
    const draw::GoalTexts goals{EditEnergie->text(), EditEnergieCal->text(), EditFett->text(),
                                EditProtein->text(), EditKohlenh->text()};
    const draw::DayBars bars = draw::dayBars(totals, goals, AnzeigeKcal);
    const std::pair<draw::BarId, const draw::Bar&> all[] = {{draw::BarId::ActivityEnergy, bars.activity},
                                                            {draw::BarId::FoodEnergy, bars.food},
                                                            {draw::BarId::Fat, bars.fat},
                                                            {draw::BarId::Protein, bars.protein},
                                                            {draw::BarId::Carbohydrate, bars.carbohydrate}};

    QPainter p(&ImageRechts1->canvas());
    for (const auto& [id, bar] : all) {
        const bool up = vertical(id);
        p.drawImage(draw::troughRect(id), ImageBalken,
                    up ? piece::kTroughVertical : piece::kTroughHorizontal);
        if (bar.length > 0)
            p.drawImage(draw::tubeRect(id, bar.length), ImageBalken, tubePiece(id, bar.overGoal));
        if (bar.goalMark > 0)
            p.drawImage(draw::goalMarkRect(id, bar.goalMark), ImageBalken,
                        up ? piece::kGoalMarkVertical : piece::kGoalMarkHorizontal);
    }
    p.end();
    ImageRechts1->repaintCanvas();
}

void TFormMain1::ImageRechts1MouseDown(Qt::MouseButton, QPoint point)
{
    const draw::HitArea area = draw::hitArea(point);
    QString text;
    if (area == draw::HitArea::BodyMassIndex) {
        text = goals::bmiText(EditTagesgewicht->text(), ComboBoxHoehe->currentIndex()).value_or(QString());
    } else if (area != draw::HitArea::None) {
        if (!platform::runAction(
                this, [this, area, &text] { text = draw::barReadout(area, dayTotals(), AnzeigeKcal); }))
            return;
    }
    if (text.isEmpty())
        return;
    StaticTextAnzeige->setText(text);
    StaticTextAnzeige->adjustSize();
    StaticTextAnzeige->move(draw::readoutPlace(point, StaticTextAnzeige->width(), PanelRechts1->width()));
    StaticTextAnzeige->raise();
}

void TFormMain1::ImageRechts1MouseUp(Qt::MouseButton, QPoint)
{
    StaticTextAnzeige->move(-100, StaticTextAnzeige->y());
}
