#include "store/table.h"

#include "store/error.h"

#include <algorithm>
#include <cstring>

namespace store {
namespace {

QChar foldAZ(QChar c)
{
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 'a' + 'A') : c;
}

bool textMatches(const QString& field, const QString& value, LocateOptions options)
{
    if (options.partialKey ? field.size() < value.size() : field.size() != value.size())
        return false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar a = field[i];
        const QChar b = value[i];
        if (a != b && !(options.caseInsensitive && foldAZ(a) == foldAZ(b)))
            return false;
    }
    return true;
}

} // namespace

Table::Table(const TableSchema& schema, FileSystem& fs) : m_file(schema, fs)
{
    m_file.setFollower(this);
}

Table::~Table()
{
    close();
}

void Table::open(const QString& dir, const std::vector<const char*>& summed)
{
    close();
    m_file.open(dir, summed);
    rebuildView(-1);
}

void Table::close()
{
    m_file.close();
    cancel();
    m_view.clear();
    m_eof = true;
}

void Table::recordsReread(const QByteArray* before, qint64 beforeLength, bool sameLayout)
{
    if (!before) {
        // A replacement of the whole file: the cursor starts anew.
        cancel();
        rebuildView(-1);
        return;
    }
    // The current record is kept when the file still holds it unchanged.
    const qint64 keep = currentRecno();
    const bool held =
        keep >= 0 && sameLayout && keep < m_file.count() && (keep + 1) * beforeLength <= before->size();
    const bool unchanged = held && std::memcmp(before->constData() + keep * beforeLength,
                                               m_file.record(quint32(keep)), beforeLength) == 0;
    m_editStale = m_editStale || !sameLayout;
    rebuildView(unchanged ? keep : -1);
}

StoreError Table::changedError() const
{
    return StoreError(
        QStringLiteral("%1: Der Datensatz wurde inzwischen von einem anderen Programm geändert. "
                       "Die Änderung wurde nicht gespeichert; bitte wiederholen Sie sie.")
            .arg(m_file.fileName()));
}

// ---------------------------------------------------------------- views

bool Table::listedView() const
{
    return m_file.hasIndex() || (m_filtered && (m_filter || m_dayProvider));
}

bool Table::byDay() const
{
    return m_filtered && m_dayProvider && m_file.hasDayField();
}

std::vector<quint32> Table::candidates() const
{
    std::vector<quint32> list;
    if (byDay()) {
        const QDate day = m_dayProvider();
        list = m_file.dayRecords(day, day);
    } else if (m_file.hasIndex()) {
        list = m_file.indexOrder();
        std::erase_if(list, [this](quint32 recno) { return !m_file.live(recno); });
    } else {
        for (quint32 i = 0; i < m_file.count(); ++i) {
            if (m_file.live(i))
                list.push_back(i);
        }
    }
    if (m_filtered && m_filter)
        std::erase_if(list,
                      [this](quint32 recno) { return !m_filter(RecordRef(m_file, m_file.record(recno))); });
    return list;
}

void Table::rebuildView(qint64 keepRecno)
{
    m_eof = true;
    const qint64 count = m_file.count();
    if (!listedView()) {
        m_view.clear();
        // The file itself is the view: keep the record, or take the next
        // live one after it, or else the one before.
        const qint64 start = keepRecno < 0 ? 0 : keepRecno;
        for (qint64 r = start; r < count; ++r) {
            if (m_file.live(static_cast<quint32>(r))) {
                m_cur = static_cast<quint32>(r);
                m_eof = false;
                return;
            }
        }
        for (qint64 r = std::min<qint64>(start, count) - 1; r >= 0; --r) {
            if (m_file.live(static_cast<quint32>(r))) {
                m_cur = static_cast<quint32>(r);
                m_eof = false;
                return;
            }
        }
        return;
    }

    m_view = candidates();
    m_pos = 0;
    if (m_view.empty())
        return;
    m_eof = false;
    if (keepRecno < 0)
        return;
    const auto found = std::find(m_view.begin(), m_view.end(), static_cast<quint32>(keepRecno));
    if (found != m_view.end()) {
        m_pos = found - m_view.begin();
        return;
    }
    // A neighbour in visiting order: the first visible record that comes
    // after the lost one, else the last.
    const bool indexOrder = m_file.hasIndex() && !byDay();
    std::vector<qint64> rank;
    if (indexOrder) {
        rank.assign(count, 0);
        const std::vector<quint32>& order = m_file.indexOrder();
        for (size_t i = 0; i < order.size(); ++i)
            rank[order[i]] = static_cast<qint64>(i);
    }
    auto rankOf = [&](quint32 r) { return indexOrder ? rank[r] : static_cast<qint64>(r); };
    const qint64 lost = keepRecno < count ? rankOf(static_cast<quint32>(keepRecno)) : keepRecno;
    m_pos = m_view.size() - 1;
    for (size_t i = 0; i < m_view.size(); ++i) {
        if (rankOf(m_view[i]) > lost) {
            m_pos = i;
            break;
        }
    }
}

