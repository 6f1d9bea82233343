#pragma once

#include <QString>
#include <array>

// The fixed list of the daily activity category: the whole day's basal and
// work turnover at sixteen levels.
struct DailyLevel
{
    int percent;
    const char* text; // UTF-8
};

inline constexpr std::array<DailyLevel, 16> kDailyLevels = {{
    {100, "100% Bettruhe (Krankheit)"},
    {110, "110% Urlaub, Wochenende"},
    {115, "115% Sehr leichte sitzende Arbeit"},
    {120, "120% Sehr leichte stehende Arbeit"},
    {125, "125% Leichte vorw. sitzende Arbeit"},
    {130, "130% Leichte wechselnde Arbeit"},
    {135, "135% Leichte stehende Arbeit"},
    {140, "140% Leichte bis mittelschw. Arbeit"},
    {145, "145% Mittelschwere Arbeit"},
    {150, "150% Mittelschwere Arbeit"},
    {160, "160% Mittelschwere Arbeit"},
    {170, "170% Mittelschwere Arbeit"},
    {180, "180% Mittel bis Schwere Arbeit"},
    {190, "190% Schwere Arbeit"},
    {200, "200% Sehr schwere Arbeit"},
    {210, "210% Schwerstarbeit"},
}};
