#include "store/recordfile.h"

#include "store/clock.h"
#include "store/error.h"
#include "store/ndxformat.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace store {
namespace {

// The files that wait for a replacement to be put in place: when one of
// them finishes it, the others read their new files as well.
std::vector<RecordFile*>& waitingFiles()
{
    static std::vector<RecordFile*> tables;
    return tables;
}

FieldType classOf(char type)
{
    switch (type) {
    case 'N':
    case 'F':
        return FieldType::Numeric;
    case 'D':
        return FieldType::Date;
    default:
        return FieldType::Character;
    }
}

// The value of a numeric field that is well formed; whole numbers, the
// usual case, without the general reader.
bool numberValue(const char* data, int width, double& value)
{
    int i = 0;
    while (i < width && data[i] == ' ')
        ++i;
    qint64 whole = 0;
    const int start = i;
    for (; i < width; ++i) {
        const unsigned digit = static_cast<unsigned char>(data[i]) - '0';
        if (digit > 9)
            break;
        whole = whole * 10 + digit;
    }
    if (i == width && i - start < 16) {
        value = static_cast<double>(whole);
        return true;
    }
    value = 0;
    return dbf::numberWellFormed(data, width) && (dbf::parseNumber(data, width, value), true);
}

// Checks records one at a time as a table is read, and with the same look
// at each record indexes its day and sums the fields asked for into it.
// The fields at `wholeOffsets` are declared whole numbers: a value beyond
// their range makes the record damaged.
class RecordWalk
{
public:
    RecordWalk(const dbf::Header& header, int dayOffset, const std::vector<std::pair<int, int>>& summed,
               const std::vector<int>& wholeOffsets = {})
        : m_dayOffset(dayOffset), m_slots(static_cast<int>(summed.size()))
    {
        for (const dbf::FieldLayout& f : header.fields) {
            const bool date = f.type == 'D';
            if (!date && f.type != 'N' && f.type != 'F')
                continue;
            int slot = -1;
            for (size_t i = 0; i < summed.size() && !date; ++i) {
                if (summed[i].first == f.offset)
                    slot = static_cast<int>(i);
            }
            const bool whole =
                std::find(wholeOffsets.begin(), wholeOffsets.end(), f.offset) != wholeOffsets.end();
            m_checks.push_back({f.offset, f.width, date, slot, whole});
        }
    }

    // False when the record is damaged; it is then neither indexed nor
    // summed.
    bool take(quint32 recno, const char* record)
    {
        const bool live = record[0] == dbf::kLive;
        if (!live && record[0] != dbf::kDeleted)
            return false;
        int day = 0;
        RecordFile::DaySums values{};
        for (const Check& c : m_checks) {
            const char* data = record + c.offset;
            if (c.date) {
                const int d = dbf::dayNumber(data);
                if (d < 0)
                    return false;
                if (c.offset == m_dayOffset)
                    day = d;
            } else if (c.slot >= 0) {
                if (!numberValue(data, c.width, values[c.slot]) ||
                    (c.whole && !dbf::wholeInRange(data, c.width)))
                    return false;
            } else if (!dbf::numberWellFormed(data, c.width) ||
                       (c.whole && !dbf::wholeInRange(data, c.width))) {
                return false;
            }
        }
        if (day <= 0)
            return true;
        // Records that continue the file's date order extend the index at
        // once; the others are merged in together at the end.
        if (m_days.runCount() == 0 || m_lastDay <= day)
            m_days.add(recno, day);
        else
            m_late.push_back({day, recno});
        m_lastDay = std::max(m_lastDay, day);
        if (!live || m_slots == 0)
            return true;
        // A day's records mostly lie together: its sums are the last ones.
        if (m_sums.empty() || m_sums.back().day != day) {
            m_sorted = m_sorted && (m_sums.empty() || m_sums.back().day < day);
            m_sums.push_back({day, {}});
        }
        for (int i = 0; i < m_slots; ++i)
            m_sums.back().sums[i] += values[i];
        return true;
    }

    DayIndex takeDays()
    {
        m_days.addAll(std::move(m_late));
        return std::move(m_days);
    }

