// The code page that the two diary tables declare. Their names are stored in
// Windows code page 1252, and their headers say so, so that other dBase
// programs that follow the header (Python's dbfread and dbf, GDAL) read the
// names as the program does: in a fresh diary after bookings of every
// character the catalogues hold outside ASCII, and in the demo diary, in a GDAL copy, and after python-dbf
// adds a field to a copy. An
// older diary that declares DOS code page 850 keeps working unchanged.

#include "install/catalogue.h"
#include "install/installer.h"
#include "store/table.h"
#include "support/diary.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace store;

namespace {

// Names with umlauts, "ß" and characters that only code page 1252 holds
// (the en dash, the euro sign).
const QStringList kFoods = {QStringLiteral("Kürbis, gegart"), QStringLiteral("Weißbier"),
                            QStringLiteral("Crème brûlée – süß"), QStringLiteral("Äpfel, 1 € das Kilo")};
const QStringList kActivities = {QStringLiteral("Fußball"), QStringLiteral("Grund- und Arbeitsumsatz 130%")};

bool plain(const QString& name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The names above, and catalogue names until every character outside ASCII
// that the catalogues hold has been booked.
QStringList withCatalogueCharacters(QStringList names, const QStringList& catalogue)
{
    QSet<QChar> booked;
    for (const QString& name : names)
        booked.unite(QSet<QChar>(name.begin(), name.end()));
    for (const QString& name : catalogue) {
        if (std::any_of(name.begin(), name.end(), [&](QChar c) { return c.unicode() >= 0x80 && !booked.contains(c); })) {
            names << name;
            booked.unite(QSet<QChar>(name.begin(), name.end()));
        }
    }
    return names;
}

QStringList foodNames()
{
    QStringList catalogue;
    for (const install::Food& food : install::parseFoods(install::foodsText()))
        catalogue << food.name;
    return withCatalogueCharacters(kFoods, catalogue);
}

QStringList activityNames()
{
    QStringList catalogue;
    for (const install::Activity& activity : install::parseActivities(install::activitiesText()))
        catalogue << activity.name;
    return withCatalogueCharacters(kActivities, catalogue);
}

// Lays out a fresh diary in `dir` and books the names above as the program
// books them.
void freshDiaryWithBookings(const QString& dir)
{
    install::layOutDiary(dir, install::Content::Fresh);
    Table ntb(schema::ntb());
    ntb.open(dir);
    for (const QString& name : foodNames()) {
        ntb.insert();
        ntb.setFields({QDate(2005, 3, 1), 100.0, QStringLiteral("g"), name, qint64(500), qint64(1), qint64(2),
                       qint64(3)});
        ntb.post();
    }
    Table ftb(schema::ftb());
    ftb.open(dir);
    for (const QString& name : activityNames()) {
        ftb.insert();
        ftb.setFields({QDate(2005, 3, 1), qint64(30), name, qint64(700)});
        ftb.post();
    }
}

// The names of `table` in file order, as the program reads them.
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

// A reader of another program: a Python script that prints the field
// argv[2] of every record of the table file argv[1], one line each, decoded
// as the reader decodes it by the file's header. argv[3] is a scratch folder.
struct Reader
{
    const char* name;
    const char* script;
};

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
    // A copy written by GDAL (as ogr2ogr writes one) in the code page the
    // table declares holds the same names.
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
t.close()
)PY"},
};

void PrintTo(const Reader& reader, std::ostream* out)
{
    *out << reader.name;
}

class DiaryNames : public ::testing::TestWithParam<Reader>
{
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

} // namespace

