#pragma once

#include <QChar>
#include <QLocale>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>

// The rules of the daily weight field and of the scale beside it: what may
// be typed, how the text is read and stored, where the needle points and
// how the body-mass index reads. The locale is the system's unless a caller
// names another.
namespace goals {

// ----- typing -----

// The most characters the weight field takes ("150,0").
constexpr int kWeightLength = 5;
// The heaviest weight the day record holds, in kg.
constexpr float kHeaviestWeight = 150.0f;

// The weight field: backspace passes; a digit, "," or "." passes when the
// text it leaves (in place of the selection) is a weight the day record
// holds as shown (weightFits); "," and "." pass as the locale's decimal
// separator, and only when the text outside the selection is a whole number
// of digits and the separator would not stand first; every other character
// is discarded. Returns the character to insert, or a null QChar when the
// key is discarded. So a typed weight holds digits and at most one decimal
// separator, never in the first place, at most one decimal place and never
// more than 150.
QChar weightKey(QChar typed, const QString& text, int selectionStart, int selectionLength,
                const QLocale& locale = QLocale());

// True when the day record holds the weight that `text` shows exactly as
// shown: the empty text, or at most five characters of digits with at most
// one decimal separator of the locale, at least one digit, at most one
// digit after the separator, and not above 150.
bool weightFits(const QString& text, const QLocale& locale = QLocale());

// True when `typed` is a digit that weightKey refuses only because the
// weight it leaves would pass the field's limits (above 150 kg, more than
// one decimal place, more than five characters): the refusal the user is
// told of with weightLimitText. A letter or a second separator is
// discarded without a word.
bool weightKeyPassesLimit(QChar typed, const QString& text, int selectionStart, int selectionLength,
                          const QLocale& locale = QLocale());

// What the user is told when a typed digit would pass the field's limits.
QString weightLimitText(const QLocale& locale = QLocale());

// True when the field shows the "0" of a day without weight, which the
// first typed digit replaces rather than follows.
bool showsNoWeight(const QString& text);

// ----- reading and storing -----

// The weight in kg as the field means it (numbers::readDecimal), in single
// precision: the empty text is 0; nullopt when the text is not a number.
std::optional<float> readWeight(const QString& text, const QLocale& locale = QLocale());

// The weight as the day record stores it: above 150 or below 0 it is 0.
float storableWeight(float weightKg);

// ----- the scale -----

// The normal weight the scale compares with, single precision and not
// truncated: height - 100 for men, (height - 100) * 0.9 for women (165 cm
// gives 58.5 kg). nullopt when sex or height is missing.
std::optional<float> scaleNormalWeight(int geschlecht, int hoehe);

// The needle tile for the ratio c = weight / normal weight, held in single
// precision: 0 (at rest) below 0.70 and above 1.60, else 1 ... 15 from
// lightest to heaviest. The bounds are the decimal values, so 56 / 80
// (0.69999998 in single precision) rests and 128 / 80 (1.60000002) rests.
int needleTile(float ratio);

// The readings a needle tile 1 ... 15 stands for: from `lower` up to below
// `upper` (for tile 15 up to 1.60 inclusive).
struct NeedleReadings
{
    double lower = 0;
    double upper = 0;
};
NeedleReadings needleReadings(int tile);

// Where a needle tile is drawn in the picture of the right-hand panel: the
// tile's corner that lies in the scale's centre.
QPoint needlePlace(int tile);

// The tile for a weight and the personal data: 0 when sex or height is
// missing or the weight is not above 0.
int needleFor(float weightKg, int geschlecht, int hoehe);

// The weight classes as the help names them, by the ratio of the weight to
// the normal weight, from the start of the scale's readings to their end.
struct WeightClass
{
    double from;
    double to;
    const char* name; // UTF-8
};
inline constexpr std::array<WeightClass, 5> kWeightClasses = {{
    {0.70, 0.80, "mager"},
    {0.80, 0.90, "dünn"},
    {0.90, 1.10, "normal"},
    {1.10, 1.30, "dick"},
    {1.30, 1.60, "fett"},
}};

// The weight class the needle of tile 1 ... 15 points into. A tile counts
// by the middle of its readings, where the needle points. Empty for the
// needle at rest (0).
QString weightClass(int tile);

// The read-out " BMI 24,7": the weight text read as a decimal number over
// the square of the height in metres, held with the precision of a 48-bit
// real and written with one decimal, halves away from zero, in the locale.
// nullopt when the height is missing, the text is not a number, or the index
// has more than four digits before the point.
std::optional<QString> bmiText(const QString& weightText, int hoehe, const QLocale& locale = QLocale());

} // namespace goals