    // Ascending by day; a day whose records lie apart gets the sums of its
    // parts added in file order.
    std::vector<RecordFile::DaySum> takeSums()
    {
        if (!m_sorted) {
            std::stable_sort(
                m_sums.begin(), m_sums.end(),
                [](const RecordFile::DaySum& a, const RecordFile::DaySum& b) { return a.day < b.day; });
            size_t kept = 0;
            for (size_t i = 0; i < m_sums.size(); ++i) {
                if (kept > 0 && m_sums[kept - 1].day == m_sums[i].day) {
                    for (int k = 0; k < m_slots; ++k)
                        m_sums[kept - 1].sums[k] += m_sums[i].sums[k];
                } else {
                    m_sums[kept++] = m_sums[i];
                }
            }
            m_sums.resize(kept);
        }
        return std::move(m_sums);
    }

private:
    struct Check
    {
        int offset;
        int width;
        bool date;
        int slot; // the summed value it gives, or -1
        bool whole;
    };
    std::vector<Check> m_checks;
    int m_dayOffset;
    int m_slots;
    DayIndex m_days;
    std::vector<std::pair<int, quint32>> m_late; // (day, recno) before the latest day read
    int m_lastDay = 0;
    std::vector<RecordFile::DaySum> m_sums;
    bool m_sorted = true;
};

} // namespace

// ---------------------------------------------------------------- RecordRef

qint64 RecordRef::fieldInt(const char* name) const
{
    // Whole-number fields hold 32-bit values (a record beyond is damaged);
    // a decimal read as a whole number stops at the ends of the range.
    const double value = std::nearbyint(fieldDouble(name));
    constexpr double limit = 9.2e18;
    return static_cast<qint64>(std::clamp(value, -limit, limit));
}

double RecordRef::fieldDouble(const char* name) const
{
    const RecordFile::Field& f = m_file.field(name);
    if (!m_record || f.type != FieldType::Numeric)
        return 0;
    double value = 0;
    dbf::parseNumber(m_record + f.offset, f.width, value);
    return value;
}

QString RecordRef::fieldText(const char* name) const
{
    const RecordFile::Field& f = m_file.field(name);
    if (!m_record)
        return {};
    const QString text = dbf::readText(m_record + f.offset, f.width, f.codePage);
    return f.type == FieldType::Character ? text : text.trimmed();
}

QDate RecordRef::fieldDate(const char* name) const
{
    const RecordFile::Field& f = m_file.field(name);
    QDate value;
    if (m_record && f.type == FieldType::Date)
        dbf::parseDate(m_record + f.offset, value);
    return value;
}

// ---------------------------------------------------------------- RecordFile

RecordFile::RecordFile(const TableSchema& schema, FileSystem& fs) : m_schema(schema), m_fs(fs)
{
    for (size_t i = 0; i < schema.fields.size(); ++i)
        m_fieldByName.emplace(schema.fields[i].name, static_cast<int>(i));
    if (schema.dayField)
        m_dayField = schema.fieldPosition(schema.dayField);
    if (schema.indexField)
        m_keyField = schema.fieldPosition(schema.indexField);
}

RecordFile::~RecordFile()
{
    close();
}

QString RecordFile::fileName() const
{
    return m_path.isEmpty() ? QString::fromLatin1(m_schema.fileName) : QFileInfo(m_path).fileName();
}

const RecordFile::Field& RecordFile::field(const char* name) const
{
    const auto it = m_fieldByName.find(name);
    if (it == m_fieldByName.end() || m_fields.empty())
        throw StoreError(
            QStringLiteral("%1: Feld %2 ist nicht bekannt.").arg(fileName(), QLatin1String(name)));
    const Field& f = m_fields[it->second];
    if (f.offset < 0)
        throw StoreError(QStringLiteral("%1: Feld %2 fehlt.").arg(fileName(), QLatin1String(name)));
    return f;
}

const char* RecordFile::record(quint32 recno) const
{
    return m_records.constData() + static_cast<qint64>(recno) * m_header.recordLength;
}

bool RecordFile::live(quint32 recno) const
{
    return record(recno)[0] != dbf::kDeleted;
}

