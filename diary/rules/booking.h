#pragma once

#include "diary/rules/checked.h"
#include "store/value.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The rules of booking a food: the quantity symbols and their press bands,
// the booked values, summing into an existing entry, and the day's totals.
namespace booking {

// Field limits of the diary tables.
constexpr double kAmountCap = 9999;
constexpr double kEnergyCap = 99999;
constexpr double kNutrientCap = 9999;

// Quantity kinds of the catalogue (NRGME) and of the symbol frames.
enum QuantityKind { NoQuantity = 0, Grams = 1, Millilitres = 2, Pieces = 3 };

struct QuantitySymbol
{
    double gramFactor;  // amount / 100
    double litreFactor; // millilitres / 100
    double pieces;      // amount = factor
};

// Symbols 1 ... 11 from the top of the booking panel; element 0 is unused.
// The eighth of a piece is 0.13, as the symbol's amount is written.
inline constexpr std::array<QuantitySymbol, 12> kQuantitySymbols = {{
    {0, 0, 0},
    {5, 15, 10},
    {3, 10, 8},
    {2.5, 7, 6},
    {2, 5, 5},
    {1.5, 3.3, 4},
    {1.25, 2.5, 3},
    {1, 2, 2},
    {0.5, 1, 1},
    {0.25, 0.5, 0.5},
    {0.1, 0.1, 0.25},
    {0.05, 0.05, 0.13},
}};

// Geometry of the booking panel (350 x 539): the symbols' column and bands,
// their home places, the inner margin and the drop area over the day list.
constexpr int kSymbolLeft = 13;
constexpr int kSymbolTop = 11;
constexpr int kSymbolPitch = 43;
constexpr int kPressLeft = 14;
constexpr int kPressRight = 42;
constexpr int kPressBottom = 483;

// The quantity kind of a catalogue unit code: grams, millilitres or pieces,
// NoQuantity for any other code (the placeholder row carries 0).
int quantityKind(qint64 unitCode);
// The left edge of the symbol pictures that shows the kind's frame; 100
// leaves the holders empty.
int frameLeft(int kind);

// The symbol whose press band holds (x, y), 1 ... 11; 0 outside the column.
int symbolAt(int x, int y);
// The factor of symbol k for a quantity kind; 0 for k = 0 or no kind.
double symbolFactor(int k, int kind);
// The home position of symbol k.
int symbolHomeTop(int k);
// True when the pointer has left the panel's inner margin (the symbols snap home).
bool outsideMargin(int x, int y, int width, int height);
// True when a release there books the dragged symbol.
bool inDropArea(int x, int y, int width, int height);

// The catalogue values of the selected food as its list row holds them.
struct FoodRow
{
    QString name;
    int unitCode = 0;
    double energy = 0; // kJ per 100 g, 100 ml or piece
    double protein = 0;
    double carbohydrate = 0;
    double fat = 0;
};

// Reads the hidden columns of a catalogue row (unit code, energy, protein,
// carbohydrate, fat) in the locale's number format, or with a point. A
// text that is not a number refuses the booking, naming the text and the
// food.
Checked<FoodRow> readFoodRow(const QString& name, const std::array<QString, 5>& columns);

// A food-diary entry as it is stored.
struct Entry
{
    double amount = 0;
    QString unit;
    QString name;
    qint64 energy = 0;
    qint64 protein = 0;
    qint64 carbohydrate = 0;
    qint64 fat = 0;
};

// The entry a booking writes: the food at `factor` of its catalogue values,
// added to `existing` when the day holds the food already. Sums and new
// entries alike are capped at the fields' limits; whole numbers are computed
// exactly from the decimals and rounded once with halves to the even
// neighbour (1,5 l at 4,1 g per 100 ml is 61,5 g and gives 62); the amount
// stays a real.
Entry bookedEntry(const FoodRow& food, int kind, double factor, const std::optional<Entry>& existing);

// The unit text written for a catalogue unit code.
QString unitText(int unitCode);

// The fields of the food-diary record of `entry` on `day`.
store::Fields entryFields(QDate day, const Entry& entry);

} // namespace booking
