#pragma once

#include "store/dayindex.h"
#include "store/dbfformat.h"
#include "store/error.h"
#include "store/fileio.h"
#include "store/schema.h"
#include "store/value.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>
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

class Table;
class TableDraft;

// Read access to one record, for filter callbacks and for the current record.
class RecordRef
{
public:
    RecordRef(const Table& table, const char* record) : m_table(table), m_record(record) {}

    // Empty fields read as 0, the empty text or no date; texts lose their
    // trailing blanks.
    qint64 fieldInt(const char* name) const;
    double fieldDouble(const char* name) const;
    QString fieldText(const char* name) const;
    QDate fieldDate(const char* name) const;

private:
    const Table& m_table;
    const char* m_record; // null on an empty view
};

// One dBase table file with its cursor, record filter and, for the
// catalogues, its name index.
//
// The file is read once on open and kept in memory; every change is written
// through and on the disk when the call returns. A table's day field is
// indexed in memory, so a day's records are found without reading the rest.
// Every failing call throws StoreError and leaves the table as it was.
//
// The files may be shared with other dBase programs: before each write the
// table checks that its file is still the one it read (the same file, with
// the same length, times of change and record count, and the bytes the
// write replaces as they were read). When another program changed it, the
// file is read anew first, so that both changes are kept; an edit is then
// written only if its record is still as it was when the edit began, and
// otherwise refused with StoreError. From the check to the end of the write
// the table holds a write lock (File::lockForWriting) that keeps out the
// programs that lock.
//
// No write reaches another name of a table file: a file with more than one
// name (a hard link) is first given a file of its own, copied beside it and
// renamed into place as a replacement is.
class Table
{
public:
    enum class State { Closed, Browse, Edit, Insert };
    using Filter = std::function<bool(const RecordRef&)>;
    using DayProvider = std::function<QDate()>;

    explicit Table(const TableSchema& schema, FileSystem& fs = posixFileSystem());
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const TableSchema& schema() const { return m_schema; }
    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Closed; }

    // Opens the table (and its index) in `dir`, finding names that differ
    // only in letter case; the folder is held open (FileSystem::holdFolder)
    // until the table is closed. Fails when a file is missing, is a symbolic link
    // or no plain file, is held by another program, is damaged or lacks a
    // declared field. A header count that lags
    // complete records is mended; a torn last record is left out; an index
    // that does not match the table is rebuilt. The cursor is on the first
    // visible record afterwards. With `summed`, the same reading of the
    // records sums these fields for every day, which sumsByDay then
    // answers at once until the table changes.
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
    int recordCount() const { return static_cast<int>(m_count); }
    // Records in the current view.
    int visibleCount() const;

    qint64 fieldInt(const char* name) const { return current().fieldInt(name); }
    double fieldDouble(const char* name) const { return current().fieldDouble(name); }
    QString fieldText(const char* name) const { return current().fieldText(name); }
    QDate fieldDate(const char* name) const { return current().fieldDate(name); }

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
    // change together.
    void post();
    // setFields and post in one step; when either fails the edit is
    // cancelled and the error passed on, so the table is left browsing.
    void postFields(const Fields& values);
    void cancel();
    // Marks the current record deleted, on the disk at once.
    void deleteRecord();
    // Removes deleted records from the file, replacing it all at once as
    // replaceTables does.
    void pack();

    const QString& dir() const { return m_dir; }
    // The table's file, as found on open.
    const QString& path() const { return m_path; }
    FileSystem& fileSystem() const { return m_fs; }
    // Counts the changes written to the file: posts and deletions.
    quint64 changeCount() const { return m_changes; }
    // Takes back the last post or deletion, on the disk at once, when a
    // change of another table that belongs to it failed: an edited record
    // gets its old bytes, a deleted one is live again, an appended one is
    // marked deleted. Does nothing when there is none to take back.
    void revertLastChange();

    // For every day of the day field, ascending by day: the sums of the
    // numeric `fields` (at most kMaxSummed) over the day's live records,
    // added in file order. A day without live records is left out.
    static constexpr int kMaxSummed = 5;
    using DaySums = std::array<double, kMaxSummed>;
    struct DaySum
    {
        int day; // YYYYMMDD
        DaySums sums;
    };
    std::vector<DaySum> sumsByDay(const std::vector<const char*>& fields) const;
    // The day of every record in file order as YYYYMMDD; 0 for an empty
    // day and for a deleted record.
    std::vector<int> recordDays() const;
    static int dayKey(QDate day); // YYYYMMDD, 0 for no date
    // Whether the file at `path` reads as a complete table of `schema`, its
    // count and end mark in place, without writing it.
    static bool wellFormed(const TableSchema& schema, FileSystem& fs, const QString& path);

