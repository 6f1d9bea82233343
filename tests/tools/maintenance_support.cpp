#include "maintenance_support.h"

#include "install/installer.h"
#include "support/diary.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace testing_support {

using namespace store;

namespace {

const char* const kTableFiles[] = {"ZEB_NTB.DBF", "ZEB_FTB.dbf", "ZEB_XTB.dbf", "ZEB_ZEB.dbf"};

} // namespace

DiaryTableSet::DiaryTableSet(const QString& dir, FileSystem& fs)
    : ntb(schema::ntb(), fs), ftb(schema::ftb(), fs), xtb(schema::xtb(), fs), zeb(schema::zeb(), fs)
{
    for (Table* t : {&ntb, &ftb, &zeb})
        t->setDayFilter([this] { return day; });
    for (Table* t : {&ntb, &ftb, &xtb, &zeb})
        t->open(dir);
    for (Table* t : {&ntb, &ftb, &zeb})
        t->setFiltered(true);
}

void DiaryTableSet::filtersOff()
{
    for (Table* t : {&ntb, &ftb, &zeb})
        t->setFiltered(false);
}

BookedDiary::BookedDiary(bool demo)
{
    install::layOutDiary(m_dir.path(), demo ? install::Content::Demo : install::Content::Fresh);
}

QString BookedDiary::path(const char* name) const
{
    return QDir(m_dir.path()).filePath(QString::fromLatin1(name));
}

void BookedDiary::food(QDate day, const QString& name, qint64 energy, qint64 protein, qint64 carbohydrate,
                       qint64 fat)
{
    DiaryTableSet t(dir());
    t.day = day;
    t.ntb.refresh();
    t.zeb.refresh();
    t.ntb.insert();
    t.ntb.postFields(testing_support::foodEntry(day, 1.0, QStringLiteral("St."), name, energy, protein,
                                                carbohydrate, fat));
    t.zeb.edit();
    t.zeb.postFields({{"ZEBENERGIE", t.zeb.fieldInt("ZEBENERGIE") + energy},
                      {"ZEBPROTEIN", t.zeb.fieldInt("ZEBPROTEIN") + protein},
                      {"ZEBKOHLENH", t.zeb.fieldInt("ZEBKOHLENH") + carbohydrate},
                      {"ZEBFETT", t.zeb.fieldInt("ZEBFETT") + fat}});
}

void BookedDiary::activity(QDate day, const QString& name, qint64 energy)
{
    DiaryTableSet t(dir());
    t.day = day;
    t.ftb.refresh();
    t.zeb.refresh();
    t.ftb.insert();
    t.ftb.postFields(testing_support::activityEntry(day, 60, name, energy));
    t.zeb.edit();
    t.zeb.setField("ZEBFITNESS", t.zeb.fieldInt("ZEBFITNESS") + energy);
    t.zeb.post();
}

void BookedDiary::weight(QDate day, double kg)
{
    DiaryTableSet t(dir());
    t.day = day;
    t.zeb.refresh();
    t.zeb.edit();
    t.zeb.setField("ZEBGEWICHT", kg);
    t.zeb.post();
}

void BookedDiary::note(QDate day, const QString& text)
{
    DiaryTableSet t(dir());
    t.xtb.insert();
    t.xtb.postFields(testing_support::note(day, {text}));
}

std::map<QString, QByteArray> BookedDiary::files() const
{
    std::map<QString, QByteArray> bytes;
    for (const char* name : kTableFiles) {
        QFile file(QDir(dir()).filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        bytes[QString::fromLatin1(name)] = file.readAll();
    }
    return bytes;
}

QStringList totalsMismatches(const QString& dir)
{
    Table ntb(schema::ntb()), ftb(schema::ftb()), zeb(schema::zeb());
    ntb.open(dir);
    ftb.open(dir);
    zeb.open(dir);
    struct Sums
    {
        qint64 energy = 0, protein = 0, carbohydrate = 0, fat = 0, fitness = 0;
        bool operator==(const Sums&) const = default;
    };
    std::map<QDate, Sums> sums;
    for (ntb.first(); !ntb.eof(); ntb.next()) {
        Sums& s = sums[ntb.fieldDate("NTBDATUM")];
        s.energy += ntb.fieldInt("NTBENERGIE");
        s.protein += ntb.fieldInt("NTBPROTEIN");
        s.carbohydrate += ntb.fieldInt("NTBKOHLENH");
        s.fat += ntb.fieldInt("NTBFETT");
    }
    for (ftb.first(); !ftb.eof(); ftb.next())
        sums[ftb.fieldDate("FTBDATUM")].fitness += ftb.fieldInt("FTBENERGIE");
    QStringList wrong;
    for (zeb.first(); !zeb.eof(); zeb.next()) {
        const QDate day = zeb.fieldDate("ZEBDATUM");
        const Sums record{zeb.fieldInt("ZEBENERGIE"), zeb.fieldInt("ZEBPROTEIN"), zeb.fieldInt("ZEBKOHLENH"),
                          zeb.fieldInt("ZEBFETT"), zeb.fieldInt("ZEBFITNESS")};
        const Sums entries = sums.count(day) ? sums[day] : Sums{};
        if (!(record == entries))
            wrong << QStringLiteral("%1: Tag %2/%3 kJ, Einträge %4/%5 kJ")
                         .arg(day.toString(Qt::ISODate))
                         .arg(record.energy)
                         .arg(record.fitness)
                         .arg(entries.energy)
                         .arg(entries.fitness);
    }
    return wrong;
}

void copyDiary(const QString& from, const QString& to)
{
    // Plain writes: QFile::copy syncs the disk for every file.
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        QFile in(QDir(from).filePath(name)), out(QDir(to).filePath(name));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            << name.toStdString();
        out.write(in.readAll());
    }
}

} // namespace testing_support
