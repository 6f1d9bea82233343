#include "install/installer.h"

#include "diary/rules/activity.h"
#include "diary/rules/booking.h"
#include "diary/rules/chartwindow.h"
#include "diary/rules/daytotals.h"
#include "diary/rules/notetext.h"
#include "diary/rules/settings.h"
#include "install/catalogue.h"
#include "store/create.h"
#include "store/fileio.h"
#include "store/recordfile.h"
#include "store/schema.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace install {
namespace {

using store::Row;

std::vector<Row> foodRows(const std::vector<Food>& foods)
{
    std::vector<Row> rows;
    for (const Food& f : foods) {
        rows.push_back({{"NRGKAT", qint64(f.category)},
                        {"NRGNAME", f.name},
                        {"NRGME", qint64(f.unit)},
                        {"NRGENERGIE", qint64(f.energy)},
                        {"NRGPROTEIN", f.protein},
                        {"NRGKOHLENH", f.carbohydrate},
                        {"NRGFETT", f.fat}});
    }
    return rows;
}

std::vector<Row> activityRows(const std::vector<Activity>& activities)
{
    std::vector<Row> rows;
    for (const Activity& a : activities)
        rows.push_back({{"AKTKAT", qint64(a.category)},
                        {"AKTNAME", a.name},
                        {"AKTME", qint64(1)},
                        {"AKTENERGIE", qint64(a.energy)}});
    return rows;
}

// The settings as a new diary has them: the defaults, the goals "0" and no
// personal data; at every time-axis level the chart's window ends with the
// weeks of `chartEnd`.
Settings freshSettings(const diary::Range& range, QDate chartEnd)
{
    Settings settings;
    for (int level = 1; level <= 3; ++level)
        settings.ScrollPosX[level] = chart::scrollToShowAtRightEdge(range.first, chartEnd, level);
    return settings;
}

Row noteRow(QDate day, const QString& note)
{
    Row row{{"XTBDATUM", day}, {"XTBKAT", qint64(0)}};
    const QStringList parts = notetext::split(note);
    for (int part = 0; part < notetext::kParts; ++part)
        row.push_back({notetext::kPartFields[part], parts[part]});
    return row;
}

Row dayRow(QDate day, double weight, const diary::DayTotals& totals)
{
    Row row = diary::totalFields(totals);
    row.push_back({"ZEBDATUM", day});
    row.push_back({"ZEBGEWICHT", weight});
    return row;
}

struct Diary
{
    std::vector<Row> days;
    std::vector<Row> food;
    std::vector<Row> activity;
    std::vector<Row> notes;
    Settings settings;
};

// The person of the demo diary: a man of 31 to 60 years in light work,
// 180 cm tall, aiming at 75 kg, who books his whole day at 130 % of the
// basal rate and his sport on top.
constexpr int kDemoBasalA = 48;
constexpr int kDemoBasalB = 3653;
constexpr int kDemoDayPercent = 130;

Diary freshDiary(const diary::Range& range, QDate today)
{
    Diary diary;
    for (QDate d = range.first; d <= range.last; d = d.addDays(1))
        diary.days.push_back(dayRow(d, 0, {}));
    const QDate lastShown = lastShownDay(range);
    diary.settings =
        freshSettings(range, today.isValid() ? std::clamp(today, range.first, lastShown) : lastShown);
    return diary;
}

const char* const kNoteSentences[] = {
    "Heute früh gewogen, vor dem Frühstück.",
    "Mittags nur einen Salat gegessen.",
    "Abends mit Freunden essen gewesen, etwas zu viel.",
    "Eine Stunde Rad gefahren, schönes Wetter.",
    "Kaum Hunger gehabt, viel Wasser getrunken.",
    "Stressiger Tag im Büro, zwischendurch genascht.",
    "Spaziergang am Fluss mit dem Hund.",
    "Geburtstagsfeier: Kuchen und Sekt.",
    "Gut geschlafen, ausgeruht aufgewacht.",
    "Im Garten gearbeitet, Hecke geschnitten.",
    "Keine Süßigkeiten heute!",
    "Schwimmen gewesen, 20 Bahnen.",
};

// A person's use of the diary: a slowly drifting weight, ten to twenty
// different foods and one to three different activities a day, day totals
// equal to the sums of the day's entries, and a note on some days.
void fillDemo(Diary& diary, const diary::Range& range, const std::vector<Food>& foods,
              const std::vector<Activity>& activities)
{
    // Sex, age group, work, height 180 cm, desired weight 75 kg, and goals.
    Settings& s = diary.settings;
    s.geschlecht = 1;
    s.alter = 3;
    s.beruf = 1;
    s.hoehe = 41;
    s.gewicht = 36;
    s.energie = QStringLiteral("9400");
    s.fett = QStringLiteral("70");
    s.protein = QStringLiteral("80");
    s.kohlenh = QStringLiteral("300");

    std::mt19937 random(20020101);
    auto uniform = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::normal_distribution<double> drift(0.0, 0.25);
    double weight = 86.0;

    static const int minutes[] = {15, 20, 30, 45, 60, 90};

    for (QDate day = range.first; day <= lastShownDay(range); day = day.addDays(1)) {
        weight += drift(random) - 0.004 * (weight - 80.0);
        weight = std::clamp(weight, 55.0, 130.0);
        const double dayWeight = std::round(weight * 10) / 10;

        diary::EntrySums sums;
        std::set<QString> names;
        const int bookings = uniform(10, 20);
        // Each booking gets its share of a day's usual energy, in amounts as
        // the quantity symbols give them.
        const double share = uniform(7500, 11500) / static_cast<double>(bookings);
        while (static_cast<int>(names.size()) < bookings) {
            const Food& f = foods[uniform(0, static_cast<int>(foods.size()) - 1)];
            if (!names.insert(f.name).second)
                continue;
            double amount = 1;
            double factor = 1; // of the catalogue values
            if (f.unit == units::Grams) {
                amount = f.energy > 0 ? std::clamp(std::round(share * 100 / f.energy / 25) * 25, 25.0, 400.0)
                                      : 100;
                factor = amount / 100;
            } else if (f.unit == units::Millilitres) {
                amount = f.energy > 0 ? std::clamp(std::round(share * 100 / f.energy / 50) * 50, 100.0, 500.0)
                                      : 250;
                factor = amount / 100;
            } else {
                amount = f.energy > 0 ? std::clamp(std::round(share / f.energy), 1.0, 3.0) : 1;
                factor = amount;
            }
            // Booked as the program books it.
            booking::FoodRow row;
            row.name = f.name;
            row.unitCode = f.unit;
            row.energy = f.energy;
            row.protein = f.protein;
            row.carbohydrate = f.carbohydrate;
            row.fat = f.fat;
            booking::Entry booked =
                booking::bookedEntry(row, units::quantityKind(f.unit), factor, std::nullopt);
            booked.amount = amount;
            diary.food.push_back(booking::entryFields(day, booked));
            sums.addFood(booked.energy, booked.protein, booked.carbohydrate, booked.fat);
        }

        const qint64 wholeDay =
            kDemoDayPercent * (static_cast<qint64>(dayWeight) * kDemoBasalA + kDemoBasalB) / 100;
        diary.activity.push_back(activity::entryFields(
            day, activity::dailyName(QString::number(kDemoDayPercent)), {activity::kDayMinutes, wholeDay}));
        sums.addActivity(wholeDay);

        std::set<QString> done;
        const int sessions = uniform(0, 2);
        while (static_cast<int>(done.size()) < sessions) {
            const Activity& a = activities[uniform(0, static_cast<int>(activities.size()) - 1)];
            if (!done.insert(a.name).second)
                continue;
            const int m = minutes[uniform(0, 5)];
            const activity::Entry booked =
                activity::summed(m, activity::energy(a.energy, static_cast<int>(dayWeight), m), std::nullopt);
            diary.activity.push_back(activity::entryFields(day, a.name, booked));
            sums.addActivity(booked.energy);
        }

        const qint64 dayIndex = range.first.daysTo(day);
        diary.days[dayIndex] = dayRow(day, dayWeight, diary::totalsOf(sums));

        if (uniform(0, 4) == 0) {
            QString note;
            const int sentences = uniform(1, 4);
            for (int s = 0; s < sentences; ++s) {
                if (!note.isEmpty())
                    note += u' ';
                note += QString::fromUtf8(
                    kNoteSentences[uniform(0, static_cast<int>(std::size(kNoteSentences)) - 1)]);
            }
            diary.notes.push_back(noteRow(day, note));
        }
    }
}

} // namespace

