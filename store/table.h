#pragma once

#include "store/recordfile.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace store {

struct LocateOptions
{
    // Compare texts with the letters A-Z folded; every other character,
    // umlauts included, must match exactly.
    bool caseInsensitive = false;
    // The field need only begin with the value.
    bool partialKey = false;
};

// A table as the program walks it: a cursor over the visible records of
// one RecordFile, with a record filter and the buffer of the record being
// edited or inserted. The file's contract holds for every call that writes
// (on the disk when it returns, checked against other programs, all or
// nothing, StoreError on failure). Reads of a day's or a period's records
// (dayRecords, sumsByDay, recordDays) ignore the filter and leave the
// cursor where it is.
class Table : private RecordFile::Follower
{
public:
    enum class State { Closed, Browse, Edit, Insert };
    using Filter = std::function<bool(const RecordRef&)>;
    using DayProvider = std::function<QDate()>;
    static constexpr int kMaxSummed = RecordFile::kMaxSummed;
    using DaySums = RecordFile::DaySums;
    using DaySum = RecordFile::DaySum;

    explicit Table(const TableSchema& schema, FileSystem& fs = posixFileSystem());
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const TableSchema& schema() const { return m_file.schema(); }
    State state() const { return m_file.isOpen() ? m_state : State::Closed; }
    bool isOpen() const { return m_file.isOpen(); }

    // Opens the file as RecordFile::open does; the cursor is on the first
    // visible record afterwards.
    void open(const QString& dir, const std::vector<const char*>& summed = {});
    void close();

    // The record filter: a callback, or for tables with a day field the
    // records of the day that `day` names when asked.
    void setFilter(Filter accept);
    void setDayFilter(DayProvider day);
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Re-applies the filter with the current compared values, keeping the
    // current record when still visible, otherwise a neighbour. Re-reads the
    // file when another program changed it.
    void refresh();

    void first();
    void next();
    bool eof() const { return m_eof; }
    // Records physically in the file, deleted ones included.
    int recordCount() const { return static_cast<int>(m_file.count()); }

    // The current record, or while editing the record being edited.
    RecordRef current() const;
    qint64 fieldInt(const char* name) const { return current().fieldInt(name); }
    double fieldDouble(const char* name) const { return current().fieldDouble(name); }
    QString fieldText(const char* name) const { return current().fieldText(name); }
    QDate fieldDate(const char* name) const { return current().fieldDate(name); }

    // The live records whose day lies from `first` to `last` (or on `day`),
    // ascending by day and in file order within a day, found through the
    // day index whatever the filter; the cursor stays. Valid until the
    // table changes. None for a table without a day field.
    std::vector<RecordRef> dayRecords(QDate first, QDate last) const;
    std::vector<RecordRef> dayRecords(QDate day) const { return dayRecords(day, day); }

    // Makes the first visible record whose field equals `value` current.
    bool locate(const char* field, const Value& value, LocateOptions options = {});

    // A blank record; with the day filter on, its day field holds the day.
    void insert();
    // Changes the current record; on an empty view it inserts.
    void edit();
    void setField(const char* name, const Value& value);
    // Sets the named fields of the record being edited or inserted; the
    // others keep their values. All or nothing: a name the table does not
    // declare, or a value that does not fit, throws StoreError and leaves
    // the record as it was.
    void setFields(const Fields& values);
    // Writes the record, syncs it to the disk and updates the index; the
    // view is then rebuilt with the filter applied. When the count or the
    // index cannot follow a written record, the record is taken back (as
    // revertLastChange does) and the error passed on: a record and its key
    // change together. An edit whose record another program changed since
    // the edit began is refused with StoreError, and the table browses.
    void post();
    // setFields and post in one step; when either fails the edit is
    // cancelled and the error passed on, so the table is left browsing.
    void postFields(const Fields& values);
    void cancel();
    // Marks the current record deleted, on the disk at once.
    void deleteRecord();

