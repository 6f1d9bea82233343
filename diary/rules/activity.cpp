#include "diary/rules/activity.h"

#include "diary/rules/booking.h"
#include "diary/rules/exact.h"

#include <algorithm>
#include <cmath>

namespace activity {

Checked<int> bookingWeight(const QString& weightText)
{
    const std::optional<double> kg = numbers::readDecimal(weightText);
    if (!kg || std::abs(*kg) > 1e6)
        return Checked<int>::refused(
            QStringLiteral("Das Tagesgewicht \"%1\" ist keine Zahl.\rDie Buchung wurde nicht ausgeführt.")
                .arg(weightText));
    const int whole = static_cast<int>(std::trunc(*kg));
    if (whole < kLowestWeight || whole > kHighestWeight)
        return Checked<int>::refused(
            QStringLiteral("Diese Aktion kann nicht durchgeführt werden.\r"
                           "Tragen Sie bitte zuerst ihr Tagesgewicht (40...150 kg) ein."));
    return whole;
}

Checked<double> readListValue(const QString& name, const QString& text)
{
    const std::optional<double> value = numbers::readDecimal(text);
    if (!value)
        return Checked<double>::refused(booking::catalogueValueRefusal(text, name));
    return *value;
}

qint64 energy(double kjPerHour, int kg, double minutes)
{
    // kJ/h x kg / 75 kg x min / 60 min, exactly: 785 kJ/h for 45 minutes at
    // 90 kg is 706.5 and goes to the even 706.
    const __int128 numerator = __int128(exact::scaled(kjPerHour)) * kg * exact::scaled(minutes);
    const __int128 denominator = __int128(75 * 60) * exact::kScale * exact::kScale;
    return exact::quotientHalfEven(numerator, denominator);
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

store::Fields entryFields(QDate day, const QString& name, const Entry& entry)
{
    return {{"FTBDATUM", day},
            {"FTBMENGE", qint64(entry.minutes)},
            {"FTBNAME", name},
            {"FTBENERGIE", entry.energy}};
}

QString dailyName(const QString& percentText)
{
    return QStringLiteral("Grund- und Arbeitsumsatz ") + percentText + QStringLiteral("%");
}

qint64 dailyEnergy(int percent, int kg, int a, int b)
{
    return static_cast<qint64>(percent) * (static_cast<qint64>(kg) * a + b) / 100;
}

Checked<> checkSecondDaily(const QStringList& dayEntryNames)
{
    for (const QString& name : dayEntryNames) {
        if (name.startsWith(diary::kDailyPrefix))
            return Checked<>::refused(
                QStringLiteral("Diese Aktion kann nicht durchgeführt werden, da bereits\r"
                               "eine Eintragung für Grund- und Arbeitsumsatz vorliegt.\r"
                               "Gegebenenfalls löschen Sie diesen Eintrag !"));
    }
    for (const QString& name : dayEntryNames) {
        if (name == diary::kSummaryName || name == diary::kGapFillerName)
            return Checked<>::refused(
                QStringLiteral("Diese Aktion kann nicht durchgeführt werden, da die Eintragung\r"
                               "\"%1\" den Grund- und Arbeitsumsatz des Tages\r"
                               "bereits enthalten kann.")
                    .arg(name));
    }
    return Passed{};
}

} // namespace activity
