// Exact halves: bookings, conversions and chart heights computed from the
// decimals they are made of, checked against an exact reference over every
// shipped catalogue entry, every symbol and every day weight.

#include "diary/rules/activity.h"
#include "diary/rules/booking.h"
#include "diary/rules/numbers.h"
#include "main/diary/rules/bookingpanel.h"
#include "main/draw/rules/chart.h"
#include "support/locale.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The reference: a fraction n / d (d > 0) and the whole number it rounds to,
// decided by comparing integers only. `halvesAway` rounds a tie away from
// zero, otherwise to the even neighbour.
bool roundsTo(__int128 n, __int128 d, qint64 r, bool halvesAway = false)
{
    const __int128 twiceGap = 2 * n - 2 * __int128(r) * d; // 2 (n/d - r) d
    if (twiceGap > d || twiceGap < -d)
        return false;
    if (twiceGap == d || twiceGap == -d) {
        if (halvesAway)
            return (twiceGap > 0) == (n < 0); // r lies further from zero than n/d
        return r % 2 == 0;
    }
    return true;
}

// A decimal text ("4.1", "0.13", "785") in units of 10^-places, read digit
// by digit.
qint64 decimal(const QString& text, int places)
{
    const qsizetype dot = text.indexOf(u'.');
    QString whole = dot < 0 ? text : text.left(dot);
    QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
    EXPECT_LE(fraction.size(), places) << text.toStdString();
    fraction = fraction.leftJustified(places, u'0');
    bool ok = false;
    const qint64 value = (whole + fraction).toLongLong(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return value;
}

std::vector<QStringList> catalogueLines(const char* file)
{
    QFile f(QStringLiteral(KELVARA_SOURCE_DIR "/res/catalogue/") + QString::fromLatin1(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
    std::vector<QStringList> lines;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        lines.push_back(line.trimmed().split(u'|'));
    }
    return lines;
}

// The factors of the eleven symbols as their pictures are labelled: grams
// and millilitres / 100, pieces as counted.
const char* const kGramFactors[] = {"5", "3", "2.5", "2", "1.5", "1.25", "1", "0.5", "0.25", "0.1", "0.05"};
const char* const kMillilitreFactors[] = {"15", "10", "7", "5", "3.3", "2.5", "2", "1", "0.5", "0.1", "0.05"};
const char* const kPieceFactors[] = {"10", "8", "6", "5", "4", "3", "2", "1", "0.5", "0.25", "0.13"};

class Halves : public ::testing::Test
{
private:
    testing_support::LocaleScope m_locale{QLocale(QLocale::German, QLocale::Germany)};
};

QString germanCell(const QString& decimalText)
{
    return QString(decimalText).replace(u'.', u',');
}

} // namespace

TEST_F(Halves, ExactHalvesGoToTheEvenNeighbour)
{
    // 785 kJ/h for 45 minutes at 90 kg is 706.5.
    EXPECT_EQ(activity::energy(785, 90, 45), 706);
    // 1,5 l at 4,1 g carbohydrate per 100 ml is 61.5 g.
    const booking::FoodRow drink{QStringLiteral("Apfelschorle"), units::Millilitres, 100, 0, 4.1, 0};
    EXPECT_EQ(booking::bookedEntry(drink, units::Millilitres, 15, std::nullopt).carbohydrate, 62);
    // A bar of 10125 kJ at 5000 kJ per 100 rows rises 202.5 rows.
    chart::Input in;
    in.series = 2;
    in.zoomY = 2;
    in.start = QDate(2012, 1, 1);
    in.values = {10125};
    const chart::Chart c = chart::build(in);
    ASSERT_FALSE(c.data.empty());
    EXPECT_EQ(c.data.front().target.top(), 469 - 202);
    EXPECT_EQ(chart::goalRow(2, 2, false, QStringLiteral("10125")), 469 - 202);
}

TEST_F(Halves, EveryShippedFoodWithEverySymbolBooksAsTheExactProductRounds)
{
    int cases = 0;
    int wrong = 0;
    for (const QStringList& food : catalogueLines("foods.txt")) {
        ASSERT_GE(food.size(), 7);
        const int kind = food[2] == u"g"    ? units::Grams
                         : food[2] == u"ml" ? units::Millilitres
                                            : units::Pieces;
        const char* const* factors = kind == units::Grams         ? kGramFactors
                                     : kind == units::Millilitres ? kMillilitreFactors
                                                                  : kPieceFactors;
        // As the catalogue list holds them: the unit code, whole kJ, grams
        // with the locale's decimal comma.
        const Checked<booking::FoodRow> row =
            booking::readFoodRow(food[1], {QString::number(kind), food[3], germanCell(food[4]),
                                           germanCell(food[5]), germanCell(food[6])});
        ASSERT_TRUE(row) << row.message().toStdString();
        const qint64 values[4] = {decimal(food[3], 1), decimal(food[4], 1), decimal(food[5], 1),
                                  decimal(food[6], 1)};
        for (int k = 1; k <= 11; ++k) {
            const qint64 f = decimal(QString::fromLatin1(factors[k - 1]), 2);
            EXPECT_EQ(booking::symbolFactor(k, kind), f / 100.0);
            const booking::Entry once =
                booking::bookedEntry(*row, kind, booking::symbolFactor(k, kind), std::nullopt);
            const booking::Entry twice =
                booking::bookedEntry(*row, kind, booking::symbolFactor(k, kind), once);
            const qint64 got[4] = {once.energy, once.protein, once.carbohydrate, once.fat};
            const qint64 summed[4] = {twice.energy, twice.protein, twice.carbohydrate, twice.fat};
            bool right = true;
            for (int v = 0; v < 4; ++v) {
                // value / 10 * f / 100, and the second booking on top of the first.
                right = right && roundsTo(values[v] * f, 1000, got[v]) &&
                        roundsTo(values[v] * f + got[v] * 1000, 1000, summed[v]);
            }
            const qint64 amount = kind == units::Pieces ? f : f * 100;
            right =
                right && qRound64(once.amount * 100) == amount && qRound64(twice.amount * 100) == 2 * amount;
            ++cases;
            if (!right && ++wrong <= 10)
                ADD_FAILURE() << food[1].toStdString() << ", symbol " << k << ": " << got[0] << " kJ, "
                              << got[1] << " / " << got[2] << " / " << got[3] << " g";
        }
    }
    EXPECT_GT(cases, 7000);
    EXPECT_EQ(wrong, 0) << "of " << cases << " bookings";
}

TEST_F(Halves, EveryShippedActivityAtEveryDurationAndWeightBooksAsTheExactProductRounds)
{
    // Every weight the field can hold in 0,1 kg steps, read as the booking
    // reads it.
    std::vector<int> kilograms;
    for (int tenths = 400; tenths <= 1509; ++tenths) {
        const Checked<int> kg = activity::bookingWeight(QLocale().toString(tenths / 10.0, 'f', 1));
        ASSERT_TRUE(kg);
        ASSERT_EQ(*kg, tenths / 10);
        kilograms.push_back(*kg);
    }
    qint64 cases = 0;
    qint64 wrong = 0;
    for (const QStringList& a : catalogueLines("activities.txt")) {
        ASSERT_GE(a.size(), 4);
        const qint64 perHour = decimal(a[3], 0);
        for (int k = 1; k <= 11; ++k) {
            const int minutes = activity::kSymbolMinutes[k];
            for (const int kg : kilograms) {
                const qint64 e = activity::energy(static_cast<double>(perHour), kg, minutes);
                ++cases;
                if (!roundsTo(__int128(perHour) * kg * minutes, 75 * 60, e) && ++wrong <= 10)
                    ADD_FAILURE() << a[1].toStdString() << ", " << minutes << " min at " << kg
                                  << " kg: " << e;
            }
        }
    }
    EXPECT_GT(cases, 3'000'000);
    EXPECT_EQ(wrong, 0) << "of " << cases << " bookings";
}

TEST_F(Halves, KilojoulesAndKilocaloriesConvertExactly)
{
    for (qint64 kj = -99999; kj <= 999999; ++kj) {
        const QString text = QString::number(kj);
        ASSERT_TRUE(roundsTo(kj * 10000, 41868, units::kcalShown(kj))) << kj;
        ASSERT_TRUE(roundsTo(kj * 10000, 41868, units::kcalGoalAtSwitch(text).toLongLong())) << kj;
        ASSERT_TRUE(roundsTo(kj * 10000, 41868, units::kcalGoalFromKj(text).toLongLong(), true)) << kj;
    }
    for (qint64 kcal = -99999; kcal <= 999999; ++kcal) {
        const QString text = QString::number(kcal);
        ASSERT_TRUE(roundsTo(kcal * 41868, 10000, units::kjGoalAtSwitch(text).toLongLong(), true)) << kcal;
        ASSERT_TRUE(roundsTo(kcal * 41868, 10000, units::kjGoalFromKcal(text).toLongLong(), true)) << kcal;
    }
}

TEST_F(Halves, ChartBarsAndGoalRowsRiseByTheExactQuotient)
{
    // Every whole value of every series and value-axis level, raw and as the
    // mean of three days, in windows of 477 days.
    struct Scale
    {
        int series;
        bool kcal;
        int zoomY;
    };
    std::vector<Scale> scales;
    for (int series : {2, 3, 4, 5, 6, 7})
        for (bool kcal : {false, true})
            for (int zoomY = 1; zoomY <= 3; ++zoomY)
                scales.push_back({series, kcal, zoomY});
    int wrong = 0;
    for (const Scale& s : scales) {
        const qint64 f = qRound64(chart::scaleFactor(s.series, s.zoomY, s.kcal));
        const int base = s.series == 7 ? 249 : 469;
        const int top = s.series == 7 ? 30000 : 60000;
        for (int first = s.series == 7 ? -top : 1; first <= top; first += 477) {
            chart::Input in;
            in.series = s.series;
            in.kcal = s.kcal;
            in.zoomY = s.zoomY;
            in.start = QDate(2012, 1, 1);
            for (int i = 0; i < 477; ++i)
                in.values.push_back(first + i);
            const chart::Chart c = chart::build(in);
            // One bar per day whose height is not 0; its far end is the row.
            size_t bar = 0;
            for (int i = 0; i < 477; ++i) {
                const qint64 value = first + i;
                qint64 expected = 0;
                for (qint64 r = (value * 100) / f - 1; r <= (value * 100) / f + 1; ++r)
                    if (roundsTo(value * 100, f, r))
                        expected = r;
                if (expected == 0)
                    continue;
                ASSERT_LT(bar, c.data.size());
                const QRect t = c.data[bar++].target;
                const int row = base - static_cast<int>(expected);
                const int shown = s.series == 7 && expected < 0 ? t.bottom() + 1 : t.top();
                if (std::clamp(row, 1, 469) != shown && ++wrong <= 10)
                    ADD_FAILURE() << "series " << s.series << (s.kcal ? " kcal" : " kJ") << " level "
                                  << s.zoomY << ": " << value << " at row " << shown << ", not " << row;
            }
        }
        for (qint64 goal = 0; goal <= 99999; ++goal) {
            if (s.series > 5)
                break;
            const qint64 n = s.series == 2 && s.kcal ? goal * 41868 : goal * 100;
            const qint64 d = s.series == 2 && s.kcal ? f * 100 : f;
            const int row = chart::goalRow(s.series, s.zoomY, s.kcal, QString::number(goal));
            if (!roundsTo(n, d, 469 - row) && ++wrong <= 10)
                ADD_FAILURE() << "goal " << goal << " of series " << s.series << " at row " << row;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Halves, ASmoothedDayIsTheExactMeanOfThree)
{
    chart::Input in;
    in.series = 2;
    in.zoomY = 2;
    in.smoothing = true;
    in.start = QDate(2012, 1, 1);
    // The mean of the third day is 10125, 202.5 rows at 5000 kJ per 100.
    in.values = {10000, 10125, 10250};
    const chart::Chart c = chart::build(in);
    ASSERT_EQ(c.data.size(), 3u);
    EXPECT_EQ(c.data[2].target.top(), 469 - 202);
    // Weights: the mean of 70,1, 70,2 and 70,4 kg is 70,2333... kg.
    chart::Input w;
    w.series = 1;
    w.zoomY = 3;
    w.scrollY = 70;
    w.smoothing = true;
    w.start = QDate(2012, 1, 1);
    w.values = {70.1, 70.2, 70.4};
    const chart::Chart wc = chart::build(w);
    // The third day's dot, drawn after its stroke: bottom 70 kg, 40 rows per
    // kg, 9,333... rows above it.
    int top = -1;
    for (const chart::Copy& copy : wc.data) {
        if (copy.target.left() == 2)
            top = copy.target.top();
    }
    EXPECT_EQ(top, 468 - 9);
}

TEST_F(Halves, TheWeightScaleBottomRoundsItsHalvesToEven)
{
    // (100 - 95) * 0.7 = 3.5 and (100 - 95) * 0.9 = 4.5.
    EXPECT_EQ(chart::weightBottom(1, 95), 44);
    EXPECT_EQ(chart::weightBottom(2, 95), 44);
    EXPECT_EQ(chart::weightBottom(1, 85), 50); // 10.5
    EXPECT_EQ(chart::weightBottom(2, 85), 54); // 13.5
}
