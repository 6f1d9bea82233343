#pragma once

#include "store/table.h"
#include "support/locale.h"
#include "tools/rules/maintenance.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>

namespace testing_support {

// The four diary tables of a folder, opened as the main window holds them:
// the day filters on the current day, the notes unfiltered.
struct DiaryTableSet
{
    explicit DiaryTableSet(const QString& dir, store::FileSystem& fs = store::posixFileSystem());
    maintenance::DiaryTables tables() { return {ntb, ftb, xtb, zeb}; }
    void filtersOff();

    QDate day{2002, 1, 1};
    store::Table ntb, ftb, xtb, zeb;
};

// A diary from the installer (fresh or the eleven-year demo) in a
// temporary folder, to which a test books through the tables, keeping each
// day record's totals the sums of the day's entries.
class BookedDiary
{
public:
    explicit BookedDiary(bool demo = false);
    QString dir() const { return m_dir.path(); }
    QString path(const char* name) const;

    void food(QDate day, const QString& name, qint64 energy, qint64 protein, qint64 carbohydrate, qint64 fat);
    void activity(QDate day, const QString& name, qint64 energy);
    void weight(QDate day, double kg);
    void note(QDate day, const QString& text);

    // The bytes of every diary table file, by name.
    std::map<QString, QByteArray> files() const;

private:
    QTemporaryDir m_dir;
};

// The days whose record's totals differ from the sums of their entries,
// as "YYYY-MM-DD: ..." lines; empty when the diary is consistent.
QStringList totalsMismatches(const QString& dir);

// Copies the diary files of `from` into `to`.
void copyDiary(const QString& from, const QString& to);

} // namespace testing_support
