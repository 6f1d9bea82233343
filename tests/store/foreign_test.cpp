// A diary folder from elsewhere and files shared with other programs: the
// table layer opens, creates, renames and removes only plain files of the
// diary's names in its folder, never through a link, and a list of renames
// it did not write decides nothing; a table another program changed while
// it was open is read anew before the next write, so that both changes are
// kept.

#include "store/error.h"
#include "store/table.h"
#include "support/diary.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace store;
using testing_support::contentOf;
using testing_support::dbfreadContent;
using testing_support::kDay1;
using testing_support::kDay2;
using testing_support::runScript;
using testing_support::SmallDiary;

namespace {

// A folder outside the diary with a text file in it, which nothing the
// diary does may change.
class Outside
{
public:
    Outside()
    {
        QFile file(victim());
        file.open(QIODevice::WriteOnly);
        file.write(kText);
    }
    QString dir() const { return m_dir.path(); }
    QString victim() const { return QDir(m_dir.path()).filePath("victim.txt"); }
    QString path(const char* name) const { return QDir(m_dir.path()).filePath(QString::fromLatin1(name)); }
    // The folder holds the victim unchanged and nothing else.
    ::testing::AssertionResult untouched() const
    {
        const QStringList entries =
            QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        if (entries != QStringList{"victim.txt"})
            return ::testing::AssertionFailure() << "outside: " << entries.join(' ').toStdString();
        QFile file(victim());
        file.open(QIODevice::ReadOnly);
        if (file.readAll() != kText)
            return ::testing::AssertionFailure() << "the outside file changed";
        return ::testing::AssertionSuccess();
    }

private:
    static constexpr const char* kText = "Meine eigene Datei, die niemand anderes schreibt.\n";
    QTemporaryDir m_dir;
};

void symlinkTo(const QString& target, const QString& link)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList foodDiary(const QString& dir)
{
    Table ntb(schema::ntb());
    ntb.open(dir);
    return contentOf(ntb);
}

// The peak of this process's resident memory, in KiB.
qint64 peakMemoryKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

} // namespace

