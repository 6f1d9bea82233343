// The code page that the two diary tables declare. Their names are stored in
// Windows code page 1252 and their headers say so, so that other dBase
// programs that follow the header (Python's dbfread and dbf, GDAL) read the
// names as the program does, in a fresh diary after bookings and in the demo
// diary, also in a copy GDAL writes and after python-dbf adds a field. An
// older diary that declares DOS code page 850 keeps working unchanged.

#include "install/installer.h"
#include "store/table.h"
#include "support/diary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace store;

namespace {

// Umlauts, "ß", accents, and characters only code page 1252 holds (the en
// dash, the euro sign).
const QStringList kFoods = {QStringLiteral("Kürbis, gegart"), QStringLiteral("Weißbier"),
                            QStringLiteral("Crème brûlée – süß"), QStringLiteral("Äpfel, Öl, Übermaß, 1 €")};
const QStringList kActivities = {QStringLiteral("Fußball"), QStringLiteral("Grund- und Arbeitsumsatz 130%")};

// A fresh diary in `dir` with the names above booked as the program books.
void freshDiaryWithBookings(const QString& dir)
{
    install::layOutDiary(dir, install::Content::Fresh);
    Table ntb(schema::ntb());
    ntb.open(dir);
    for (const QString& name : kFoods) {
        ntb.insert();
        ntb.setFields(
            testing_support::foodEntry(QDate(2005, 3, 1), 100.0, QStringLiteral("g"), name, 500, 1, 2, 3));
        ntb.post();
    }
    Table ftb(schema::ftb());
    ftb.open(dir);
    for (const QString& name : kActivities) {
        ftb.insert();
        ftb.setFields(testing_support::activityEntry(QDate(2005, 3, 1), 30, name, 700));
        ftb.post();
    }
}

// The names of a diary table in file order, as the program reads them.
QStringList ourNames(const TableSchema& schema, const char* field, const QString& dir)
{
    Table table(schema);
    table.open(dir);
    table.setFiltered(false);
    QStringList names;
    for (table.first(); !table.eof(); table.next())
        names << table.fieldText(field).trimmed();
    return names;
}

// Another program's reader: a Python script that prints the field argv[2]
// of every record of the table file argv[1], decoded as that reader decodes
// it by the header; argv[3] is a scratch folder.
struct Reader
{
    const char* name;
    const char* script;
};

void PrintTo(const Reader& reader, std::ostream* out)
{
    *out << reader.name;
}

const Reader kReaders[] = {
    {"dbfread", R"PY(
import sys, dbfread
for r in dbfread.DBF(sys.argv[1]):
    print(r[sys.argv[2]].rstrip(' '))
)PY"},
    {"gdal", R"PY(
import sys
from osgeo import ogr
ogr.UseExceptions()
ds = ogr.Open(sys.argv[1])
for f in ds.GetLayer(0):
    print(f.GetField(sys.argv[2]) or '')
)PY"},
    // A copy as ogr2ogr writes one, in the code page the table declares.
    {"gdal_copy", R"PY(
import sys, os
from osgeo import gdal, ogr
gdal.UseExceptions()
copy = os.path.join(sys.argv[3], 'copy.dbf')
gdal.VectorTranslate(copy, sys.argv[1], format='ESRI Shapefile', layerCreationOptions=['ENCODING=CP1252'])
ds = ogr.Open(copy)
for f in ds.GetLayer(0):
    print(f.GetField(sys.argv[2]) or '')
)PY"},
    {"python_dbf", R"PY(
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
for r in t:
    print(r[sys.argv[2].lower()].rstrip(' '))
)PY"},
    // A field added to a copy: python-dbf rewrites every record.
    {"python_dbf_add_fields", R"PY(
import sys, os, shutil, dbf
copy = os.path.join(sys.argv[3], 'copy.dbf')
shutil.copy(sys.argv[1], copy)
t = dbf.Table(copy)
t.open(dbf.READ_WRITE)
t.add_fields('NOTIZ C(20)')
t.close()
t = dbf.Table(copy)
t.open(dbf.READ_ONLY)
for r in t:
    print(r[sys.argv[2].lower()].rstrip(' '))
)PY"},
};

QStringList theirNames(const Reader& reader, const QString& path, const char* field)
{
    QTemporaryDir scratch;
    return testing_support::runScript(QStringLiteral("python3"), QString::fromUtf8(reader.script),
                                      {path, QString::fromLatin1(field), scratch.path()})
        .split(u'\n', Qt::SkipEmptyParts);
}

quint8 declaredByte(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return static_cast<quint8>(file.read(32).at(29));
}

class DiaryNames : public ::testing::TestWithParam<Reader>
{
};

} // namespace

