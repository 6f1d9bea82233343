#pragma once

#include "store/create.h"
#include "store/table.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

// A small diary in a temporary folder: a few foods (one with an umlaut),
// two activities, bookings on two days, day records for 2005-03-01 ... 07,
// one note and the settings record.
class SmallDiary
{
public:
    SmallDiary();
    QString dir() const { return m_dir.path(); }
    QString path(const char* name) const;

    QByteArray read(const char* name) const;
    void write(const char* name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

inline const QDate kDay1{2005, 3, 1};
inline const QDate kDay2{2005, 3, 2};

// Whole records of the diary's tables, by field name.
store::Fields foodEntry(QDate day, double amount, const QString& unit, const QString& name, qint64 energy,
                        qint64 protein = 0, qint64 carbohydrate = 0, qint64 fat = 0);
store::Fields activityEntry(QDate day, qint64 minutes, const QString& name, qint64 energy);
store::Fields dayRecord(QDate day, double weight, qint64 energy, qint64 protein, qint64 carbohydrate,
                        qint64 fat, qint64 fitness);
store::Fields foodItem(qint64 category, const QString& name, qint64 unit, qint64 energy, double protein,
                       double carbohydrate, double fat);
store::Fields activityItem(qint64 category, const QString& name, qint64 energy);
// A note of up to eight parts of 250 characters.
store::Fields note(QDate day, const QStringList& parts);

// Every live record of `table` in visiting order, each as "field|field|..."
// in declared order; the filter is switched off for the walk.
QStringList contentOf(store::Table& table);

// Removes the entries of `day` named `name` from the food or the activity
// diary through a replacement of the whole file, as a maintenance run
// removes entries: records marked deleted leave the file with them.
void removeEntries(store::Table& diary, QDate day, const QString& name);

// Python or Perl run on a script; returns its standard output. Fails the
// test when the interpreter reports an error.
QString runScript(const QString& interpreter, const QString& script, const QStringList& args);

// Every live record of a table file as Python's dbfread reads it, in the
// form of contentOf (file order).
QStringList dbfreadContent(const QString& path);

// The values of `field` in the order in which Perl's XBase walks the index.
QStringList xbaseIndexOrder(const QString& table, const QString& index, const char* field);

} // namespace testing_support
