// Taking back the last change of a table, as a booking does when its day
// totals cannot be written; and a full disk named as such.

#include "store/error.h"
#include "store/table.h"
#include "support/diary.h"
#include "support/faultfs.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace store;
using testing_support::dbfreadContent;
using testing_support::FaultFileSystem;
using testing_support::kDay1;
using testing_support::kDay2;
using testing_support::SmallDiary;

TEST(Revert, AnEditedRecordGetsItsOldBytesBack)
{
    SmallDiary diary;
    const QByteArray before = diary.read("ZEB_NTB.DBF");
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.edit();
    ntb.postFields({{"NTBMENGE", 3.0}, {"NTBENERGIE", qint64(900)}});
    EXPECT_EQ(ntb.changeCount(), 1u);
    ntb.revertLastChange();
    EXPECT_EQ(diary.read("ZEB_NTB.DBF").mid(32), before.mid(32)) << "records as they were";
    EXPECT_EQ(ntb.fieldInt("NTBENERGIE"), 300);
}

TEST(Revert, AnAppendedRecordIsDeletedAndADeletedOneLiveAgain)
{
    SmallDiary diary;
    const QStringList before = dbfreadContent(diary.path("ZEB_NTB.DBF"));
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.insert();
    ntb.postFields(
        testing_support::foodEntry(kDay2, 1.0, QStringLiteral("St."), QStringLiteral("Banane"), 450));
    ntb.revertLastChange();
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), before);
    EXPECT_FALSE(ntb.locate("NTBNAME", QStringLiteral("Banane")));

    ASSERT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
    ntb.deleteRecord();
    ntb.revertLastChange();
    EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), before);
    EXPECT_TRUE(ntb.locate("NTBNAME", QStringLiteral("Apfel")));
}

TEST(Revert, NothingToTakeBackWritesNothing)
{
    SmallDiary diary;
    const QByteArray before = diary.read("ZEB_NTB.DBF");
    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    ntb.revertLastChange();
    ntb.insert();
    ntb.postFields(
        testing_support::foodEntry(kDay1, 1.0, QStringLiteral("St."), QStringLiteral("Banane"), 450));
    ntb.revertLastChange();
    const QByteArray once = diary.read("ZEB_NTB.DBF");
    ntb.revertLastChange();
    EXPECT_EQ(diary.read("ZEB_NTB.DBF"), once) << "a change is taken back once";
}

TEST(DiskFull, EveryWriteOfAPostThatFailsNamesTheFullDiskAndKeepsTheTable)
{
    SmallDiary probe;
    FaultFileSystem counter;
    {
        Table ntb(schema::ntb(), counter);
        ntb.open(probe.dir());
        ntb.insert();
        ntb.postFields(
            testing_support::foodEntry(kDay2, 1.0, QStringLiteral("St."), QStringLiteral("Banane"), 450));
    }
    ASSERT_GT(counter.calls(), 1);
    for (int n = 1; n <= counter.calls(); ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        SmallDiary diary;
        const QStringList before = dbfreadContent(diary.path("ZEB_NTB.DBF"));
        FaultFileSystem fs(FaultFileSystem::Mode::Fail, n);
        fs.setFailError(ENOSPC);
        Table ntb(schema::ntb(), fs);
        ntb.open(diary.dir());
        try {
            ntb.insert();
            ntb.postFields(
                testing_support::foodEntry(kDay2, 1.0, QStringLiteral("St."), QStringLiteral("Banane"), 450));
            FAIL() << "the post returned";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.text(), "ZEB_NTB.DBF: Schreibfehler (Der Datenträger ist voll).");
        }
        EXPECT_EQ(ntb.state(), Table::State::Browse);
        if (ntb.changeCount() > 0)
            ntb.revertLastChange();
        EXPECT_EQ(dbfreadContent(diary.path("ZEB_NTB.DBF")), before);
        EXPECT_FALSE(ntb.locate("NTBNAME", QStringLiteral("Banane")));
    }
}
