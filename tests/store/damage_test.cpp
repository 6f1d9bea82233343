// Damaged and half-written files: refused with a clear text, mended where the
// damage is the trace of an interrupted append, never a crash.

#include "store/create.h"
#include "store/error.h"
#include "store/table.h"
#include "support/diary.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace store;
using testing_support::contentOf;
using testing_support::SmallDiary;

namespace {

constexpr int kNtbHeader = 32 + 8 * 32 + 1;
constexpr int kNtbRecord = 1 + 8 + 7 + 3 + 30 + 5 + 4 + 4 + 4;

QString openError(const SmallDiary& diary, const TableSchema& schema)
{
    Table table(schema);
    try {
        table.open(diary.dir());
    } catch (const StoreError& e) {
        return e.text();
    }
    return {};
}

QByteArray flipped(QByteArray bytes, int offset, char value)
{
    bytes[offset] = value;
    return bytes;
}

} // namespace

TEST(Damage, BrokenTablesAreRefusedWithTheirName)
{
    struct Case
    {
        const char* what;
        std::function<QByteArray(const QByteArray&)> damage;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"empty file", [](const QByteArray&) { return QByteArray(); }, "beschädigt"},
        {"header cut", [](const QByteArray& b) { return b.left(20); }, "beschädigt"},
        {"descriptors cut", [](const QByteArray& b) { return b.left(100); }, "beschädigt"},
        {"not a dBase file", [](const QByteArray& b) { return flipped(b, 0, 'P'); }, "keine dBase-Tabelle"},
        {"record length zero", [](const QByteArray& b) { return flipped(flipped(b, 10, 0), 11, 0); }, "Satzlänge"},
        {"record length off", [](const QByteArray& b) { return flipped(b, 10, char(kNtbRecord + 1)); }, "Satzlänge"},
        {"header length beyond file",
         [](const QByteArray& b) { return flipped(b, 9, char(0x7F)); }, "Kopflänge"},
        {"terminator missing", [](const QByteArray& b) { return flipped(b, kNtbHeader - 1, 'X'); }, "beschädigt"},
        {"field width zero", [](const QByteArray& b) { return flipped(b, 32 + 16, 0); }, "beschädigt"},
        {"records cut", [](const QByteArray& b) { return b.left(kNtbHeader + kNtbRecord + 10); }, "unvollständig"},
        {"count beyond records", [](const QByteArray& b) { return flipped(b, 4, 9); }, "unvollständig"},
        {"garbled number",
         [](const QByteArray& b) { return flipped(b, kNtbHeader + 1 + 8 + 3, 'x'); }, "Datensatz 1"},
        {"garbled date", [](const QByteArray& b) { return flipped(b, kNtbHeader + kNtbRecord + 5, '#'); }, "Datensatz 2"},
        {"impossible date",
         [](const QByteArray& b) {
             QByteArray c = b;
             c.replace(kNtbHeader + 1, 8, "20051399");
             return c;
         },
         "Datensatz 1"},
        {"bad deletion flag", [](const QByteArray& b) { return flipped(b, kNtbHeader, 'Q'); }, "Datensatz 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDiary diary;
        const QByteArray damaged = c.damage(diary.read("ZEB_NTB.DBF"));
        diary.write("ZEB_NTB.DBF", damaged);
        const QString error = openError(diary, schema::ntb());
        EXPECT_TRUE(error.startsWith("ZEB_NTB.DBF: ")) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.text))) << error.toStdString();
        EXPECT_EQ(diary.read("ZEB_NTB.DBF"), damaged) << "a refused file is never rewritten";
    }
}

TEST(Damage, MissingFilesAndFieldsAreRefused)
{
    SmallDiary diary;
    QFile::remove(diary.path("ZEB_XTB.dbf"));
    EXPECT_EQ(openError(diary, schema::xtb()), "ZEB_XTB.dbf: Datei nicht gefunden.");
    QFile::remove(diary.path("AKTNAME.NDX"));
    EXPECT_EQ(openError(diary, schema::akt()), "AKTNAME.NDX: Datei nicht gefunden.");

    // The food diary's file opened as if it were the activity diary.
    QFile::copy(diary.path("ZEB_NTB.DBF"), diary.path("ZEB_FTB.tmp"));
    QFile::remove(diary.path("ZEB_FTB.dbf"));
    QFile::rename(diary.path("ZEB_FTB.tmp"), diary.path("ZEB_FTB.dbf"));
    EXPECT_EQ(openError(diary, schema::ftb()), "ZEB_FTB.dbf: Feld FTBDATUM fehlt.");

    QDir(diary.dir()).mkdir("ZEB_ZEB.dbf.d");
    QFile::remove(diary.path("ZEB_ZEB.dbf"));
    QDir(diary.dir()).rename("ZEB_ZEB.dbf.d", "ZEB_ZEB.dbf");
    EXPECT_FALSE(openError(diary, schema::zeb()).isEmpty()) << "a folder in place of the table";
}

TEST(Damage, ACountThatLagsCompleteRecordsIsMended)
{
    SmallDiary diary;
    QByteArray bytes = diary.read("ZEB_NTB.DBF");
    bytes[4] = 1; // three records on the disk, the header counts one
    diary.write("ZEB_NTB.DBF", bytes);
    {
        Table ntb(schema::ntb());
        ntb.open(diary.dir());
        EXPECT_EQ(ntb.recordCount(), 3);
    }
    EXPECT_EQ(diary.read("ZEB_NTB.DBF")[4], char(3)) << "the header is mended on the disk";
}

