#include "main/diary/activity.h"

#include "main/diary/booking.h"
#include "main/numbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace activity {

int symbolAt(int x, int y)
{
    return booking::symbolAt(x, y);
}

std::optional<int> wholeKilograms(const QString& weightText)
{
    bool ok = false;
    const double kg = QLocale().toDouble(weightText.trimmed(), &ok);
    if (!ok || !std::isfinite(kg) || std::abs(kg) > 1e6)
        return std::nullopt;
    return static_cast<int>(std::trunc(kg));
}

bool weightAllowed(int kg)
{
    return kg >= kLowestWeight && kg <= kHighestWeight;
}

qint64 energy(double kjPerHour, int kg, double minutes)
{
    // Divided, not multiplied by reciprocals: 150 kJ/h for one minute at
    // 75 kg is exactly 2.5 and goes to the even 2.
    const long double scaled = static_cast<long double>(kjPerHour) * (kg / 75.0L * minutes) / 60.0L;
    return numbers::roundHalfEven(scaled);
}

Entry summed(int minutes, qint64 energy, const std::optional<Entry>& existing)
{
    qint64 m = minutes;
    qint64 e = energy;
    if (existing) {
        m += existing->minutes;
        e += existing->energy;
    }
    // A value beyond its field cannot be stored: new entries are capped as
    // sums are.
    return {static_cast<int>(std::min<qint64>(m, kMinutesCap)), std::min(e, kEnergyCap)};
}

QString dailyName(const QString& percentText)
{
    return QStringLiteral("Grund- und Arbeitsumsatz ") + percentText + QStringLiteral("%");
}

qint64 dailyEnergy(int percent, int kg, int a, int b)
{
    return static_cast<qint64>(percent) * (static_cast<qint64>(kg) * a + b) / 100;
}

} // namespace activity
