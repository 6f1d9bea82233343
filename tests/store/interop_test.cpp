// Other dBase readers and writers: what we write must read the same in an
// independent reader (Python's dbfread, Perl's XBase for the .ndx order),
// and a table written by another program (Python's dbf) must read the same
// in ours.

#include "store/table.h"
#include "support/diary.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace store;
using testing_support::contentOf;
using testing_support::dbfreadContent;
using testing_support::runScript;
using testing_support::SmallDiary;

TEST(Interop, DbfreadReadsEveryTableAsWeDo)
{
    SmallDiary diary;
    {
        // Leave a deleted record and an edited one behind, as use does.
        Table ntb(schema::ntb());
        ntb.open(diary.dir());
        ntb.deleteRecord();
        ntb.insert();
        ntb.setFields(testing_support::foodEntry(testing_support::kDay2, 0.13, QStringLiteral("St."),
                                                 QStringLiteral("Brötchen, Weizen"), 99999, 9999, 0, 1));
        ntb.post();
    }
    for (const TableSchema* s : schema::all()) {
        SCOPED_TRACE(s->fileName);
        Table table(*s);
        table.open(diary.dir());
        EXPECT_EQ(dbfreadContent(diary.path(s->fileName)).size(), contentOf(table).size());
        if (!s->indexFileName) // dbfread visits in file order, catalogues are in name order
            EXPECT_EQ(dbfreadContent(diary.path(s->fileName)), contentOf(table));
    }
}

TEST(Interop, XBaseWalksOurIndexInOurOrder)
{
    SmallDiary diary;
    {
        Table nrg(schema::nrg());
        nrg.open(diary.dir());
        // Enough names for inner index pages.
        for (int i = 0; i < 150; ++i) {
            nrg.insert();
            nrg.setFields({{"NRGKAT", qint64(i % 16 + 1)},
                           {"NRGNAME", QStringLiteral("Lebensmittel %1").arg(149 - i, 3, 10, QChar(u'0'))},
                           {"NRGME", qint64(1)},
                           {"NRGENERGIE", qint64(i)}});
            nrg.post();
        }
    }
    const QStringList theirs = testing_support::xbaseIndexOrder(diary.path("ZEB_NRG.dbf"), diary.path("NRGNAME.NDX"), "NRGNAME");
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    QStringList ours;
    for (nrg.first(); !nrg.eof(); nrg.next())
        ours << nrg.fieldText("NRGNAME");
    EXPECT_EQ(ours.size(), 155);
    EXPECT_EQ(theirs, ours);
}

TEST(Interop, ATableWrittenByAnotherProgramReadsTheSame)
{
    SmallDiary diary;
    const char* const script = R"PY(
import sys, datetime, dbf
folder = sys.argv[1]
ntb = dbf.Table(folder + '/ZEB_NTB.DBF',
    'NTBDATUM D; NTBMENGE N(7,2); NTBME C(3); NTBNAME C(30); NTBENERGIE N(5,0); '
    'NTBPROTEIN N(4,0); NTBKOHLENH N(4,0); NTBFETT N(4,0)', dbf_type='db3', codepage='cp1252')
ntb.open(dbf.READ_WRITE)
ntb.append((datetime.date(2005, 3, 1), 0.25, 'St.', 'Müsliriegel', 120, 1, 20, 2))
ntb.append((datetime.date(2005, 3, 2), 330, 'ml', 'Weißbier', 600, 2, 10, 0))
ntb.close()
nrg = dbf.Table(folder + '/ZEB_NRG.dbf',
    'NRGKAT N(2,0); NRGNAME C(30); NRGME N(1,0); NRGENERGIE N(5,0); NRGPROTEIN N(6,1); '
    'NRGKOHLENH N(6,1); NRGFETT N(6,1)', dbf_type='db3', codepage='cp850')
nrg.open(dbf.READ_WRITE)
for row in [(5, 'Zwieback', 1, 1650, 10.0, 74.0, 4.3), (5, 'Brötchen', 3, 520, 4.0, 24.0, 0.6), (2, 'Quark', 1, 300, 12.0, 4.0, 0.2)]:
    nrg.append(row)
nrg.close()
)PY";
    QFile::remove(diary.path("ZEB_NTB.DBF"));
    QFile::remove(diary.path("ZEB_NRG.dbf"));
    runScript("python3", QString::fromUtf8(script), {diary.dir()});

    Table ntb(schema::ntb());
    ntb.open(diary.dir());
    EXPECT_EQ(contentOf(ntb),
              (QStringList{"2005-03-01|0.25|St.|Müsliriegel|120|1|20|2", "2005-03-02|330|ml|Weißbier|600|2|10|0"}));

    // The old index no longer matches the table: it is rebuilt.
    Table nrg(schema::nrg());
    nrg.open(diary.dir());
    EXPECT_EQ(contentOf(nrg), (QStringList{"5|Brötchen|3|520|4|24|0.6", "2|Quark|1|300|12|4|0.2",
                                           "5|Zwieback|1|1650|10|74|4.3"}));
}
