// Files far larger than their tables: a sparse giant with a sound header,
// and a header whose count needs more memory than the process may have.
// Each is opened in a child process whose address space is limited as on
// many desktops, which must refuse the file rather than abort.

#include "store/error.h"
#include "store/table.h"
#include "support/child.h"
#include "support/diary.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace store;
using testing_support::SmallDiary;

namespace {

constexpr qint64 kTebibyte = qint64(1) << 40;
constexpr rlim_t kAddressSpace = rlim_t(8) << 30;

void resize(const QString& path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(size));
}

void setCount(const QString& path, quint32 count)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const char bytes[4] = {char(count & 0xFF), char(count >> 8 & 0xFF), char(count >> 16 & 0xFF),
                           char(count >> 24)};
    file.seek(4);
    file.write(bytes, 4);
}

// Opens `schema` in `dir` in a child limited to 8 GiB of address space;
// returns the error text, or what else happened.
QString openInLimitedChild(const TableSchema& schema, const QString& dir)
{
    testing_support::ReportingChild child([&](testing_support::ReportingChild& self) {
        const rlimit limit{kAddressSpace, kAddressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            Table table(schema);
            table.open(dir);
            self.reportText("opened");
        } catch (const StoreError& e) {
            self.reportText(e.text().toUtf8());
        } catch (const std::exception& e) {
            self.reportText(QByteArray("other exception: ") + e.what());
        }
    });
    if (!child.started())
        return QStringLiteral("no child");
    child.wait();
    if (child.killed())
        return QStringLiteral("killed by a signal");
    return QString::fromUtf8(child.text());
}

} // namespace

TEST(HugeFile, ASparseTebibyteNotesTableIsRefusedWithoutReadingIt)
{
    SmallDiary diary;
    resize(diary.path("ZEB_XTB.dbf"), kTebibyte);
    const QString text = openInLimitedChild(schema::xtb(), diary.dir());
    EXPECT_TRUE(text.startsWith("ZEB_XTB.dbf: Datei ist beschädigt (")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(" Bytes nach dem letzten Datensatz).")) << text.toStdString();
}

TEST(HugeFile, ACountNeedingMoreMemoryThanThereIsIsRefused)
{
    SmallDiary diary;
    const QString path = diary.path("ZEB_XTB.dbf");
    const QByteArray head = diary.read("ZEB_XTB.dbf");
    const int headerLength = static_cast<unsigned char>(head[8]) | static_cast<unsigned char>(head[9]) << 8;
    const int recordLength = static_cast<unsigned char>(head[10]) | static_cast<unsigned char>(head[11]) << 8;
    const quint32 count = static_cast<quint32>((kTebibyte - headerLength - 1) / recordLength);
    resize(path, kTebibyte);
    setCount(path, count);
    EXPECT_EQ(openInLimitedChild(schema::xtb(), diary.dir()),
              "ZEB_XTB.dbf: Zu wenig Arbeitsspeicher, um die Datei zu lesen.");
}

TEST(HugeFile, ACountBeyondTheFileIsRefusedAsIncomplete)
{
    SmallDiary diary;
    setCount(diary.path("ZEB_ZEB.dbf"), 0xFFFFFFFFu);
    EXPECT_EQ(openInLimitedChild(schema::zeb(), diary.dir()),
              "ZEB_ZEB.dbf: Datei ist unvollständig (7 von 4294967295 Datensätzen).");
}

TEST(HugeFile, AGiantIndexIsNotReadButBuiltAnew)
{
    SmallDiary diary;
    resize(diary.path("NRGNAME.NDX"), kTebibyte);
    EXPECT_EQ(openInLimitedChild(schema::nrg(), diary.dir()), "opened");
    EXPECT_LT(QFile(diary.path("NRGNAME.NDX")).size(), 64 * 1024);
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    QStringList names;
    for (nrg.first(); !nrg.eof(); nrg.next())
        names << nrg.fieldText("NRGNAME").trimmed();
    EXPECT_EQ(names, (QStringList{"Apfel", "Apfelsaft", "Banane", "Käse, Gouda", "Äpfel, getrocknet"}));
}

TEST(HugeFile, ThousandsOfRecordsPastTheCountAreRefusedNotReadOnAndOn)
{
    // Blanks make well-formed records: a file grown by another program
    // without its count, far beyond what crashed appends can leave.
    SmallDiary diary;
    QByteArray bytes = diary.read("ZEB_ZEB.dbf");
    const int recordLength = static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
    bytes.chop(1);
    bytes += QByteArray(recordLength * 2000, ' ');
    diary.write("ZEB_ZEB.dbf", bytes);
    const QString text = openInLimitedChild(schema::zeb(), diary.dir());
    EXPECT_EQ(text, QStringLiteral("ZEB_ZEB.dbf: Datei ist beschädigt (%1 Bytes nach dem letzten Datensatz).")
                        .arg(recordLength * (2000 - 1024)));
}