QDate lastShownDay(const diary::Range& range)
{
    return range.lastStartDay().addDays(-1);
}

QStringList existingDiaryFiles(const QString& dir, store::FileSystem& fs)
{
    QStringList present;
    for (const char* name : store::schema::diaryFileNames()) {
        const QString found = store::findFile(dir, QString::fromLatin1(name), fs);
        if (!found.isEmpty())
            present << QFileInfo(found).fileName();
    }
    return present;
}

void layOutDiary(const QString& dir, Content content, int firstYear, QDate today, store::FileSystem& fs)
{
    const std::optional<diary::Range> range = diary::Range::elevenYears(firstYear);
    if (!range)
        throw InstallError(QStringLiteral("Das erste Jahr des Tagebuchs muss eine Jahreszahl von %1 bis %2 sein: "
                                          "Seine elf Jahre müssen in die Datumsfelder passen, die bis 9999 "
                                          "reichen.")
                               .arg(diary::kEarliestFirstYear)
                               .arg(diary::kLatestFirstYear)
                               .toStdString());
    try {
        fs.makeFolder(dir);
    } catch (const store::StoreError&) {
        throw InstallError(
            QStringLiteral("Verzeichnis %1 kann nicht angelegt werden.").arg(dir).toStdString());
    }
    // What an interrupted run (or maintenance run) left is finished or
    // cleared first, as the program's start does.
    const QStringList before = existingDiaryFiles(dir, fs);
    store::finishReplacement(fs, dir);
    const QStringList present = existingDiaryFiles(dir, fs);
    if (present.size() > before.size())
        throw InstallError(QStringLiteral("In %1 wurde ein unterbrochen angelegtes Tagebuch fertiggestellt. "
                                          "Es wurde kein neues angelegt.")
                               .arg(dir)
                               .toStdString());
    if (!present.isEmpty()) {
        throw InstallError(
            QStringLiteral("%1 enthält bereits ein Tagebuch (%2). Es wurde kein neues angelegt.")
                .arg(dir, present.join(QStringLiteral(", ")))
                .toStdString());
    }

    const std::vector<Food> foods = parseFoods(foodsText());
    const std::vector<Activity> activities = parseActivities(activitiesText());
    Diary diary = freshDiary(*range, today);
    if (content == Content::Demo)
        fillDemo(diary, *range, foods, activities);

    namespace schema = store::schema;
    const std::vector<Row> foodCatalogue = foodRows(foods), activityCatalogue = activityRows(activities),
                           settings = {settingsFields(diary.settings)};
    store::createTables(dir,
                        {{schema::nrg(), foodCatalogue},
                         {schema::akt(), activityCatalogue},
                         {schema::ntb(), diary.food},
                         {schema::ftb(), diary.activity},
                         {schema::zeb(), diary.days},
                         {schema::xtb(), diary.notes},
                         {schema::reg(), settings}},
                        fs);
}

} // namespace install