TEST_P(DiaryNames, AnotherReaderReadsTheNamesOfAFreshDiaryAsWeDo)
{
    QTemporaryDir dir;
    freshDiaryWithBookings(dir.path());
    ASSERT_EQ(ourNames(schema::ntb(), "NTBNAME", dir.path()), kFoods);
    EXPECT_EQ(theirNames(GetParam(), QDir(dir.path()).filePath("ZEB_NTB.DBF"), "NTBNAME"), kFoods);
    EXPECT_EQ(theirNames(GetParam(), QDir(dir.path()).filePath("ZEB_FTB.dbf"), "FTBNAME"), kActivities);
}

// The demo diary's activity diary, every record: its food diary holds the
// same kind of names and is read the same way, in ten times the time.
TEST_P(DiaryNames, AnotherReaderReadsTheNamesOfTheDemoDiaryAsWeDo)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    const QStringList ours = ourNames(schema::ftb(), "FTBNAME", dir.path());
    ASSERT_TRUE(std::any_of(ours.begin(), ours.end(), [](const QString& n) { return n.contains(u'ß'); }));
    EXPECT_EQ(theirNames(GetParam(), QDir(dir.path()).filePath("ZEB_FTB.dbf"), "FTBNAME"), ours);
}

INSTANTIATE_TEST_SUITE_P(Readers, DiaryNames, ::testing::ValuesIn(kReaders),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CodePageHeader, TheDiaryTablesDeclareWindowsAnsiAndTheRestDosCodePage850)
{
    for (const install::Content content : {install::Content::Fresh, install::Content::Demo}) {
        QTemporaryDir dir;
        install::layOutDiary(dir.path(), content);
        for (const TableSchema* s : schema::all()) {
            const bool diary = s == &schema::ntb() || s == &schema::ftb();
            EXPECT_EQ(declaredByte(QDir(dir.path()).filePath(s->fileName)), diary ? 0x03 : 0x02)
                << s->fileName;
        }
    }
}

// A diary laid out before the tables declared their code page: the program
// reads and writes its names by field, whatever the header says, and leaves
// the header as it is.
TEST(CodePageHeader, ADiaryDeclaringDosCodePage850KeepsItsHeaderAndItsNames)
{
    QTemporaryDir dir;
    freshDiaryWithBookings(dir.path());
    const QString path = QDir(dir.path()).filePath("ZEB_NTB.DBF");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(29);
        file.write("\x02", 1);
    }
    {
        Table ntb(schema::ntb());
        ntb.open(dir.path());
        ntb.insert();
        ntb.setFields({{"NTBDATUM", QDate(2005, 3, 2)},
                       {"NTBMENGE", 1.0},
                       {"NTBME", QStringLiteral("St.")},
                       {"NTBNAME", QStringLiteral("Brötchen")}});
        ntb.post();
    }
    EXPECT_EQ(declaredByte(path), 0x02);
    EXPECT_EQ(ourNames(schema::ntb(), "NTBNAME", dir.path()),
              kFoods + QStringList{QStringLiteral("Brötchen")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Br\xF6tchen")) << "stored in code page 1252";
}