TEST(Damage, ATornLastRecordIsNotServedAndIsOverwrittenByTheNextPost)
{
    SmallDiary diary;
    QByteArray bytes = diary.read("ZEB_NTB.DBF");
    bytes.chop(1); // end mark
    bytes += QByteArray(" 20050301   12.00g  Halb", 24); // an append cut short by a crash
    diary.write("ZEB_NTB.DBF", bytes);

    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_EQ(ntb.recordCount(), 3);
    ntb.insert();
    ntb.setFields(testing_support::foodEntry(testing_support::kDay2, 2.0, QStringLiteral("St."),
                                             QStringLiteral("Banane"), 900, 3, 48, 0));
    ntb.post();
    ntb.close();
    ntb.open(diary.dir());
    EXPECT_EQ(ntb.recordCount(), 4);
    EXPECT_EQ(contentOf(ntb).last(), "2005-03-02|2|St.|Banane|900|3|48|0");
}

TEST(Damage, ARecordOfZerosAfterTheCountIsNotTakenIn)
{
    // A power cut during an append can leave the file one record and its
    // end mark longer than its data, filled with zeros.
    SmallDiary diary;
    QByteArray bytes = diary.read("ZEB_NTB.DBF");
    bytes.chop(1);
    bytes += QByteArray(kNtbRecord + 1, '\0');
    diary.write("ZEB_NTB.DBF", bytes);
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_EQ(ntb.recordCount(), 3);
}

TEST(Damage, MoreThanOneRecordOfTailIsRefusedWithoutReadingIt)
{
    // No crash of one append leaves more: the file is no table of ours.
    SmallDiary diary;
    QByteArray bytes = diary.read("ZEB_NTB.DBF");
    bytes.chop(1);
    bytes += QByteArray(kNtbRecord + 2, '\0');
    diary.write("ZEB_NTB.DBF", bytes);
    Table ntb(schema::ntb());
    try {
        ntb.open(diary.dir());
        FAIL() << "opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("ZEB_NTB.DBF: Datei ist beschädigt (%1 Bytes nach dem letzten Datensatz).")
                                .arg(kNtbRecord + 2));
    }
}

TEST(Damage, EveryFileOfTheCorpusIsRefusedOrOpensCleanly)
{
    // Damaged files kept in the repository; each is opened in place of the
    // table or index its name begins with.
    const QDir corpus(QStringLiteral(KELVARA_SOURCE_DIR "/tests/store/corpus"));
    const QStringList entries = corpus.entryList(QDir::Files);
    ASSERT_FALSE(entries.isEmpty());
    for (const QString& entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        SmallDiary diary;
        const QString target = entry.section(u'.', 0, 1).toUpper();
        const TableSchema* schema = nullptr;
        for (const TableSchema* s : schema::all()) {
            if (QString::fromLatin1(s->fileName).toUpper() == target ||
                (s->indexFileName && QString::fromLatin1(s->indexFileName) == target))
                schema = s;
        }
        ASSERT_NE(schema, nullptr);
        QFile source(corpus.filePath(entry));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const bool isIndex = target.endsWith(".NDX");
        diary.write(isIndex ? schema->indexFileName : schema->fileName, source.readAll());
        Table table(*schema);
        try {
            table.open(diary.dir());
            for (table.first(); !table.eof(); table.next()) {
                for (const FieldSpec& f : schema->fields)
                    table.fieldText(f.name);
            }
            EXPECT_TRUE(entry.contains("-opens")) << "opened although damaged";
        } catch (const StoreError& e) {
            EXPECT_FALSE(entry.contains("-opens")) << e.text().toStdString();
            EXPECT_FALSE(e.text().isEmpty());
        }
    }
}

// A number beyond the range of a field of whole numbers (an energy of 19,
// 20 or 255 digits, from another program that gave the field more room) is
// a damaged record of its own file, never a wrapped value.
TEST(Damage, AWholeNumberBeyondItsRangeIsADamagedRecord)
{
    TableSchema wide = schema::ntb();
    wide.fields[wide.fieldPosition("NTBENERGIE")].width = 255;
    for (const QByteArray& digits : {QByteArray(19, '9'), QByteArray(20, '9'), QByteArray(255, '9'),
                                     "-" + QByteArray(254, '9'), QByteArray("2147483647")}) {
        SCOPED_TRACE(digits.size());
        SmallDiary diary;
        QFile::remove(diary.path("ZEB_NTB.DBF"));
        createTable(diary.dir(), wide, {testing_support::foodEntry(testing_support::kDay1, 1, "g", "Brot", 1)});
        QByteArray bytes = diary.read("ZEB_NTB.DBF");
        const qsizetype field = bytes.size() - 1 - 3 * 4 - 255;
        bytes.replace(field, 255, digits.rightJustified(255, ' '));
        diary.write("ZEB_NTB.DBF", bytes);
        const QString error = openError(diary, schema::ntb());
        EXPECT_EQ(error, digits.size() > 10 ? "ZEB_NTB.DBF: Datensatz 1 ist beschädigt." : "") << error.toStdString();
    }
}