void RecordFile::open(const QString& dir, const std::vector<const char*>& summed)
{
    close();
    m_sumFields = summed;
    m_folder = m_fs.holdFolder(dir);
    try {
        finishReplacement(m_fs, dir);
    } catch (...) {
        m_folder.reset();
        throw;
    }
    m_dir = dir;
    m_path = findFile(dir, QString::fromLatin1(m_schema.fileName), m_fs);
    if (m_path.isEmpty()) {
        m_folder.reset();
        throw StoreError(QStringLiteral("%1: Datei nicht gefunden.").arg(QLatin1String(m_schema.fileName)));
    }
    try {
        m_file = fileOfItsOwn(m_fs.open(m_path, true), m_path);
        load();
        if (m_schema.indexFileName) {
            m_indexPath = findFile(dir, QString::fromLatin1(m_schema.indexFileName), m_fs);
            if (m_indexPath.isEmpty())
                throw StoreError(
                    QStringLiteral("%1: Datei nicht gefunden.").arg(QLatin1String(m_schema.indexFileName)));
            m_indexFile = fileOfItsOwn(m_fs.open(m_indexPath, true), m_indexPath);
            loadIndex();
        }
    } catch (const std::bad_alloc&) {
        close();
        throw StoreError(
            QStringLiteral("%1: Zu wenig Arbeitsspeicher, um die Datei zu lesen.").arg(fileName()));
    } catch (...) {
        close();
        throw;
    }
    m_open = true;
}

void RecordFile::reopen(std::unique_ptr<File> file)
{
    m_file.reset();
    m_open = false;
    setReplacementPending(false);
    m_lastChange = Change::None;
    try {
        m_file = fileOfItsOwn(file ? std::move(file) : m_fs.open(m_path, true), m_path);
        load();
        if (m_keyField >= 0)
            loadIndex();
    } catch (...) {
        close();
        throw;
    }
    m_open = true;
    if (m_follower)
        m_follower->recordsReread(nullptr, 0, false);
}

void RecordFile::close()
{
    m_file.reset();
    m_indexFile.reset();
    m_folder.reset();
    m_open = false;
    setReplacementPending(false);
    m_lastChange = Change::None;
    m_fields.clear();
    m_records.clear();
    m_count = 0;
    m_days.clear();
    m_openSums.clear();
    m_order.clear();
}

QByteArray RecordFile::readRange(qint64 offset, qint64 length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    bytes.truncate(m_file->readAt(offset, bytes.data(), length));
    return bytes;
}