TEST_P(DiaryNames, AnotherReaderReadsTheDiaryNamesOfAFreshDiaryAsWeDo)
{
    QTemporaryDir dir;
    freshDiaryWithBookings(dir.path());
    const struct
    {
        const TableSchema& schema;
        const char* field;
        QStringList names;
    } tables[] = {{schema::ntb(), "NTBNAME", foodNames()}, {schema::ftb(), "FTBNAME", activityNames()}};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.schema.fileName);
        const QString path = QDir(dir.path()).filePath(t.schema.fileName);
        ASSERT_EQ(ourNames(t.schema, t.field, dir.path()), t.names);
        EXPECT_EQ(theirNames(GetParam(), path, t.field), t.names);
    }
}

// The demo diary's activity diary, every record: the food diary holds the
// same kind of names and is read the same way, in a tenth of the time.
TEST_P(DiaryNames, AnotherReaderReadsTheActivityNamesOfTheDemoDiaryAsWeDo)
{
    QTemporaryDir dir;
    install::layOutDiary(dir.path(), install::Content::Demo);
    const QStringList ours = ourNames(schema::ftb(), "FTBNAME", dir.path());
    ASSERT_TRUE(std::any_of(ours.begin(), ours.end(), [](const QString& n) { return !plain(n); }));
    const QStringList theirs = theirNames(GetParam(), QDir(dir.path()).filePath("ZEB_FTB.dbf"), "FTBNAME");
    ASSERT_EQ(theirs.size(), ours.size());
    for (qsizetype i = 0; i < ours.size(); ++i)
        ASSERT_EQ(theirs[i], ours[i]) << "record " << i + 1;
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
            EXPECT_EQ(declaredByte(QDir(dir.path()).filePath(s->fileName)), diary ? 0x03 : 0x02) << s->fileName;
        }
    }
}

TEST(CodePageHeader, PythonDbfAddsAFieldToACopyAndKeepsTheNames)
{
    QTemporaryDir dir;
    freshDiaryWithBookings(dir.path());
    const QString copy = QDir(dir.path()).filePath("copy.dbf");
    ASSERT_TRUE(QFile::copy(QDir(dir.path()).filePath("ZEB_NTB.DBF"), copy));
    const QString names = testing_support::runScript(QStringLiteral("python3"), QStringLiteral(R"PY(
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
t.add_fields('NOTIZ C(20)')
with t[0] as r:
    r.notiz = 'Größe'
t.close()
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
for r in t:
    print(r.ntbname.rstrip(' ') + '|' + r.notiz.rstrip(' '))
t.close()
)PY"),
                                                     {copy});
    QStringList expected;
    for (const QString& food : foodNames())
        expected << food + (expected.isEmpty() ? QStringLiteral("|Größe") : QStringLiteral("|"));
    EXPECT_EQ(names.split(u'\n', Qt::SkipEmptyParts), expected);
}

// A diary laid out before the tables declared their code page: the program
// reads and writes its names by field, whatever the header says, and leaves
// the header as it is.
TEST(CodePageHeader, ADiaryDeclaringDosCodePage850KeepsItsHeaderAndItsNames)
{
    QTemporaryDir dir;
    freshDiaryWithBookings(dir.path());
    for (const TableSchema* s : {&schema::ntb(), &schema::ftb()}) {
        QFile file(QDir(dir.path()).filePath(s->fileName));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(29);
        file.write("\x02", 1);
    }
    {
        Table ntb(schema::ntb());
        ntb.open(dir.path());
        ntb.insert();
        ntb.setFields({QDate(2005, 3, 2), 1.0, QStringLiteral("St."), QStringLiteral("Brötchen"), qint64(500),
                       qint64(1), qint64(2), qint64(3)});
        ntb.post();
    }
    const QString path = QDir(dir.path()).filePath("ZEB_NTB.DBF");
    EXPECT_EQ(declaredByte(path), 0x02);
    EXPECT_EQ(ourNames(schema::ntb(), "NTBNAME", dir.path()), foodNames() + QStringList{QStringLiteral("Brötchen")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Br\xF6tchen")) << "stored in code page 1252";
    EXPECT_EQ(ourNames(schema::ftb(), "FTBNAME", dir.path()), activityNames());
}