    const QString& dir() const { return m_file.dir(); }
    // The table's file, as found on open.
    const QString& path() const { return m_file.path(); }
    FileSystem& fileSystem() const { return m_file.fileSystem(); }
    // Counts the changes written to the file: posts and deletions.
    quint64 changeCount() const { return m_file.changeCount(); }
    // Takes back the last post or deletion, on the disk at once, when a
    // change of another table that belongs to it failed: an edited record
    // gets its old bytes, a deleted one is live again, an appended one is
    // marked deleted. Does nothing when there is none to take back.
    void revertLastChange();

    std::vector<DaySum> sumsByDay(const std::vector<const char*>& fields) const
    {
        return m_file.sumsByDay(fields);
    }
    std::vector<int> recordDays() const { return m_file.recordDays(); }
    static int dayKey(QDate day) { return RecordFile::dayKey(day); }

private:
    friend class TableDraft;

    void recordsReread(const QByteArray* before, qint64 beforeLength, bool sameLayout) override;
    // The error for an edit whose record changed underneath it.
    StoreError changedError() const;

    // Views: without a filter and index the view is the file itself; all
    // other views are lists of record numbers in visiting order.
    bool listedView() const;
    bool byDay() const;
    void rebuildView(qint64 keepRecno);
    std::vector<quint32> candidates() const;
    qint64 currentRecno() const;

    RecordFile m_file;

    Filter m_filter;
    DayProvider m_dayProvider;
    bool m_filtered = false;

    std::vector<quint32> m_view;
    size_t m_pos = 0;  // listed view: position in m_view
    quint32 m_cur = 0; // file view: record number
    bool m_eof = true;

    State m_state = State::Browse; // while the file is open
    QByteArray m_buffer;
    quint32 m_editRecno = 0;
    QByteArray m_editOriginal; // the edited record as it was when the edit began
    // The file was read anew in another layout since the edit began.
    bool m_editStale = false;
};

// A new content for a whole table, built in memory from a copy of its
// records: records removed, changed and appended here reach the disk only
// through replaceTables, together with the drafts of other tables. A record
// of the table being edited is posted first; the table itself must not
// change while a draft of it is in use.
class TableDraft
{
public:
    explicit TableDraft(Table& table);

    Table& table() const { return m_table; }

    // The live records of `day` in file order, read as Table::dayRecords
    // reads them; records appended to the draft are not among them.
    std::vector<quint32> dayRecords(QDate day) const;
    RecordRef record(quint32 recno) const;

    void remove(quint32 recno);
    // Sets the named fields as Table::setFields does. A name the table does
    // not declare, or a value that does not fit, throws StoreError and
    // leaves the record as it was.
    void change(quint32 recno, const Fields& values);
    // A new record with the named fields set, the others blank.
    void append(const Fields& values);

    // Whether the draft differs from the table's records.
    bool changed() const { return m_changed; }
    // The whole new file: header with the new count, the live records in
    // file order, the appended ones, and the end mark.
    QByteArray image() const;

private:
    friend void replaceTables(const std::vector<TableDraft*>& drafts);

    RecordFile& file() const;

    Table& m_table;
    FileStatus m_stamp; // the table's file as the draft found it
    qint64 m_recordLength;
    QByteArray m_records;
    QByteArray m_appended;
    bool m_changed = false;
};

// Writes each changed draft to a new file beside its table (with the mode
// the table has now and, where the system lets us, its owner) and puts
// all of them in place as one step: a crash at any instant leaves every
// table with its old content, or, once the next Table::open has finished the
// step, all of them with the new one. The tables are then read anew, with
// the cursor on their first record. Unchanged drafts are skipped.
// Throws StoreError when nothing changed: a table or the folder may not be
// written (said before anything is written), a file could not be written,
// or another program changed a table since its draft was made. Throws
// DeferredReplacement when the step was decided but the files could not be
// put in place: the change is made and the next start completes it; the
// tables stay open on their old files and readable, and their next write
// finishes the step first or is refused. Should a table fail to be read
// anew, it is closed and its error thrown.
void replaceTables(const std::vector<TableDraft*>& drafts);

// Refuses a diary folder in which one of the nine table and index files is
// a symbolic link or no plain file: throws StoreError naming it. Missing
// files are left to Table::open.
void checkDiaryFiles(const QString& dir, FileSystem& fs = posixFileSystem());

} // namespace store
