#include "main/draw/rules/chart.h"

#include "diary/rules/exact.h"
#include "diary/rules/numbers.h"

#include <QLocale>

#include <cmath>

namespace chart {
namespace {

constexpr int kZeroRowBalance = 249;
constexpr int kBaseRow = 469;

struct SeriesScale
{
    double factor;
    // Tick label of row j as a + b * j, shown as |value| for the balance.
    double a;
    double b;
    int decimals;
    int labelX;
};

SeriesScale seriesScale(int series, int zoomY, bool kcal)
{
    const int l = std::clamp(zoomY, 1, 3) - 1;
    switch (series) {
    case 2:
    case 6: {
        static const SeriesScale kcalScales[] = {
            {8374, 9600, -400, 0, 483}, {5233, 6000, -250, 0, 483}, {2617, 3000, -125, 0, 483}};
        static const SeriesScale mjScales[] = {
            {7500, 36, -1.5, 1, 483}, {5000, 24, -1, 1, 483}, {2500, 12, -0.5, 1, 483}};
        return kcal ? kcalScales[l] : mjScales[l];
    }
    case 3:
    case 4: {
        static const SeriesScale scales[] = {
            {100, 480, -20, 0, 486}, {50, 240, -10, 0, 486}, {25, 120, -5, 0, 486}};
        return scales[l];
    }
    case 5: {
        static const SeriesScale scales[] = {
            {250, 1200, -50, 0, 483}, {150, 720, -30, 0, 486}, {100, 480, -20, 0, 486}};
        return scales[l];
    }
    case 7: {
        static const SeriesScale kcalScales[] = {
            {4187, 2600, -200, 0, 483}, {2093, 1300, -100, 0, 483}, {1047, 650, -50, 0, 483}};
        static const SeriesScale mjScales[] = {
            {5000, 13, -1, 1, 483}, {2500, 6.5, -0.5, 1, 483}, {1000, 2.6, -0.2, 1, 483}};
        return kcal ? kcalScales[l] : mjScales[l];
    }
    default:
        return {0, 0, 0, 0, 486};
    }
}

QString fixed(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString monthText(QDate day, int zoomX)
{
    static const char* const kShort[] = {"Jan", "Feb", "Mär",  "Apr", "Mai", "Jun",
                                         "Jul", "Aug", "Sept", "Okt", "Nov", "Dez"};
    static const char* const kLong[] = {" Januar  ",   "Februar",    " März     ", " April    ",
                                        "  Mai      ", " Juni     ", " Juli     ", " August  ",
                                        "September",   " Oktober",   "November",   "Dezember"};
    const int m = day.month() - 1;
    switch (zoomX) {
    case 1:
        return QStringLiteral("%1.%2").arg(day.month()).arg(day.year() % 100, 2, 10, QChar(u'0'));
    case 2:
        return QString::fromUtf8(kShort[m]) + u' ' + QString::number(day.year());
    default:
        return QString::fromUtf8(kLong[m]) + u' ' + QString::number(day.year());
    }
}

// A plotted value as an exact fraction: ten-thousandths over the days it
// is the mean of (1, or 3 when smoothed).
struct Exact
{
    qint64 sum;
    int days;
};

std::vector<Exact> exactPlotted(const std::vector<double>& raw, bool smoothing)
{
    std::vector<Exact> values(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const qint64 today = exact::scaled(raw[i]);
        const qint64 before1 = i >= 1 ? exact::scaled(raw[i - 1]) : 0;
        const qint64 before2 = i >= 2 ? exact::scaled(raw[i - 2]) : 0;
        const bool full = smoothing && today != 0 && before1 != 0 && before2 != 0;
        values[i] = full ? Exact{today + before1 + before2, 3} : Exact{today, 1};
    }
    return values;
}

// Rows far beyond the picture are all alike.
int rows(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, -1000000, 1000000));
}

// rnd(value / factor * 100): the rows a bar of the value rises.
int barHeight(Exact value, qint64 factor)
{
    return rows(
        exact::quotientHalfEven(__int128(value.sum) * 100, __int128(value.days) * exact::kScale * factor));
}

// rnd((weight - bottom) * factor): the rows a weight lies above the bottom.
int weightHeight(Exact value, int bottom, qint64 factor)
{
    const __int128 over = value.sum - __int128(bottom) * value.days * exact::kScale;
    return rows(exact::quotientHalfEven(over * factor, __int128(value.days) * exact::kScale));
}

} // namespace

int patternColumn(int weekday, int unitsPerDay, int r)
{
    return (((weekday - 1) * unitsPerDay + r - 1) % 28 + 28) % 28;
}

