#include "diary.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include "store/codepage.h"

#include <gtest/gtest.h>

namespace testing_support {

using store::Row;
namespace schema = store::schema;

namespace {

void layOutSmallDiary(const QString& d);

// The small diary is laid out once per test program and copied for each
// test: a copy costs no sync of the disk.
const QTemporaryDir& smallDiaryTemplate()
{
    static const QTemporaryDir dir;
    static const bool laidOut = (layOutSmallDiary(dir.path()), true);
    (void)laidOut;
    return dir;
}

} // namespace

SmallDiary::SmallDiary()
{
    // Plain writes: a copy by QFile::copy syncs the disk for every file.
    const QDir from(smallDiaryTemplate().path());
    for (const QString& name : from.entryList(QDir::Files)) {
        QFile in(from.filePath(name)), out(QDir(m_dir.path()).filePath(name));
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(in.readAll());
    }
}

namespace {

void layOutSmallDiary(const QString& d)
{
    store::createTable(d, schema::nrg(),
                       {foodItem(2, QStringLiteral("Käse, Gouda"), 1, 1500, 25.0, 0.0, 29.0),
                        foodItem(3, QStringLiteral("Apfel"), 3, 300, 0.4, 16.0, 0.3),
                        foodItem(1, QStringLiteral("Apfelsaft"), 2, 200, 0.1, 11.0, 0.1),
                        foodItem(3, QStringLiteral("Banane"), 3, 450, 1.3, 24.0, 0.2),
                        foodItem(3, QStringLiteral("Äpfel, getrocknet"), 1, 1100, 1.4, 57.0, 1.6)});
    store::createTable(d, schema::akt(),
                       {activityItem(4, QStringLiteral("Walking"), 1350),
                        activityItem(5, QStringLiteral("Radfahren"), 1900)});
    store::createTable(
        d, schema::ntb(),
        {foodEntry(kDay1, 100.0, QStringLiteral("g"), QStringLiteral("Käse, Gouda"), 1500, 25, 0, 29),
         foodEntry(kDay2, 1.0, QStringLiteral("St."), QStringLiteral("Apfel"), 300, 0, 16, 0),
         foodEntry(kDay1, 0.25, QStringLiteral("St."), QStringLiteral("Apfel"), 75, 0, 4, 0)});
    store::createTable(d, schema::ftb(),
                       {activityEntry(kDay1, 1440, QStringLiteral("Grund- und Arbeitsumsatz 130%"), 10316)});
    std::vector<Row> days;
    for (int i = 0; i < 7; ++i)
        days.push_back(dayRecord(kDay1.addDays(i), 80.5, 1575, 25, 4, 29, 10316));
    store::createTable(d, schema::zeb(), days);
    store::createTable(d, schema::xtb(), {note(kDay1, {QStringLiteral("Erster Tag.")})});
    store::createTable(d, schema::reg(), {Row{{"NF", qint64(1)}, {"SF", qint64(1)}}});
}

} // namespace

store::Fields foodEntry(QDate day, double amount, const QString& unit, const QString& name, qint64 energy,
                        qint64 protein, qint64 carbohydrate, qint64 fat)
{
    return {{"NTBDATUM", day},
            {"NTBMENGE", amount},
            {"NTBME", unit},
            {"NTBNAME", name},
            {"NTBENERGIE", energy},
            {"NTBPROTEIN", protein},
            {"NTBKOHLENH", carbohydrate},
            {"NTBFETT", fat}};
}

store::Fields activityEntry(QDate day, qint64 minutes, const QString& name, qint64 energy)
{
    return {{"FTBDATUM", day}, {"FTBMENGE", minutes}, {"FTBNAME", name}, {"FTBENERGIE", energy}};
}

store::Fields dayRecord(QDate day, double weight, qint64 energy, qint64 protein, qint64 carbohydrate,
                        qint64 fat, qint64 fitness)
{
    return {{"ZEBDATUM", day},       {"ZEBGEWICHT", weight},       {"ZEBENERGIE", energy},
            {"ZEBPROTEIN", protein}, {"ZEBKOHLENH", carbohydrate}, {"ZEBFETT", fat},
            {"ZEBFITNESS", fitness}};
}

store::Fields foodItem(qint64 category, const QString& name, qint64 unit, qint64 energy, double protein,
                       double carbohydrate, double fat)
{
    return {{"NRGKAT", category},   {"NRGNAME", name},       {"NRGME", unit},
            {"NRGENERGIE", energy}, {"NRGPROTEIN", protein}, {"NRGKOHLENH", carbohydrate},
            {"NRGFETT", fat}};
}

store::Fields activityItem(qint64 category, const QString& name, qint64 energy)
{
    return {{"AKTKAT", category}, {"AKTNAME", name}, {"AKTME", qint64(1)}, {"AKTENERGIE", energy}};
}

store::Fields note(QDate day, const QStringList& parts)
{
    static const char* const kParts[] = {"XTBTEXT1", "XTBTEXT2", "XTBTEXT3", "XTBTEXT4",
                                         "XTBTEXT5", "XTBTEXT6", "XTBTEXT7", "XTBTEXT8"};
    store::Fields fields{{"XTBDATUM", day}, {"XTBKAT", qint64(0)}};
    for (int i = 0; i < parts.size() && i < 8; ++i)
        fields.push_back({kParts[i], parts[i]});
    return fields;
}

QString SmallDiary::path(const char* name) const
{
    return QDir(m_dir.path()).filePath(QString::fromLatin1(name));
}

QByteArray SmallDiary::read(const char* name) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

void SmallDiary::write(const char* name, const QByteArray& bytes) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name;
    file.write(bytes);
}