private:
    friend class RecordRef;
    friend class RecordWalk;
    friend class TableDraft;
    friend void replaceTables(const std::vector<TableDraft*>& drafts);
    friend QStringList finishReplacement(FileSystem& fs, const QString& dir);
    class WriteWindow;

    // Takes up the file that now stands at the table's path, after a
    // replacement of the whole file: `file` when given (the new file as it
    // was created), else the file found at the path. The cursor goes to the
    // first record.
    void reopen(std::unique_ptr<File> file = nullptr);
    // `file` at `path`, or when it has other names, the file of its own
    // that has taken its place.
    std::unique_ptr<File> fileOfItsOwn(std::unique_ptr<File> file, const QString& path);
    // Whether the bytes at `offset` are still `known` on the disk; a single
    // end mark also matches the end of the file.
    bool stillOnDisk(qint64 offset, const QByteArray& known);

    // Before a write: finishes a replacement left pending, or reads the file
    // anew when another program changed it (see reload).
    void followFile();
    // Whether the file at the table's name is still the one last read or
    // written, as far as one status call and the header count tell.
    bool fileUnchanged();
    // Reads the file at the table's name anew, keeping the record being
    // inserted, and the one being edited when the file holds it unchanged;
    // throws StoreError (and browses) when it does not.
    void reload();
    void setReplacementPending(bool pending);
    void restamp();
    void revertUnchecked();
    // Takes back the record just written whose count or key could not be
    // written, then writes the index for the file as it is. Never throws.
    void takeBack();
    // The error for a write that waits for a pending replacement.
    static StoreError pendingError(const StoreError& cause);
    // Puts a replacement pending in `dir` in place and reads the files of
    // the tables that waited for it anew: `self` passing its error on, the
    // others quietly (they read again before their next write).
    static void finishWaiting(FileSystem& fs, const QString& dir, Table* self);

    struct Field
    {
        int offset = -1; // -1: the file lacks this optional field
        int width = 0;
        int decimals = 0;
        FieldType type = FieldType::Character;
        CodePage codePage = CodePage::Cp850;

        bool operator==(const Field&) const = default;
    };

    RecordRef current() const;
    const Field& field(const char* name) const;
    const char* record(quint32 recno) const;
    bool live(quint32 recno) const;
    QString fileName() const;

    // Reads and checks the open file: header, declared records, records a
    // crash left past the count. Mends a lagging count.
    void load();
    QByteArray readRange(qint64 offset, qint64 length);
    void loadIndex();
    void writeIndex();
    QByteArray keyOf(quint32 recno) const;
    void sortIndexOrder();
    // The day of a record as YYYYMMDD; 0 without a day field or day.
    int dayOf(quint32 recno) const;
    void indexDay(quint32 recno);
    // Follows a change of the record's day from `before`.
    void reindexDay(quint32 recno, int before);
    // The offsets and widths of the named fields in `fields` (-1 for one
    // that is not numeric); throws StoreError for a name not declared.
    std::vector<std::pair<int, int>> summedFields(const std::vector<const char*>& names,
                                                  const std::vector<Field>& fields) const;
    void writeValue(char* buffer, const char* name, const Field& f, const Value& value) const;
    // `record` with the named fields set; throws as setFields does.
    QByteArray encoded(QByteArray record, const Fields& values) const;

    // Views: without a filter and index the view is the file itself; all
    // other views are lists of record numbers in visiting order.
    bool listedView() const;
    void rebuildView(qint64 keepRecno);
    std::vector<quint32> candidates() const;
    qint64 currentRecno() const;
    // Writes the header count; with `sync` it is on the disk on return.
    void writeCount(bool sync);

    const TableSchema& m_schema;
    FileSystem& m_fs;
    std::shared_ptr<void> m_folder; // the folder, held while the table is open
    bool m_readOnly = false;        // opened only to be checked: never mended
    QString m_dir;
    QString m_path;
    QString m_indexPath;
    std::unique_ptr<File> m_file;
    std::unique_ptr<File> m_indexFile;

    dbf::Header m_header;
    QByteArray m_headerBytes; // header and field descriptors as on the disk
    std::vector<Field> m_fields; // by declared position
    std::unordered_map<std::string, int> m_fieldByName;
    QByteArray m_records; // m_count records, without header and end mark
    quint32 m_count = 0;
    // The file as last read or written by this table.
    FileStatus m_stamp;
    // A replacement of this table was decided but its file not yet put in
    // place: the old file is read until a write finishes it.
    bool m_replacementPending = false;

    int m_dayField = -1;
    DayIndex m_days;
    // The fields summed by day when the file is read, and their sums as
    // they were after the change count m_openSumsChanges.
    std::vector<const char*> m_sumFields;
    std::vector<DaySum> m_openSums;
    quint64 m_openSumsChanges = 0;
    int m_keyField = -1;
    std::vector<quint32> m_order; // all records in index order

    Filter m_filter;
    DayProvider m_dayProvider;
    bool m_filtered = false;

    std::vector<quint32> m_view;
    size_t m_pos = 0;   // listed view: position in m_view
    quint32 m_cur = 0;  // file view: record number
    bool m_eof = true;

    State m_state = State::Closed;
    QByteArray m_buffer;
    quint32 m_editRecno = 0;
    QByteArray m_editOriginal; // the edited record as it was when the edit began

    enum class Change { None, Append, Edit, Delete };
    Change m_lastChange = Change::None;
    quint32 m_lastRecno = 0;
    QByteArray m_lastImage; // the edited record as it was
    QByteArray m_lastWritten; // the record as the last change left it
    quint64 m_changes = 0;
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

    // The live records of `day` in file order, found through the day index;
    // records appended to the draft are not among them.
    std::vector<quint32> dayRecords(QDate day) const;
    RecordRef record(quint32 recno) const;

    void remove(quint32 recno);
    // The records marked deleted in the table are left out of the new file,
    // as always; this makes the draft count as changed when there are any.
    void dropDeletedRecords();
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

// Finishes a replacement in `dir` that a crash interrupted after it was
// decided, or removes the leftovers of one that was not. Only plain files of
// the diary's own names are renamed or removed.
//
// The list of renames names, for every table it replaces, the file it was
// made from (its length, header date, record count and checksum) and the
// new file (length and checksum). The replacement is finished only when
// each listed table is still the file named, or already the new one, and
// each new file not yet in place is the one named and a complete table of
// the same schema; a list of the previous format, without these, only when
// each new file it names is a complete table of the same schema. Otherwise
// nothing is replaced: the list and the new files are set aside under new
// names (never removed), and their names are returned as "old → new".
// Table::open calls it before it reads a file.
QStringList finishReplacement(FileSystem& fs, const QString& dir);

// Refuses a diary folder in which one of the nine table and index files is
// a symbolic link or no plain file: throws StoreError naming it. Missing
// files are left to Table::open.
void checkDiaryFiles(const QString& dir, FileSystem& fs = posixFileSystem());

} // namespace store