void RecordFile::load()
{
    const QString name = fileName();
    const qint64 size = m_file->size();

    // The header first, as long as it says it is; the records only as far
    // as the header and the file agree, never the whole file on trust.
    QByteArray head = readRange(0, std::min<qint64>(size, 32));
    if (head.size() == 32) {
        const int declared = static_cast<unsigned char>(head[8]) | static_cast<unsigned char>(head[9]) << 8;
        head = readRange(0, std::min<qint64>(size, declared));
    }
    dbf::Header header = dbf::parseHeader(head, name);

    std::vector<Field> fields;
    for (const FieldSpec& declared : m_schema.fields) {
        const auto it = std::find_if(header.fields.begin(), header.fields.end(),
                                     [&](const dbf::FieldLayout& f) { return f.name == declared.name; });
        if (it == header.fields.end() && m_schema.fieldsOptional) {
            fields.push_back({-1, 0, 0, declared.type, declared.codePage});
            continue;
        }
        if (it == header.fields.end())
            throw StoreError(QStringLiteral("%1: Feld %2 fehlt.").arg(name, QLatin1String(declared.name)));
        if (classOf(it->type) != declared.type)
            throw StoreError(
                QStringLiteral("%1: Feld %2 hat den falschen Typ.").arg(name, QLatin1String(declared.name)));
        fields.push_back({it->offset, it->width, it->decimals, declared.type, declared.codePage});
    }

    const qint64 recordLength = header.recordLength;
    const qint64 first = header.headerLength;
    const qint64 available = (size - first) / recordLength;
    if (header.recordCount > available)
        throw StoreError(QStringLiteral("%1: Datei ist unvollständig (%2 von %3 Datensätzen).")
                             .arg(name)
                             .arg(available)
                             .arg(header.recordCount));

    // One walk over the records: each is checked, its day indexed and the
    // fields asked for at open summed into its day.
    std::vector<int> whole;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].offset >= 0 && m_schema.fields[i].type == FieldType::Numeric &&
            m_schema.fields[i].decimals == 0)
            whole.push_back(fields[i].offset);
    }
    RecordWalk walk(header, m_dayField >= 0 ? fields[m_dayField].offset : -1,
                    summedFields(m_sumFields, fields), whole);
    QByteArray records = readRange(first, header.recordCount * recordLength);
    if (records.size() != header.recordCount * recordLength)
        throw StoreError(QStringLiteral("%1: Datei ist unvollständig (%2 von %3 Datensätzen).")
                             .arg(name)
                             .arg(records.size() / recordLength)
                             .arg(header.recordCount));
    for (quint32 i = 0; i < header.recordCount; ++i) {
        if (!walk.take(i, records.constData() + i * recordLength))
            throw StoreError(QStringLiteral("%1: Datensatz %2 ist beschädigt.").arg(name).arg(i + 1));
    }
    // Records past the header count were appended and synced before a crash
    // kept the count from following; a torn one ends the run. Every append
    // writes the count after it, so only a few can lag: a file with more
    // is refused below rather than read on and on.
    quint32 count = header.recordCount;
    const qint64 lagging = std::min<qint64>(available, qint64(header.recordCount) + 1024);
    while (count < lagging && count < std::numeric_limits<quint32>::max()) {
        const QByteArray next = readRange(first + count * recordLength, recordLength);
        if (next.size() != recordLength || !walk.take(count, next.constData()))
            break;
        records.append(next);
        ++count;
    }
    // What follows is the end mark, or one record cut short by a crash with
    // its end mark. More than that is no diary table, whatever its header
    // says (a file grown by another program, or a sparse giant).
    const qint64 tail = size - first - count * recordLength;
    if (tail > recordLength + 1)
        throw StoreError(QStringLiteral("%1: Datei ist beschädigt (%2 Bytes nach dem letzten Datensatz).")
                             .arg(name)
                             .arg(tail));

    m_headerBytes = head.left(header.headerLength);
    m_header = std::move(header);
    m_fields = std::move(fields);
    m_records = std::move(records);
    m_count = count;
    m_days = walk.takeDays();
    m_openSums = walk.takeSums();
    m_openSumsChanges = m_changes;

    if (m_count != m_header.recordCount) {
        if (m_readOnly)
            throw StoreError(QStringLiteral("%1: Die Anzahl der Datensätze im Kopf ist falsch.").arg(name));
        const char mark = dbf::kEndOfFile;
        m_file->writeAt(m_header.headerLength + static_cast<qint64>(m_count) * recordLength, &mark, 1);
        writeCount(true);
    }
    restamp();
}

void RecordFile::writeCount(bool sync)
{
    const QByteArray bytes = dbf::countBytes(m_count, today());
    m_file->writeAt(1, bytes.constData() + 1, 7);
    if (sync)
        m_file->sync();
    m_header.recordCount = m_count;
}

void RecordFile::setReplacementPending(bool pending)
{
    std::erase(waitingFiles(), this);
    if (pending)
        waitingFiles().push_back(this);
    m_replacementPending = pending;
}

void RecordFile::restamp()
{
    m_stamp = m_file->status();
}

bool RecordFile::fileUnchanged()
{
    if (!m_stamp.sameAs(m_fs.status(m_path)))
        return false;
    // Within one tick of the clock a change keeps the time; the count read
    // from the file catches an append that kept the length as well.
    unsigned char count[4] = {};
    if (m_file->readAt(4, reinterpret_cast<char*>(count), 4) != 4)
        return false;
    const quint32 declared = count[0] | count[1] << 8 | count[2] << 16 | quint32(count[3]) << 24;
    return declared == m_header.recordCount;
}

StoreError RecordFile::pendingError(const StoreError& cause)
{
    return StoreError(
        QStringLiteral("%1\rEine gespeicherte Änderung wird erst beim nächsten Start abgeschlossen. "
                       "Bitte beenden Sie Kelvara und starten Sie es neu.")
            .arg(cause.text()));
}

void RecordFile::finishWaiting(FileSystem& fs, const QString& dir, RecordFile* self)
{
    try {
        finishReplacement(fs, dir);
    } catch (const StoreError& e) {
        throw pendingError(e);
    }
    const std::vector<RecordFile*> waiting = waitingFiles();
    for (RecordFile* other : waiting) {
        if (other == self || other->m_dir != dir || &other->m_fs != &fs)
            continue;
        other->setReplacementPending(false);
        try {
            other->reload();
        } catch (const StoreError&) {
            other->m_stamp = FileStatus(); // read anew before its next write
        }
    }
    if (self) {
        self->setReplacementPending(false);
        self->reload();
    }
}

