#include "install/installer.h"

#include "install/catalogue.h"
#include "main/diary/activity.h"
#include "main/diary/booking.h"
#include "main/draw/chart.h"
#include "store/create.h"
#include "store/fileio.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace install {
namespace {

using store::Row;
using store::Unchanged;

constexpr qint64 kEnergyCap = 99999;

std::vector<Row> foodRows(const std::vector<Food>& foods)
{
    std::vector<Row> rows;
    for (const Food& f : foods) {
        rows.push_back({qint64(f.category), f.name, qint64(f.unit), qint64(f.energy), f.protein, f.carbohydrate,
                        f.fat});
    }
    return rows;
}

std::vector<Row> activityRows(const std::vector<Activity>& activities)
{
    std::vector<Row> rows;
    for (const Activity& a : activities)
        rows.push_back({qint64(a.category), a.name, qint64(1), qint64(a.energy)});
    return rows;
}

// The chart of a new diary opens on its last weeks: at every time-axis level
// the days before 2012-12-29, the latest day the program opens on, end the
// window.
const QDate kChartEnd(2012, 12, 28);

Row settingsRow()
{
    // NF SF SZX SBM1-3 AF SZY1 SBM4-6 SZY2-7 SG CBG CBA CBB CBH CBM EE EF EP EK EA
    Row row{qint64(1), qint64(1), qint64(1), qint64(0), qint64(0), qint64(0), qint64(0), qint64(2),
            qint64(61), qint64(61), qint64(61), qint64(2), qint64(2), qint64(2), qint64(2), qint64(2),
            qint64(2), qint64(0), qint64(0), qint64(0), qint64(0), qint64(0), qint64(0), QStringLiteral("0"),
            QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), qint64(0)};
    for (int level = 1; level <= 3; ++level)
        row[2 + level] = qint64(chart::scrollToShowAtRightEdge(kFirstDay, kChartEnd, level));
    return row;
}

struct Diary
{
    std::vector<Row> days;
    std::vector<Row> food;
    std::vector<Row> activity;
    std::vector<Row> notes;
    Row settings = settingsRow();
};

// The person of the demo diary: a man of 31 to 60 years in light work,
// 180 cm tall, aiming at 75 kg, who books his whole day at 130 % of the
// basal rate and his sport on top.
constexpr int kDemoBasalA = 48;
constexpr int kDemoBasalB = 3653;
constexpr int kDemoDayPercent = 130;