QStringList contentOf(store::Table& table)
{
    const bool wasFiltered = table.filtered();
    table.setFiltered(false);
    QStringList rows;
    for (table.first(); !table.eof(); table.next()) {
        QStringList fields;
        for (const store::FieldSpec& f : table.schema().fields) {
            switch (f.type) {
            case store::FieldType::Character:
                fields << table.fieldText(f.name);
                break;
            case store::FieldType::Numeric:
                fields << QString::number(table.fieldDouble(f.name));
                break;
            case store::FieldType::Date:
                fields << table.fieldDate(f.name).toString(Qt::ISODate);
                break;
            }
        }
        rows << fields.join(u'|');
    }
    table.setFiltered(wasFiltered);
    return rows;
}

void removeEntries(store::Table& diary, QDate day, const QString& name)
{
    const char* field = &diary.schema() == &schema::ntb() ? "NTBNAME" : "FTBNAME";
    store::TableDraft draft(diary);
    for (quint32 recno : draft.dayRecords(day)) {
        if (draft.record(recno).fieldText(field) == name)
            draft.remove(recno);
    }
    store::replaceTables({&draft});
}

QString runScript(const QString& interpreter, const QString& script, const QStringList& args)
{
    QProcess process;
    QStringList all = interpreter == u"perl" ? QStringList{QStringLiteral("-e"), script}
                                             : QStringList{QStringLiteral("-c"), script};
    process.start(interpreter == u"python3" ? QStringLiteral("/usr/bin/python3") : interpreter, all + args);
    EXPECT_TRUE(process.waitForFinished(60000));
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 0) << errors.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

namespace {

// Prints every live record as "field|field|..." in the form of contentOf,
// decoding NTBNAME and FTBNAME as code page 1252 and the rest as 850.
const char* const kDbfreadDump = R"PY(
import sys, dbfread
table = dbfread.DBF(sys.argv[1], raw=True)
wide = ('NTBNAME', 'FTBNAME')
for rec in table:
    out = []
    for f in table.fields:
        raw = rec[f.name]
        if f.type == 'C':
            text = raw.decode('cp1252' if f.name in wide else 'cp850').rstrip(' ')
            out.append(text.replace('\r', '\\r').replace('\n', '\\n'))
        elif f.type == 'D':
            d = raw.decode('ascii').strip()
            out.append('%s-%s-%s' % (d[0:4], d[4:6], d[6:8]) if d else '')
        else:
            v = float(raw.decode('ascii').strip() or '0')
            out.append(('%d' % v) if v == int(v) else repr(v))
    sys.stdout.buffer.write(('|'.join(out) + '\n').encode('utf-8'))
)PY";

const char* const kXbaseOrder = R"PL(
use XBase; use XBase::Index;
my $table = new XBase $ARGV[0] or die XBase->errstr;
my $cursor = $table->prepare_select_with_index($ARGV[1], $ARGV[2]) or die $table->errstr;
binmode STDOUT;
while (my @row = $cursor->fetch) { print "$row[0]\n"; }
)PL";

} // namespace

QStringList dbfreadContent(const QString& path)
{
    return runScript(QStringLiteral("python3"), QString::fromLatin1(kDbfreadDump), {path})
        .split(u'\n', Qt::SkipEmptyParts);
}

QStringList xbaseIndexOrder(const QString& table, const QString& index, const char* field)
{
    QProcess process;
    process.start("perl", {"-e", kXbaseOrder, table, index, field});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QStringList values;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            values << store::decode(line.constData(), line.size(), store::CodePage::Cp850).trimmed();
    }
    return values;
}

} // namespace testing_support