void RecordFile::followFile()
{
    if (!m_open)
        return;
    if (m_replacementPending)
        finishWaiting(m_fs, m_dir, this);
    else if (!fileUnchanged())
        reload();
    if (m_indexFile && m_indexFile->status().links > 1)
        m_indexFile = fileOfItsOwn(std::move(m_indexFile), m_indexPath);
}

std::unique_ptr<File> RecordFile::fileOfItsOwn(std::unique_ptr<File> file, const QString& path)
{
    const FileStatus status = file->status();
    if (status.links <= 1 || m_readOnly)
        return file;
    // The same bytes under a name of their own, put in place as a
    // replacement is: a crash at any instant leaves the one content or the
    // other copy of it.
    const QString copyPath = path + QStringLiteral(".neu");
    m_fs.remove(copyPath);
    std::unique_ptr<File> copy = m_fs.create(copyPath);
    try {
        copy->adoptOwnerAndMode(status);
        const QByteArray bytes = file->readAll();
        copy->writeAt(0, bytes.constData(), bytes.size());
        copy->sync();
        m_fs.rename(copyPath, path);
    } catch (...) {
        copy.reset();
        try {
            m_fs.remove(copyPath);
        } catch (const StoreError&) {
        }
        throw;
    }
    m_fs.syncDirectory(QFileInfo(path).absolutePath());
    return copy;
}

bool RecordFile::stillOnDisk(qint64 offset, const QByteArray& known)
{
    if (!m_file || known.isEmpty())
        return true;
    QByteArray bytes(known.size(), Qt::Uninitialized);
    const qint64 n = m_file->readAt(offset, bytes.data(), bytes.size());
    if (n == 0 && known == QByteArray(1, dbf::kEndOfFile))
        return true;
    return n == known.size() && bytes == known;
}