Diary freshDiary()
{
    Diary diary;
    for (QDate d = kFirstDay; d <= kLastDay; d = d.addDays(1))
        diary.days.push_back({d, 0.0, qint64(0), qint64(0), qint64(0), qint64(0), qint64(0)});
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
void fillDemo(Diary& diary, const std::vector<Food>& foods, const std::vector<Activity>& activities)
{
    // Sex, age group, work, height 180 cm, desired weight 75 kg, and goals.
    const std::pair<int, store::Value> person[] = {{18, qint64(1)},  {19, qint64(3)},  {20, qint64(1)},
                                                   {21, qint64(41)}, {22, qint64(36)}, {23, QStringLiteral("9400")},
                                                   {24, QStringLiteral("70")},       {25, QStringLiteral("80")},
                                                   {26, QStringLiteral("300")}};
    for (const auto& [position, value] : person)
        diary.settings[position] = value;

    std::mt19937 random(20020101);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::normal_distribution<double> drift(0.0, 0.25);
    double weight = 86.0;

    static const int minutes[] = {15, 20, 30, 45, 60, 90};

    for (QDate day = kFirstDay; day <= kLastDemoDay; day = day.addDays(1)) {
        weight += drift(random) - 0.004 * (weight - 80.0);
        weight = std::clamp(weight, 55.0, 130.0);
        const double dayWeight = std::round(weight * 10) / 10;

        qint64 energy = 0, protein = 0, carbohydrate = 0, fat = 0, fitness = 0;
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
            QString unit = QStringLiteral("St.");
            if (f.unit == Gram) {
                amount = f.energy > 0 ? std::clamp(std::round(share * 100 / f.energy / 25) * 25, 25.0, 400.0) : 100;
                factor = amount / 100;
                unit = QStringLiteral("g");
            } else if (f.unit == Millilitre) {
                amount = f.energy > 0 ? std::clamp(std::round(share * 100 / f.energy / 50) * 50, 100.0, 500.0) : 250;
                factor = amount / 100;
                unit = QStringLiteral("ml");
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
            const booking::Entry booked =
                booking::bookedEntry(row, booking::quantityKind(f.unit), factor, std::nullopt);
            const qint64 e = booked.energy;
            const qint64 p = booked.protein;
            const qint64 c = booked.carbohydrate;
            const qint64 t = booked.fat;
            diary.food.push_back({day, amount, unit, f.name, e, p, c, t});
            energy += e;
            protein += p;
            carbohydrate += c;
            fat += t;
        }

        const qint64 wholeDay =
            kDemoDayPercent * (static_cast<qint64>(dayWeight) * kDemoBasalA + kDemoBasalB) / 100;
        diary.activity.push_back({day, qint64(1440), QStringLiteral("Grund- und Arbeitsumsatz 130%"), wholeDay});
        fitness += wholeDay;

        std::set<QString> done;
        const int sessions = uniform(0, 2);
        while (static_cast<int>(done.size()) < sessions) {
            const Activity& a = activities[uniform(0, static_cast<int>(activities.size()) - 1)];
            if (!done.insert(a.name).second)
                continue;
            const int m = minutes[uniform(0, 5)];
            const qint64 e = std::min(kEnergyCap, activity::energy(a.energy, static_cast<int>(dayWeight), m));
            diary.activity.push_back({day, qint64(m), a.name, e});
            fitness += e;
        }

        const qint64 dayIndex = kFirstDay.daysTo(day);
        diary.days[dayIndex] = Row{day,
                                   dayWeight,
                                   std::min(kEnergyCap, energy),
                                   std::min(kEnergyCap, protein),
                                   std::min(kEnergyCap, carbohydrate),
                                   std::min(kEnergyCap, fat),
                                   std::min(kEnergyCap, fitness)};

        if (uniform(0, 4) == 0) {
            QString note;
            const int sentences = uniform(1, 4);
            for (int s = 0; s < sentences; ++s) {
                if (!note.isEmpty())
                    note += u' ';
                note += QString::fromUtf8(kNoteSentences[uniform(0, static_cast<int>(std::size(kNoteSentences)) - 1)]);
            }
            Row row{day, qint64(0)};
            for (int part = 0; part < 8; ++part)
                row.push_back(note.mid(part * 250, 250));
            diary.notes.push_back(row);
        }
    }
}

} // namespace

QStringList existingDiaryFiles(const QString& dir)
{
    QStringList present;
    for (const char* name : store::schema::diaryFileNames()) {
        const QString found = store::findFile(dir, QString::fromLatin1(name));
        if (!found.isEmpty())
            present << QFileInfo(found).fileName();
    }
    return present;
}

void layOutDiary(const QString& dir, Content content)
{
    if (!QDir().mkpath(dir))
        throw InstallError(QStringLiteral("Verzeichnis %1 kann nicht angelegt werden.").arg(dir).toStdString());
    const QStringList present = existingDiaryFiles(dir);
    if (!present.isEmpty()) {
        throw InstallError(QStringLiteral("%1 enthält bereits ein Tagebuch (%2). Es wurde nichts verändert.")
                               .arg(dir, present.join(QStringLiteral(", ")))
                               .toStdString());
    }

    const std::vector<Food> foods = parseFoods(foodsText());
    const std::vector<Activity> activities = parseActivities(activitiesText());
    Diary diary = freshDiary();
    if (content == Content::Demo)
        fillDemo(diary, foods, activities);

    namespace schema = store::schema;
    try {
        store::createTable(dir, schema::nrg(), foodRows(foods));
        store::createTable(dir, schema::akt(), activityRows(activities));
        store::createTable(dir, schema::ntb(), diary.food);
        store::createTable(dir, schema::ftb(), diary.activity);
        store::createTable(dir, schema::zeb(), diary.days);
        store::createTable(dir, schema::xtb(), diary.notes);
        store::createTable(dir, schema::reg(), {diary.settings});
        store::posixFileSystem().syncDirectory(dir);
    } catch (...) {
        // Leave no half diary behind: take back what this run wrote.
        const QStringList written = existingDiaryFiles(dir);
        for (const QString& name : written)
            QFile::remove(QDir(dir).filePath(name));
        throw;
    }
}

} // namespace install
