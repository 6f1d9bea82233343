#pragma once

#include "main/draw/rules/barlengths.h"

#include <QDate>
#include <QString>

// What the pictures of the main window and its booking symbols say to a
// screen reader: the texts that sighted users read off the drawings, made
// from the same rules that draw them and show their read-outs.
namespace spoken {

// The amount quantity symbol k (1 ... 11) books for a quantity kind, as the
// day list shows it: "500 g", "1500 ml", "0,5 St.". Empty for no kind or a
// symbol out of range.
QString quantitySymbol(int k, int kind);

// The minutes duration symbol k (1 ... 11) books: "30 min"; symbol 1 of the
// daily category books the whole day: "24 h". Empty out of range.
QString durationSymbol(int k, bool daily);

// The day's totals against the goals, as the bars show them, for example
// "Nahrung 2390 kJ, Ziel 9000 kJ, unter dem Ziel; Aktivität 1200 kJ; Fett
// 65 g, Ziel 60 g, Ziel erreicht; ...". A goal counts as reached where the
// bar turns to its over-goal colour; a goal that is not a whole number is
// "kein Ziel". The energy goal is the kcal field's with the kcal display.
QString dayTotals(const diary::DayTotals& totals, const draw::GoalTexts& goals, bool kcal);

// The day's weight as the weight sign shows it: "Tagesgewicht 72,5 kg,
// Gewichtsklasse normal, BMI 23,7". The class is left out while the scale's
// needle rests, the index where the scale's centre shows none; a weight of
// 0 is "kein Tagesgewicht".
QString weight(const QString& weightText, int geschlecht, int hoehe);

// The chart's read-out for the current day: "Gewicht am 05.03.2005: 72,5
// kg", or "... : kein Wert" where the read-out shows nothing.
QString chartDay(const QString& seriesWord, int series, double value, bool kcal, QDate day);

} // namespace spoken