qint64 Table::currentRecno() const
{
    if (!isOpen())
        return -1;
    if (listedView())
        return m_view.empty() ? -1 : static_cast<qint64>(m_view[m_pos]);
    return (m_cur < m_file.count() && m_file.live(m_cur)) ? static_cast<qint64>(m_cur) : -1;
}

RecordRef Table::current() const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return RecordRef(m_file, m_buffer.constData());
    const qint64 recno = currentRecno();
    return RecordRef(m_file, recno < 0 ? nullptr : m_file.record(static_cast<quint32>(recno)));
}

std::vector<RecordRef> Table::dayRecords(QDate first, QDate last) const
{
    std::vector<RecordRef> records;
    for (quint32 recno : m_file.dayRecords(first, last))
        records.emplace_back(m_file, m_file.record(recno));
    return records;
}

void Table::setFilter(Filter accept)
{
    m_filter = std::move(accept);
}

void Table::setDayFilter(DayProvider day)
{
    m_dayProvider = std::move(day);
}

void Table::setFiltered(bool on)
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    const qint64 keep = currentRecno();
    m_filtered = on;
    if (isOpen())
        rebuildView(keep);
}

void Table::refresh()
{
    if (!isOpen())
        return;
    if (m_state != State::Browse)
        post();
    // Read anew, the file keeps the current record where it still can.
    m_file.refresh();
    rebuildView(currentRecno());
}

void Table::first()
{
    if (m_state != State::Browse)
        post();
    rebuildView(-1);
}

void Table::next()
{
    if (m_state != State::Browse)
        post();
    if (m_eof)
        return;
    if (listedView()) {
        if (m_pos + 1 < m_view.size())
            ++m_pos;
        else
            m_eof = true;
        return;
    }
    for (quint32 r = m_cur + 1; r < m_file.count(); ++r) {
        if (m_file.live(r)) {
            m_cur = r;
            return;
        }
    }
    m_eof = true;
}