bool RecordFile::wellFormed(const TableSchema& schema, FileSystem& fs, const QString& path)
{
    RecordFile probe(schema, fs);
    probe.m_readOnly = true;
    probe.m_path = path;
    try {
        probe.m_file = fs.openToRead(path);
        probe.load();
        // A new file of ours ends with its end mark after the last record.
        return probe.m_file->size() ==
               probe.m_header.headerLength + qint64(probe.m_count) * probe.m_header.recordLength + 1;
    } catch (const StoreError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The file's write lock is moved along when the check finds another file
// at the table's name.
RecordFile::Write::Write(RecordFile& file, const std::function<qint64()>& replaced)
    : m_file(file), m_locked(file.m_file.get())
{
    if (m_locked)
        m_locked->lockForWriting();
    try {
        m_file.followFile();
        lockCurrent();
        const qint64 recno = replaced();
        const qint64 length = m_file.m_header.recordLength;
        const bool held = recno >= 0 && recno < m_file.m_count;
        const QByteArray known = recno == kEnd ? QByteArray(1, dbf::kEndOfFile)
                                 : held ? QByteArray(m_file.record(static_cast<quint32>(recno)), length)
                                        : QByteArray();
        const qint64 offset =
            m_file.m_header.headerLength + (recno == kEnd ? m_file.m_count : recno) * length;
        if (!m_file.stillOnDisk(offset, known)) {
            m_file.reload();
            lockCurrent();
        }
    } catch (...) {
        if (m_locked && m_file.m_file.get() == m_locked)
            m_locked->unlock();
        throw;
    }
}

RecordFile::Write::~Write()
{
    // A file closed meanwhile has lost its lock with its descriptor.
    if (m_locked && m_file.m_file.get() == m_locked)
        m_locked->unlock();
}

void RecordFile::Write::lockCurrent()
{
    if (m_file.m_file.get() == m_locked)
        return;
    m_locked = m_file.m_file.get();
    if (m_locked)
        m_locked->lockForWriting();
}

void RecordFile::reload()
{
    const qint64 recordLength = m_header.recordLength;
    const QByteArray before = m_records;
    const std::vector<Field> layout = m_fields;

    // Another file at the name (written beside it and renamed over it, as
    // many programs save) is the table now.
    const FileStatus now = m_fs.status(m_path);
    if (now.type != EntryType::Regular || now.device != m_stamp.device || now.inode != m_stamp.inode)
        m_file = m_fs.open(m_path, true);
    m_file = fileOfItsOwn(std::move(m_file), m_path);
    load();
    if (m_keyField >= 0)
        loadIndex();

    const bool sameLayout = layout == m_fields && recordLength == m_header.recordLength;
    if (m_lastChange != Change::None &&
        (!sameLayout || m_lastRecno >= m_count ||
         QByteArray(record(m_lastRecno), m_header.recordLength) != m_lastWritten))
        m_lastChange = Change::None;
    if (m_follower)
        m_follower->recordsReread(&before, recordLength, sameLayout);
}

int RecordFile::dayKey(QDate day)
{
    return day.isValid() ? day.year() * 10000 + day.month() * 100 + day.day() : 0;
}

int RecordFile::dayOf(quint32 recno) const
{
    return m_dayField < 0 ? 0 : dbf::dayNumber(record(recno) + m_fields[m_dayField].offset);
}

void RecordFile::reindexDay(quint32 recno, int before)
{
    const int after = dayOf(recno);
    if (after == before)
        return;
    if (before > 0)
        m_days.remove(recno, before);
    if (after > 0)
        m_days.add(recno, after);
}

std::vector<std::pair<int, int>> RecordFile::summedFields(const std::vector<const char*>& names,
                                                          const std::vector<Field>& fields) const
{
    std::vector<std::pair<int, int>> summed;
    for (size_t i = 0; i < names.size() && i < kMaxSummed; ++i) {
        const auto it = m_fieldByName.find(names[i]);
        if (it == m_fieldByName.end())
            throw StoreError(
                QStringLiteral("%1: Feld %2 ist nicht bekannt.").arg(fileName(), QLatin1String(names[i])));
        const Field& f = fields[it->second];
        summed.emplace_back(f.type == FieldType::Numeric ? f.offset : -1, f.width);
    }
    return summed;
}

QByteArray RecordFile::keyOf(quint32 recno) const
{
    const Field& f = m_fields[m_keyField];
    return QByteArray(record(recno) + f.offset, f.width);
}

void RecordFile::sortIndexOrder()
{
    m_order.resize(m_count);
    for (quint32 i = 0; i < m_count; ++i)
        m_order[i] = i;
    const Field& f = m_fields[m_keyField];
    std::stable_sort(m_order.begin(), m_order.end(), [&](quint32 a, quint32 b) {
        return std::memcmp(record(a) + f.offset, record(b) + f.offset, f.width) < 0;
    });
}

void RecordFile::loadIndex()
{
    const Field& f = m_fields[m_keyField];
    const QString name = QFileInfo(m_indexPath).fileName();
    bool matches = false;
    try {
        // An index needs a page or two per entry at the very most; a larger
        // file is not read but built anew.
        const qint64 pages = 2 * static_cast<qint64>(m_count) + 16;
        if (m_indexFile->size() > pages * ndx::kPageSize)
            throw StoreError(QStringLiteral("%1: Datei ist zu groß.").arg(name));
        const std::vector<ndx::Entry> entries = ndx::read(m_indexFile->readAll(), f.width, name);
        matches = entries.size() == m_count;
        std::vector<bool> seen(m_count, false);
        for (size_t i = 0; matches && i < entries.size(); ++i) {
            const quint32 recno = entries[i].recno - 1;
            matches = entries[i].recno >= 1 && recno < m_count && !seen[recno] &&
                      entries[i].key == keyOf(recno) &&
                      (i == 0 ||
                       std::memcmp(entries[i - 1].key.constData(), entries[i].key.constData(), f.width) <= 0);
            if (matches)
                seen[recno] = true;
        }
        if (matches) {
            m_order.clear();
            for (const ndx::Entry& e : entries)
                m_order.push_back(e.recno - 1);
        }
    } catch (const StoreError&) {
        matches = false;
    }
    if (!matches) {
        // The index is derived from the table: a damaged or stale one (for
        // instance after another program wrote the table) is built anew.
        sortIndexOrder();
        writeIndex();
    }
}

void RecordFile::writeIndex()
{
    const Field& f = m_fields[m_keyField];
    std::vector<ndx::Entry> entries;
    entries.reserve(m_order.size());
    for (quint32 recno : m_order)
        entries.push_back({keyOf(recno), recno + 1});
    const QByteArray image = ndx::build(QByteArray(m_schema.indexField), f.width, entries);
    m_indexFile->writeAt(0, image.constData(), image.size());
    m_indexFile->truncate(image.size());
    m_indexFile->sync();
}

bool RecordFile::takeUp(quint32 recno, const QByteArray& bytes)
{
    const qint64 length = m_header.recordLength;
    const bool keyChanged =
        m_keyField >= 0 && keyOf(recno) != bytes.mid(m_fields[m_keyField].offset, m_fields[m_keyField].width);
    const int dayBefore = dayOf(recno);
    std::memcpy(m_records.data() + recno * length, bytes.constData(), length);
    reindexDay(recno, dayBefore);
    return keyChanged;
}

// ---------------------------------------------------------------- writes

quint32 RecordFile::Write::append(const QByteArray& record)
{
    RecordFile& f = m_file;
    // Record and end mark first, synced; then the count. A crash in
    // between leaves a complete record that the next open takes in.
    const quint32 recno = f.m_count;
    QByteArray data = record;
    data.append(dbf::kEndOfFile);
    const qint64 end = f.m_header.headerLength + recno * qint64(f.m_header.recordLength);
    try {
        f.m_file->writeAt(end, data.constData(), data.size());
        f.m_file->sync();
    } catch (...) {
        // A write cut short (a full disk) has overwritten the end mark
        // with the start of the record, and a record that may still
        // reach the disk from the cache would be taken in on the next
        // open although the write failed: the file gets its old end back.
        try {
            f.m_file->truncate(end + 1);
            const char mark = dbf::kEndOfFile;
            f.m_file->writeAt(end, &mark, 1);
            f.m_file->sync();
            f.restamp();
        } catch (...) {
        }
        throw;
    }
    f.m_records.append(record);
    ++f.m_count;
    f.m_lastChange = Change::Append;
    f.m_lastRecno = recno;
    f.m_lastWritten = record;
    ++f.m_changes;
    if (const int day = f.dayOf(recno); day > 0)
        f.m_days.add(recno, day);
    f.followWritten(true, f.m_keyField >= 0);
    return recno;
}

void RecordFile::Write::rewrite(quint32 recno, const QByteArray& record)
{
    RecordFile& f = m_file;
    const qint64 length = f.m_header.recordLength;
    const qint64 at = f.m_header.headerLength + recno * length;
    try {
        f.m_file->writeAt(at, record.constData(), length);
        f.m_file->sync();
    } catch (...) {
        // The new bytes may still reach the disk from the cache: the
        // old ones go after them, so the record stays as it was.
        try {
            f.m_file->writeAt(at, f.record(recno), length);
            f.restamp();
        } catch (...) {
        }
        throw;
    }
    f.m_lastChange = Change::Edit;
    f.m_lastRecno = recno;
    f.m_lastImage = QByteArray(f.record(recno), length);
    f.m_lastWritten = record;
    ++f.m_changes;
    f.followWritten(false, f.takeUp(recno, record));
}

void RecordFile::followWritten(bool count, bool key)
{
    try {
        // The record is on the disk: should a crash keep the count from
        // following it, the next open takes it in all the same. So the
        // count goes to the disk with the file's next sync rather than
        // with one of its own.
        if (count)
            writeCount(false);
        if (key) {
            sortIndexOrder();
            writeIndex();
        }
    } catch (...) {
        takeBack();
        throw;
    }
    restamp();
}

void RecordFile::Write::markDeleted(quint32 recno)
{
    RecordFile& f = m_file;
    const char mark = dbf::kDeleted;
    const qint64 at = f.m_header.headerLength + recno * qint64(f.m_header.recordLength);
    try {
        f.m_file->writeAt(at, &mark, 1);
        f.m_file->sync();
    } catch (...) {
        try {
            f.m_file->writeAt(at, &dbf::kLive, 1);
            f.restamp();
        } catch (...) {
        }
        throw;
    }
    f.m_records[recno * f.m_header.recordLength] = mark;
    f.m_lastChange = Change::Delete;
    f.m_lastRecno = recno;
    f.m_lastWritten = QByteArray(f.record(recno), f.m_header.recordLength);
    ++f.m_changes;
    f.restamp();
}

qint64 RecordFile::Write::revertLast()
{
    const qint64 recno = m_file.revertUnchecked();
    m_file.restamp();
    return recno;
}

qint64 RecordFile::revertLastChange()
{
    if (!revertible())
        return -1;
    Write write(*this, [this] { return m_lastChange == Change::None ? qint64(-1) : qint64(m_lastRecno); });
    return write.revertLast();
}

qint64 RecordFile::revertUnchecked()
{
    if (!revertible())
        return -1;
    const qint64 recordLength = m_header.recordLength;
    const quint32 recno = m_lastRecno;
    QByteArray image(record(recno), recordLength);
    switch (m_lastChange) {
    case Change::Append:
        image[0] = dbf::kDeleted;
        break;
    case Change::Delete:
        image[0] = dbf::kLive;
        break;
    case Change::Edit:
        image = m_lastImage;
        break;
    case Change::None:
        return -1;
    }
    m_file->writeAt(m_header.headerLength + recno * recordLength, image.constData(), recordLength);
    m_file->sync();
    if (takeUp(recno, image)) {
        sortIndexOrder();
        writeIndex();
    }
    m_lastChange = Change::None;
    ++m_changes;
    return recno;
}

void RecordFile::takeBack()
{
    try {
        revertUnchecked();
    } catch (...) {
    }
    // Other readers stop at the count: it covers the record taken back, so
    // that the index written next points at no record beyond it.
    try {
        if (m_header.recordCount != m_count)
            writeCount(true);
    } catch (...) {
    }
    // A failed index write may have left the index half written; it is
    // written again for the records as they now are.
    try {
        if (m_keyField >= 0) {
            sortIndexOrder();
            writeIndex();
        }
    } catch (...) {
    }
    try {
        restamp();
    } catch (...) {
        m_stamp = FileStatus(); // read anew before the next write
    }
}

// ---------------------------------------------------------------- reading

std::vector<RecordFile::DaySum> RecordFile::sumsByDay(const std::vector<const char*>& names) const
{
    if (!m_open || m_dayField < 0)
        return {};
    const bool asAtOpen = m_openSumsChanges == m_changes &&
                          std::equal(names.begin(), names.end(), m_sumFields.begin(), m_sumFields.end(),
                                     [](const char* a, const char* b) { return std::strcmp(a, b) == 0; });
    if (asAtOpen)
        return m_openSums;
    RecordWalk walk(m_header, m_fields[m_dayField].offset, summedFields(names, m_fields));
    for (quint32 recno = 0; recno < m_count; ++recno)
        walk.take(recno, record(recno));
    return walk.takeSums();
}

std::vector<int> RecordFile::recordDays() const
{
    std::vector<int> days;
    if (!m_open || m_dayField < 0)
        return days;
    days.reserve(m_count);
    const int offset = m_fields[m_dayField].offset;
    for (quint32 r = 0; r < m_count; ++r)
        days.push_back(live(r) ? std::max(0, dbf::dayNumber(record(r) + offset)) : 0);
    return days;
}

std::vector<quint32> RecordFile::dayRecords(QDate first, QDate last) const
{
    std::vector<quint32> list;
    if (!m_open || m_dayField < 0 || !first.isValid() || !last.isValid())
        return list;
    list = m_days.records(dayKey(first), dayKey(last));
    std::erase_if(list, [this](quint32 recno) { return !live(recno); });
    return list;
}

QByteArray RecordFile::encoded(QByteArray record, const Fields& values) const
{
    // All or nothing: the values go into a copy.
    for (const FieldValue& v : values)
        writeValue(record.data(), v.name, v.value);
    return record;
}

void RecordFile::writeValue(char* record, const char* name, const Value& value) const
{
    const Field& f = field(name);
    if (!dbf::writeValue(value, f.type, f.width, f.decimals, f.codePage, record + f.offset))
        throw StoreError(
            QStringLiteral("%1: Der Wert passt nicht in das Feld %2.").arg(fileName(), QLatin1String(name)));
}

void RecordFile::refresh()
{
    if (!m_open)
        return;
    if (m_replacementPending) {
        // Until the replacement can be finished the old file stays readable.
        try {
            followFile();
        } catch (const StoreError&) {
        }
    } else if (!fileUnchanged()) {
        reload();
    }
}

void RecordFile::finishPendingReplacement()
{
    if (m_replacementPending)
        followFile();
}

} // namespace store