// Lists of renames planted in the folder: only bare table names (or the
// strictly valid lines of the previous version) decide a replacement;
// anything else decides nothing, and its leftovers are removed.
TEST(ForeignFolder, APlantedListOfRenamesDecidesNothing)
{
    SmallDiary model;
    const QStringList old = foodDiary(model.dir());
    // The new food diary a decided replacement would put in place.
    QByteArray replacement;
    {
        Table ntb(schema::ntb());
        ntb.open(model.dir());
        testing_support::removeEntries(ntb, kDay1, QStringLiteral("Käse, Gouda"));
        QFile file(model.path("ZEB_NTB.DBF"));
        file.open(QIODevice::ReadOnly);
        replacement = file.readAll();
    }
    const QStringList replaced = foodDiary(model.dir());
    ASSERT_NE(old, replaced);

    struct Case
    {
        const char* what;
        QByteArray list;
        bool decides;
    };
    Outside outside;
    const QByteArray victim = QFile::encodeName(outside.victim());
    const std::vector<Case> cases = {
        {"bare name", "ZEB_NTB.DBF\n", true},
        {"line of the previous version", "ZEB_NTB.DBF.neu\tZEB_NTB.DBF\n", true},
        {"rename outside", "ZEB_NTB.DBF.neu\t" + victim + "\n", false},
        {"new file from outside", "planted.bin\t" + victim + "\n", false},
        {"absolute names",
         "@DIR@/ZEB_REG.dbf\t../" + QFile::encodeName(QFileInfo(outside.dir()).fileName()) +
             "/moved-away.dbf\n",
         false},
        {"path in a bare name", "../ZEB_NTB.DBF\n", false},
        {"absolute bare name", victim + "\n", false},
        {"index name", "NRGNAME.NDX\n", false},
        {"name outside the diary", "planted.bin\n", false},
        {"previous version's line for another name", "ZEB_NTB.DBF.neu\tZEB_FTB.dbf\n", false},
        {"a table twice", "ZEB_NTB.DBF\nZEB_NTB.DBF\n", false},
        {"no line end", "ZEB_NTB.DBF", false},
        {"carriage return", "ZEB_NTB.DBF\r\n", false},
        {"empty", "", false},
        {"valid line after 600 bytes", QByteArray(600, '#') + "\nZEB_NTB.DBF\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDiary diary;
        writeFile(diary.path("ZEB_NTB.DBF.neu"), replacement);
        writeFile(diary.path("planted.bin"), "planted");
        writeFile(diary.path("ZEB_NEU.LST"),
                  QByteArray(c.list).replace("@DIR@", QFile::encodeName(diary.dir())));
        Table reg(schema::reg());
        ASSERT_NO_THROW(reg.open(diary.dir()));
        EXPECT_EQ(foodDiary(diary.dir()), c.decides ? replaced : old);
        EXPECT_TRUE(QFile::exists(diary.path("ZEB_REG.dbf")));
        EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
        EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.neu")));
        EXPECT_TRUE(QFile::exists(diary.path("planted.bin"))) << "not a name of the diary";
        EXPECT_TRUE(outside.untouched());
    }
}

// A list that is a giant sparse file is neither read nor obeyed.
TEST(ForeignFolder, AGiantSparseListIsNotRead)
{
    SmallDiary diary;
    const QStringList old = foodDiary(diary.dir());
    writeFile(diary.path("ZEB_NTB.DBF.neu"), "kein dBase");
    {
        QFile list(diary.path("ZEB_NEU.LST"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("ZEB_NTB.DBF\n");
        ASSERT_TRUE(list.resize(qint64(2) << 30));
    }
    const qint64 before = peakMemoryKiB();
    Table ntb(schema::ntb());
    ASSERT_NO_THROW(ntb.open(diary.dir()));
    EXPECT_LT(peakMemoryKiB() - before, 64 * 1024) << "KiB read in";
    EXPECT_EQ(contentOf(ntb), old);
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NTB.DBF.neu")));
}

// A broken link named as a new table file: the start removes it (a plain
// listing of files does not see it), and one planted while the program
// runs is removed, not followed, by the next replacement, which creates a
// new file of its own.
TEST(ForeignFolder, ALinkNamedAsANewTableFileIsRemovedAndNeverFollowed)
{
    SmallDiary diary;
    Outside outside;
    const QString link = diary.path("ZEB_NTB.DBF.neu");
    symlinkTo(outside.path("created-outside.dbf"), link);
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "removed at the start";

    symlinkTo(outside.path("created-outside.dbf"), link);
    const QStringList before = contentOf(ntb);
    EXPECT_NO_THROW(testing_support::removeEntries(ntb, kDay1, QStringLiteral("Käse, Gouda")));
    EXPECT_TRUE(outside.untouched());
    EXPECT_FALSE(QFileInfo(diary.path("ZEB_NTB.DBF")).isSymLink());
    EXPECT_EQ(contentOf(ntb).size(), before.size() - 1) << "the table as it was, usable";
    EXPECT_FALSE(QFile::exists(diary.path("ZEB_NEU.LST")));
}

// A table moved away and linked back while it is open: the next write is
// refused instead of going through the link.
TEST(ForeignFolder, ATableReplacedByALinkWhileOpenIsNotWrittenThrough)
{
    SmallDiary diary;
    Outside outside;
    Table xtb(schema::xtb());
    xtb.open(diary.dir());
    ASSERT_TRUE(QFile::rename(diary.path("ZEB_XTB.dbf"), outside.path("moved.dbf")));
    symlinkTo(outside.path("moved.dbf"), diary.path("ZEB_XTB.dbf"));
    QFile moved(outside.path("moved.dbf"));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    const QByteArray bytes = moved.readAll();
    xtb.insert();
    try {
        xtb.postFields(testing_support::note(kDay2, {QStringLiteral("Durch den Verweis?")}));
        ADD_FAILURE() << "written through the link";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.text().contains("symbolischer Verweis")) << e.text().toStdString();
    }
    moved.seek(0);
    EXPECT_EQ(moved.readAll(), bytes);
}

// Hard links and a folder swapped while the program runs: a planted new
// file that is a link to an outside file, a table with another name (at
// the start, made while open, renamed in), the diary folder moved away and
// replaced by a link to another one. Bookings and a replacement change no
// file outside the diary, and land in the diary.
TEST(ForeignFolder, NoWriteReachesAFileOutsideTheDiary)
{
    const auto link = [](const QString& from, const QString& to) {
        return [=] { ASSERT_EQ(::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0); };
    };
    SmallDiary diary;
    Outside outside;
    const QString table = diary.path("ZEB_NTB.DBF"), backup = outside.path("backup.dbf");
    const auto outsideFiles = [&] {
        QStringList bytes;
        for (const QString& name : QDir(outside.dir()).entryList(QDir::Files)) {
            QFile file(QDir(outside.dir()).filePath(name));
            bytes << name + (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex()) : "");
        }
        return bytes;
    };
    const std::function<void()> none = [] {};
    const struct
    {
        const char* what;
        std::function<void()> beforeOpen, whileOpen;
    } cases[] = {
        {"link planted as the new file", none, link(outside.victim(), table + ".neu")},
        {"table with another name", link(table, backup), none},
        {"another name made while open", none, link(table, backup)},
        {"linked table renamed in", none,
         [&] {
             QFile::copy(table, backup);
             link(backup, diary.path("renamed"))();
             QFile::rename(diary.path("renamed"), table);
         }},
        {"folder swapped for a link", none,
         [&] {
             QFile::rename(diary.dir(), diary.dir() + ".weg");
             symlinkTo(outside.dir(), diary.dir());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(backup);
        c.beforeOpen();
        Table ntb(schema::ntb());
        ntb.open(diary.dir());
        c.whileOpen();
        const QStringList before = outsideFiles(), rows = contentOf(ntb);
        for (const char* name : {"Birne", "Pflaume"}) {
            ntb.insert();
            ntb.postFields(testing_support::foodEntry(kDay2, 1.0, "St.", name, 350));
        }
        EXPECT_NO_THROW(testing_support::removeEntries(ntb, kDay2, QStringLiteral("Pflaume")));
        EXPECT_EQ(outsideFiles(), before);
        if (QFileInfo(diary.dir()).isSymLink() && QFile::remove(diary.dir()))
            QFile::rename(diary.dir() + ".weg", diary.dir());
        ntb.close();
        EXPECT_EQ(foodDiary(diary.dir()).size(), rows.size() + 1) << "two booked, one removed";
        EXPECT_TRUE(foodDiary(diary.dir()).contains("2005-03-02|1|St.|Birne|350|0|0|0"));
    }
}

// ------------------------------------------------------------------ shared

namespace {

// Runs Python's dbf on the table `file` of `dir`: `code` sees it as `t`,
// opened for writing, and `datetime`.
void withPythonDbf(const QString& dir, const char* file, const char* code)
{
    const QString script = QStringLiteral("import sys, datetime, dbf\n"
                                          "t = dbf.Table(sys.argv[1])\n"
                                          "t.open(dbf.READ_WRITE)\n"
                                          "%1\n"
                                          "t.close()\n")
                               .arg(QString::fromUtf8(code));
    runScript(QStringLiteral("python3"), script, {QDir(dir).filePath(QString::fromLatin1(file))});
}

const char* const kAppendQuark = "t.append((datetime.date(2005, 3, 1), 250, 'g', 'Quark', 300, 30, 10, 1))";

} // namespace

// Another program changes a table while it is open; the program's next
// write keeps both changes, or refuses an edit of a record the other
// program changed, and the file reads right in an independent reader.
TEST(SharedFile, AnotherProgramsChangeIsKeptByTheNextWrite)
{
    struct Case
    {
        const char* what;
        const char* file;
        const char* theirs;
        std::function<void(Table&)> ours;
        QStringList expected; // by dbfread, in file order
        bool refused = false;
    };
    const QString quark = "2005-03-01|250|g|Quark|300|30|10|1";
    const QString birne = "2005-03-01|1|St.|Birne|350|0|0|0";
    const QStringList foods = {"2005-03-01|100|g|Käse, Gouda|1500|25|0|29",
                               "2005-03-02|1|St.|Apfel|300|0|16|0", "2005-03-01|0.25|St.|Apfel|75|0|4|0"};
    const auto insertBirne = [](Table& ntb) {
        ntb.insert();
        ntb.postFields(
            testing_support::foodEntry(kDay1, 1.0, QStringLiteral("St."), QStringLiteral("Birne"), 350));
    };
    const auto editApfel = [](Table& ntb) {
        ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
        ntb.edit();
        ntb.postFields({{"NTBMENGE", 0.5}, {"NTBENERGIE", qint64(150)}, {"NTBKOHLENH", qint64(8)}});
    };
    const std::vector<Case> cases = {
        {"their append, our append", "ZEB_NTB.DBF", kAppendQuark, insertBirne,
         foods + QStringList{quark, birne}},
        {"their append, our edit of the current record", "ZEB_NTB.DBF", kAppendQuark, editApfel,
         QStringList{foods[0], foods[1], "2005-03-01|0.5|St.|Apfel|150|0|8|0", quark}},
        {"their edit of the record we edit", "ZEB_NTB.DBF",
         "r = t[2]\nwith r:\n    r.ntbmenge = 3\n    r.ntbenergie = 900", editApfel,
         QStringList{foods[0], foods[1], "2005-03-01|3|St.|Apfel|900|0|4|0"}, true},
        {"their edit of the record we edit, its file time put back", "ZEB_NTB.DBF",
         "import os\ns = os.stat(sys.argv[1])\nwith t[2] as r:\n    r.ntbenergie = 900\nt.close()\n"
         "os.utime(sys.argv[1], ns=(s.st_atime_ns, s.st_mtime_ns))\nt.open(dbf.READ_WRITE)",
         editApfel, QStringList{foods[0], foods[1], "2005-03-01|0.25|St.|Apfel|900|0|4|0"}, true},
        {"their deletion and pack, our append", "ZEB_NTB.DBF", "dbf.delete(t[0])\nt.pack()", insertBirne,
         QStringList{foods[1], foods[2], birne}},
        {"their note on another day, our first note of the day", "ZEB_XTB.dbf",
         "t.append((datetime.date(2005, 3, 2), 0, 'Von anderswo.'))",
         [](Table& xtb) {
             xtb.insert();
             xtb.postFields(testing_support::note(kDay1.addDays(4), {QStringLiteral("Eigene Notiz.")}));
         },
         QStringList{"2005-03-01|0|Erster Tag.|||||||", "2005-03-02|0|Von anderswo.|||||||",
                     "2005-03-05|0|Eigene Notiz.|||||||"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDiary diary;
        // A file time well in the past: their change gives the file a new
        // one however coarse the file system's clock.
        QFile file(diary.path(c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime(QDate(2005, 3, 1), QTime(12, 0)), QFileDevice::FileModificationTime));
        file.close();
        Table table(c.file == QLatin1String("ZEB_NTB.DBF") ? schema::ntb() : schema::xtb());
        table.open(diary.dir());
        QDate day = kDay1;
        if (c.file == QLatin1String("ZEB_NTB.DBF")) {
            table.setDayFilter([&] { return day; });
            table.setFiltered(true);
        }
        // The other program writes between our reading and our writing.
        const auto theirs = [&] { withPythonDbf(diary.dir(), c.file, c.theirs); };
        if (c.refused) {
            ASSERT_TRUE(table.locate("NTBNAME", QStringLiteral("Apfel")));
            table.edit();
            theirs();
            try {
                table.postFields({{"NTBMENGE", 0.5}, {"NTBENERGIE", qint64(150)}});
                ADD_FAILURE() << "their change overwritten";
            } catch (const StoreError& e) {
                EXPECT_TRUE(e.text().contains("von einem anderen Programm geändert"))
                    << e.text().toStdString();
            }
            EXPECT_EQ(table.state(), Table::State::Browse);
        } else {
            theirs();
            c.ours(table);
        }
        EXPECT_EQ(dbfreadContent(diary.path(c.file)), c.expected);
        // Our view follows the file.
        QStringList ours = contentOf(table);
        QStringList expected = c.expected;
        ours.sort();
        expected.sort();
        EXPECT_EQ(ours, expected);
    }
}

// A catalogue another program appended to: the program's own insert keeps
// both, and the rebuilt index walks both in order for another reader.
TEST(SharedFile, ACatalogueAppendedToByAnotherProgramKeepsBothAndItsIndex)
{
    SmallDiary diary;
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    withPythonDbf(diary.dir(), "ZEB_NRG.dbf", "t.append((5, 'Zwieback', 1, 1650, 10.0, 74.0, 4.3))");
    nrg.insert();
    nrg.postFields(testing_support::foodItem(3, QStringLiteral("Birne"), 3, 350, 0.5, 20.0, 0.3));
    QStringList names;
    for (nrg.first(); !nrg.eof(); nrg.next())
        names << nrg.fieldText("NRGNAME");
    EXPECT_EQ(names, (QStringList{"Apfel", "Apfelsaft", "Banane", "Birne", "Käse, Gouda", "Zwieback",
                                  "Äpfel, getrocknet"}));
    EXPECT_EQ(
        testing_support::xbaseIndexOrder(diary.path("ZEB_NRG.dbf"), diary.path("NRGNAME.NDX"), "NRGNAME"),
        names);
}

// Another program that saves by writing a new file and renaming it over
// ours: the next write goes into the file that now stands at the name.
TEST(SharedFile, AFileReplacedByAnotherProgramIsTheOneWritten)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    const QString script = QStringLiteral("import sys, os, shutil, datetime, dbf\n"
                                          "saved = os.path.join(os.path.dirname(sys.argv[1]), 'saved.dbf')\n"
                                          "shutil.copy(sys.argv[1], saved)\n"
                                          "t = dbf.Table(saved)\n"
                                          "t.open(dbf.READ_WRITE)\n"
                                          "%1\n"
                                          "t.close()\n"
                                          "os.replace(saved, sys.argv[1])\n")
                               .arg(QLatin1String(kAppendQuark));
    runScript(QStringLiteral("python3"), script, {diary.path("ZEB_NTB.DBF")});
    ntb.insert();
    ntb.postFields(
        testing_support::foodEntry(kDay1, 1.0, QStringLiteral("St."), QStringLiteral("Birne"), 350));
    const QStringList rows = dbfreadContent(diary.path("ZEB_NTB.DBF"));
    EXPECT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows.contains("2005-03-01|250|g|Quark|300|30|10|1"));
    EXPECT_TRUE(rows.contains("2005-03-01|1|St.|Birne|350|0|0|0"));
}

// A program that locks the table before it writes is kept out from the
// check before a write to its end, and keeps the table from us while it
// writes: our write waits, and is refused with a clear text when the lock
// is not given back.
TEST(SharedFile, AProgramThatLocksIsKeptOutAndKeepsUsOut)
{
    SmallDiary diary;
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    QProcess writer;
    writer.start("python3", {"-c", "import sys, fcntl\nf = open(sys.argv[1], 'r+b')\n"
                                   "fcntl.lockf(f, fcntl.LOCK_EX)\nprint('gesperrt', flush=True)\nsys.stdin.read()",
                             diary.path("ZEB_NTB.DBF")});
    ASSERT_TRUE(writer.waitForReadyRead(30000));
    const QByteArray bytes = diary.read("ZEB_NTB.DBF");
    ntb.insert();
    try {
        ntb.postFields(testing_support::foodEntry(kDay1, 1.0, "St.", "Birne", 350));
        ADD_FAILURE() << "written while another program held its lock";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.text().contains("gerade von einem anderen Programm beschrieben")) << e.text().toStdString();
    }
    EXPECT_EQ(diary.read("ZEB_NTB.DBF"), bytes);
    writer.closeWriteChannel();
    ASSERT_TRUE(writer.waitForFinished());
    ntb.insert();
    EXPECT_NO_THROW(ntb.postFields(testing_support::foodEntry(kDay1, 1.0, "St.", "Birne", 350)));
}