std::vector<double> smoothed(const std::vector<double>& raw)
{
    std::vector<double> values;
    for (const Exact& v : exactPlotted(raw, true))
        values.push_back(static_cast<double>(static_cast<long double>(v.sum) / (v.days * exact::kScale)));
    return values;
}

int weightBottom(int zoomY, int scrollY)
{
    switch (zoomY) {
    case 1:
        return static_cast<int>(exact::quotientHalfEven((100 - scrollY) * 7, 10)) + 40;
    case 2:
        return static_cast<int>(exact::quotientHalfEven((100 - scrollY) * 9, 10)) + 40;
    default:
        return (100 - scrollY) + 40;
    }
}

double scaleFactor(int series, int zoomY, bool kcal)
{
    if (series == 1)
        return zoomY == 1 ? 10 : zoomY == 2 ? 20 : 40;
    return seriesScale(series, zoomY, kcal).factor;
}

int goalRow(int series, int zoomY, bool kcal, const QString& goalText)
{
    if (series < 2 || series > 5)
        return kBaseRow;
    qint64 goal = 0;
    if (!numbers::parseInteger(goalText, goal))
        return kBaseRow;
    // rnd(goal / F * 100), the goal in kJ: a kcal goal against the kJ scale
    // times 4.1868.
    const qint64 f = std::llround(scaleFactor(series, zoomY, kcal));
    const bool inKcal = series == 2 && kcal;
    const __int128 numerator = __int128(goal) * 100 * (inKcal ? units::kKjPerKcalNumerator : 1);
    const __int128 denominator = __int128(f) * (inKcal ? units::kKjPerKcalDenominator : 1);
    return kBaseRow - rows(exact::quotientHalfEven(numerator, denominator));
}

QString axisLabel(int series, int zoomY, bool kcal, int scrollY, int j)
{
    if (series == 1) {
        const int b = weightBottom(zoomY, scrollY);
        if (zoomY == 1)
            return QString::number(b + 48 - 2 * j);
        if (zoomY == 2)
            return QString::number(b + 24 - j);
        return j % 2 == 0 ? fixed(b + 12 - j / 2, 0) : QString();
    }
    const SeriesScale s = seriesScale(series, zoomY, kcal);
    double value = s.a + s.b * j;
    if (series == 7)
        value = std::abs(value);
    if (series >= 3 && series <= 5)
        return QString::number(static_cast<qint64>(value));
    return fixed(value, s.decimals);
}

QString caption(int series, bool kcal)
{
    switch (series) {
    case 1:
        return QStringLiteral("Körpergewicht in kg");
    case 2:
        return kcal ? QStringLiteral("Ernährung: Energie in kcal")
                    : QStringLiteral("Ernährung: Energie in MJ");
    case 3:
        return QStringLiteral("Ernährung: Fett in g");
    case 4:
        return QStringLiteral("Ernährung: Protein in g");
    case 5:
        return QStringLiteral("Ernährung: Kohlenhydrat in g");
    case 6:
        return kcal ? QStringLiteral("Aktivitäten: Energie in kcal")
                    : QStringLiteral("Aktivitäten: Energie in MJ");
    default:
        return kcal ? QStringLiteral("Energiebilanz in kcal") : QStringLiteral("Energiebilanz in MJ");
    }
}

