#include "main/rules/spoken.h"

#include "diary/rules/numbers.h"
#include "main/diary/rules/bookingpanel.h"
#include "main/draw/rules/chart.h"
#include "main/draw/rules/readout.h"
#include "main/goals/rules/weightrules.h"

#include <QStringList>

namespace spoken {
namespace {

// One bar: its caption, the read-out of its value and, where it has a goal,
// the goal with the comparison the bar's colour makes.
QString barText(const char* caption, draw::HitArea area, const diary::DayTotals& totals, bool kcal,
                const draw::Bar* bar, const QString& goalText, const QString& goalUnit)
{
    QString text = QString::fromUtf8(caption) + u' ' + draw::barReadout(area, totals, kcal).trimmed();
    if (!bar)
        return text;
    qint64 goal = 0;
    if (!numbers::parseInteger(goalText, goal))
        return text + QStringLiteral(", kein Ziel");
    return text + QStringLiteral(", Ziel %1 %2, ").arg(goal).arg(goalUnit) +
           (bar->overGoal ? QStringLiteral("Ziel erreicht") : QStringLiteral("unter dem Ziel"));
}

} // namespace

QString quantitySymbol(int k, int kind)
{
    const double factor = booking::symbolFactor(k, kind);
    if (factor == 0)
        return {};
    // Grams and millilitres are whole amounts of a hundredth of the factor.
    const QString amount = kind == units::Pieces ? numbers::shortest(factor)
                                                 : QString::number(numbers::roundHalfEven(factor * 100));
    return amount + u' ' + units::quantityUnit(kind);
}

QString durationSymbol(int k, bool daily)
{
    if (k < 1 || k > 11)
        return {};
    if (daily && k == 1)
        return QStringLiteral("24 h");
    return QStringLiteral("%1 min").arg(activity::kSymbolMinutes[k]);
}

QString dayTotals(const diary::DayTotals& totals, const draw::GoalTexts& goals, bool kcal)
{
    const draw::DayBars bars = draw::dayBars(totals, goals, kcal);
    const QString energyUnit = units::energyUnit(kcal);
    return QStringList{
        barText("Nahrung", draw::HitArea::FoodEnergy, totals, kcal, &bars.food,
                kcal ? goals.energieCal : goals.energie, energyUnit),
        barText("Aktivität", draw::HitArea::ActivityEnergy, totals, kcal, nullptr, {}, {}),
        barText("Fett", draw::HitArea::Fat, totals, kcal, &bars.fat, goals.fett, QStringLiteral("g")),
        barText("Protein", draw::HitArea::Protein, totals, kcal, &bars.protein, goals.protein,
                QStringLiteral("g")),
        barText("Kohlenhydrate", draw::HitArea::Carbohydrate, totals, kcal, &bars.carbohydrate, goals.kohlenh,
                QStringLiteral("g")),
    }
        .join(QStringLiteral("; "));
}

QString weight(const QString& weightText, int geschlecht, int hoehe)
{
    const float kg = goals::readWeight(weightText).value_or(0.0f);
    if (!(kg > 0.0f))
        return QStringLiteral("kein Tagesgewicht");
    QString text = QStringLiteral("Tagesgewicht ") + weightText.trimmed() + QStringLiteral(" kg");
    const QString weightClass = goals::weightClass(goals::needleFor(kg, geschlecht, hoehe));
    if (!weightClass.isEmpty())
        text += QStringLiteral(", Gewichtsklasse ") + weightClass;
    if (const std::optional<QString> bmi = goals::bmiText(weightText, hoehe))
        text += u',' + *bmi;
    return text;
}

QString chartDay(const QString& seriesWord, int series, double value, bool kcal, QDate day)
{
    const QString prefix =
        seriesWord + QStringLiteral(" am ") + day.toString(numbers::shortDateFormat()) + u':';
    const QString readout = chart::readoutText(series, value, kcal, day);
    if (readout.isEmpty())
        return prefix + QStringLiteral(" kein Wert");
    // The read-out names the day first: " 05.03.2005 / 72,5 kg".
    return prefix + u' ' + readout.section(QStringLiteral(" / "), 1);
}

} // namespace spoken