bool Table::locate(const char* name, const Value& value, LocateOptions options)
{
    if (!isOpen())
        return false;
    if (m_state != State::Browse)
        post();
    const RecordFile::Field& f = m_file.field(name);

    auto matches = [&](quint32 recno) {
        const RecordRef ref(m_file, m_file.record(recno));
        if (const auto* text = std::get_if<QString>(&value))
            return textMatches(ref.fieldText(name), *text, options);
        if (const auto* day = std::get_if<QDate>(&value))
            return ref.fieldDate(name) == *day;
        if (const auto* whole = std::get_if<qint64>(&value))
            return f.type == FieldType::Numeric && ref.fieldDouble(name) == static_cast<double>(*whole);
        if (const auto* real = std::get_if<double>(&value))
            return f.type == FieldType::Numeric && ref.fieldDouble(name) == *real;
        return false;
    };

    if (listedView()) {
        for (size_t i = 0; i < m_view.size(); ++i) {
            if (matches(m_view[i])) {
                m_pos = i;
                m_eof = false;
                return true;
            }
        }
        return false;
    }
    const char* dayField = schema().dayField;
    if (dayField && std::strcmp(name, dayField) == 0 && std::holds_alternative<QDate>(value)) {
        // The day index answers without reading the other days.
        const QDate day = std::get<QDate>(value);
        const std::vector<quint32> records = m_file.dayRecords(day, day);
        if (records.empty())
            return false;
        m_cur = records.front();
        m_eof = false;
        return true;
    }
    for (quint32 r = 0; r < m_file.count(); ++r) {
        if (m_file.live(r) && matches(r)) {
            m_cur = r;
            m_eof = false;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- editing

void Table::insert()
{
    if (!isOpen())
        throw StoreError(QStringLiteral("%1: Tabelle ist nicht geöffnet.").arg(m_file.fileName()));
    if (m_state != State::Browse)
        post();
    m_file.finishPendingReplacement();
    m_buffer = m_file.blankRecord();
    m_editStale = false;
    m_state = State::Insert;
    if (byDay()) {
        const QDate day = m_dayProvider();
        if (day.isValid())
            setField(schema().dayField, day);
    }
}

void Table::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    m_file.finishPendingReplacement();
    const qint64 recno = currentRecno();
    if (recno < 0) {
        insert();
        return;
    }
    m_buffer = QByteArray(m_file.record(static_cast<quint32>(recno)), m_file.recordLength());
    m_editOriginal = m_buffer;
    m_editRecno = static_cast<quint32>(recno);
    m_editStale = false;
    m_state = State::Edit;
}

void Table::setField(const char* name, const Value& value)
{
    if (!isOpen() || (m_state != State::Edit && m_state != State::Insert))
        throw StoreError(QStringLiteral("%1: Datensatz wird nicht bearbeitet.").arg(m_file.fileName()));
    m_file.writeValue(m_buffer.data(), name, value);
}

void Table::setFields(const Fields& values)
{
    if (!isOpen() || (m_state != State::Edit && m_state != State::Insert))
        throw StoreError(QStringLiteral("%1: Datensatz wird nicht bearbeitet.").arg(m_file.fileName()));
    m_buffer = m_file.encoded(m_buffer, values);
}

void Table::post()
{
    if (!isOpen() || (m_state != State::Edit && m_state != State::Insert))
        return;
    const bool inserting = m_state == State::Insert;
    RecordFile::Write write(
        m_file, [this, inserting] { return inserting ? RecordFile::Write::kEnd : qint64(m_editRecno); });
    // Checked after the file was followed: an edit goes only to the record
    // as it was when the edit began.
    if (m_editStale || m_buffer.size() != m_file.recordLength() ||
        (!inserting && (m_editRecno >= m_file.count() ||
                        QByteArray(m_file.record(m_editRecno), m_buffer.size()) != m_editOriginal))) {
        cancel();
        throw changedError();
    }
    const quint64 changes = m_file.changeCount();
    const qint64 recno = inserting ? m_file.count() : m_editRecno;
    try {
        if (inserting)
            write.append(m_buffer);
        else
            write.rewrite(m_editRecno, m_buffer);
    } catch (...) {
        // A record written and taken back again: the edit is over.
        if (m_file.changeCount() != changes) {
            cancel();
            rebuildView(recno);
        }
        throw;
    }
    cancel();
    rebuildView(recno);
}

void Table::postFields(const Fields& values)
{
    try {
        setFields(values);
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void Table::cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
}

void Table::deleteRecord()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    const qint64 chosen = currentRecno();
    RecordFile::Write write(m_file, [this] { return currentRecno(); });
    const qint64 recno = currentRecno();
    if (recno < 0)
        throw StoreError(QStringLiteral("%1: Kein Datensatz zum Löschen.").arg(m_file.fileName()));
    if (recno != chosen)
        throw StoreError(
            QStringLiteral("%1: Der Datensatz wurde inzwischen von einem anderen Programm geändert "
                           "und nicht gelöscht.")
                .arg(m_file.fileName()));
    write.markDeleted(static_cast<quint32>(recno));
    rebuildView(recno);
}

void Table::revertLastChange()
{
    if (!m_file.revertible())
        return;
    cancel();
    const qint64 recno = m_file.revertLastChange();
    if (recno >= 0)
        rebuildView(recno);
}

void checkDiaryFiles(const QString& dir, FileSystem& fs)
{
    for (const char* name : schema::diaryFileNames()) {
        const QString path = findFile(dir, QString::fromLatin1(name), fs);
        if (path.isEmpty())
            continue;
        const EntryType type = fs.status(path).type;
        if (type != EntryType::Regular)
            throwNotAPlainFile(path, type);
    }
}

} // namespace store