Chart build(const Input& in)
{
    Chart c;
    const int series = std::clamp(in.series, 1, 7);
    const int z = std::clamp(in.zoomX, 1, 3);
    const int s = unitsPerDay(z);
    const int n = windowDays(z);
    c.caption = caption(series, in.kcal);

    // Week background: the pattern's column that the window's first unit
    // shows lies at x 0.
    const Piece week = z == 1 ? Piece::Week1 : z == 2 ? Piece::Week2 : Piece::Week3;
    const int weekday = in.start.isValid() ? in.start.dayOfWeek() % 7 + 1 : 1; // 1 = Sunday
    const int b = patternColumn(weekday, s, 0);
    for (int k = 0; k < 18; ++k)
        c.background.push_back({week, QRect(QPoint(28 * k - b, 0), QPoint(28 * k - b + 27, 468))});
    for (int j = 1; j <= 23; ++j)
        c.gridRows.push_back(20 * j - 11);

    // Data.
    std::vector<double> values = in.values;
    values.resize(n, 0.0);
    const std::vector<Exact> plotted = exactPlotted(values, in.smoothing);
    const qint64 f = std::llround(scaleFactor(series, in.zoomY, in.kcal));
    const int goal = goalRow(series, in.zoomY, in.kcal, in.goalText);
    if (series == 1) {
        const int bottom = weightBottom(in.zoomY, in.scrollY);
        int previous = 0;
        for (int i = 0; i < n; ++i) {
            const int x = i * s;
            const int t = kPlotBottom - weightHeight(plotted[i], bottom, f);
            if (i > 0) {
                const int d = previous - t;
                if (-8 * f < d && d < 8 * f) {
                    if (d < 0)
                        c.data.push_back({Piece::Dot, QRect(QPoint(x, previous), QPoint(x + 1, t - 1))});
                    else
                        c.data.push_back({Piece::Dot, QRect(QPoint(x, t), QPoint(x + 1, previous + z))});
                }
            }
            c.data.push_back({Piece::Dot, QRect(QPoint(x, t), QPoint(x + z, t + z))});
            previous = t;
        }
    } else if (series == 7) {
        for (int i = 0; i < n; ++i) {
            const int u = kZeroRowBalance - barHeight(plotted[i], f);
            if (u == kZeroRowBalance)
                continue;
            const int end = std::clamp(u, 1, kBaseRow);
            const int x = i * s;
            const Piece bar = u < 250 ? Piece::NormalBar : Piece::HighlightBar;
            const QRect span = end < kZeroRowBalance
                                   ? QRect(QPoint(x, end), QPoint(x + z, kZeroRowBalance - 1))
                                   : QRect(QPoint(x, kZeroRowBalance), QPoint(x + z, end - 1));
            c.data.push_back({bar, span});
        }
    } else {
        for (int i = 0; i < n; ++i) {
            const int o = kBaseRow - barHeight(plotted[i], f);
            if (o >= kBaseRow)
                continue;
            const bool over = o < goal && series <= 5;
            c.data.push_back({over ? Piece::HighlightBar : Piece::NormalBar,
                              QRect(QPoint(i * s, std::max(o, 1)), QPoint(i * s + z, kBaseRow - 1))});
        }
    }

    // Goal and zero lines.
    const std::optional<int> desiredKg = units::desiredWeightKg(in.desiredWeightItem);
    if (series == 1 && desiredKg) {
        const int y = kPlotBottom - static_cast<int>((*desiredKg - weightBottom(in.zoomY, in.scrollY)) * f);
        if (y >= 1 && y <= 467)
            c.goalLines.push_back(y);
    } else if (series >= 2 && series <= 5 && in.desiredWeightItem >= 1 && goal >= 1 && goal <= 467) {
        c.goalLines.push_back(goal);
    } else if (series == 7) {
        c.goalLines.push_back(248);
    }

    // Date band: every first of a month from 34 days before the window.
    static const int kBoxWidth[] = {0, 41, 122, 200};
    static const int kTextIndent[] = {0, 2, 5, 20};
    for (int h = -34; h <= kPlotRight / s; ++h) {
        const QDate day = in.start.addDays(h);
        if (day.day() != 1)
            continue;
        const int x = h * s;
        c.months.push_back({QRect(QPoint(x, 469), QPoint(x + kBoxWidth[z] - 1, 486)),
                            QRect(QPoint(x + 1, 470), QPoint(x + kBoxWidth[z] - 2, 485)),
                            QPoint(x + kTextIndent[z], 471), monthText(day, z)});
    }

    // Value axis.
    const int labelX = series == 1 ? 486 : seriesScale(series, in.zoomY, in.kcal).labelX;
    for (int j = 1; j <= 24; ++j) {
        const QString text = axisLabel(series, in.zoomY, in.kcal, in.scrollY, j);
        if (!text.isEmpty())
            c.labels.push_back({QPoint(labelX, 20 * j - 17), text});
    }
    return c;
}

int printScale(int pageWidth, int pageHeight)
{
    return pageWidth < pageHeight ? pageWidth / kWidth : pageHeight / kHeight;
}

bool readoutHit(int x, int y)
{
    return x < kPlotRight && y < kPlotBottom;
}

QDate readoutDay(QDate windowStart, int zoomX, int x)
{
    return windowStart.addDays(x / unitsPerDay(zoomX));
}

QString readoutText(int series, double value, bool kcal, QDate day)
{
    if (value == 0)
        return {};
    QString text;
    switch (series) {
    case 1:
        text = fixed(value, 1) + QStringLiteral(" kg");
        break;
    case 3:
    case 4:
    case 5:
        text = fixed(value, 0) + QStringLiteral(" g");
        break;
    default:
        text = kcal ? units::energyText(std::llround(value), true)
                    : fixed(value, 0) + u' ' + units::energyUnit(false);
    }
    return u' ' + day.toString(numbers::shortDateFormat()) + QStringLiteral(" / ") + text;
}

QPoint readoutPlace(int x, int y)
{
    return QPoint(x > 380 ? x - 100 : x, y > 430 ? y : y + 36);
}

} // namespace chart
