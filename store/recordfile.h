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

class RecordFile;
class TableDraft;

// Read access to one record of a table file, for filter callbacks, for the
// current record and for the records of a period. Valid until the file
// changes.
class RecordRef
{
public:
    RecordRef(const RecordFile& file, const char* record) : m_file(file), m_record(record) {}

    // Empty fields read as 0, the empty text or no date; texts lose their
    // trailing blanks.
    qint64 fieldInt(const char* name) const;
    double fieldDouble(const char* name) const;
    QString fieldText(const char* name) const;
    QDate fieldDate(const char* name) const;

private:
    const RecordFile& m_file;
    const char* m_record; // null on an empty view
};

// One dBase table file, owned whole: its bytes on the disk and, read once
// on open and checked, in memory; for the catalogues its name index, and
// for the diary tables the index of its days, so that a day's or a
// period's records are found without reading the rest. It knows no cursor
// and no filter: records are addressed by their number (from 0, in file
// order).
//
// Every change is written through and on the disk when the call returns;
// every failing call throws StoreError and leaves the file and the records
// as they were.
//
// The file may be shared with other dBase programs: before each write
// (Write) it checks that its file is still the one it read (the same file,
// with the same length, times of change and record count, and the bytes
// the write replaces as they were read). When another program changed it,
// the file is read anew first, so that both changes are kept, and the
// Follower is told. From the check to the end of the write it holds a
// write lock (File::lockForWriting) that keeps out the programs that lock.
//
// No write reaches another name of the file: a file with more than one
// name (a hard link) is first given a file of its own, copied beside it and
// renamed into place as a replacement is.
class RecordFile
{
public:
    // Told when the records were read anew underneath whoever walks them.
    class Follower
    {
    public:
        // `before` holds the records as they were (record length
        // `beforeLength`), and `sameLayout` says whether the fields and the
        // record length are still the same. `before` is null when the file
        // was replaced as a whole (replaceTables): no record is kept then.
        virtual void recordsReread(const QByteArray* before, qint64 beforeLength, bool sameLayout) = 0;

    protected:
        ~Follower() = default;
    };

    struct Field
    {
        int offset = -1; // -1: the file lacks this optional field
        int width = 0;
        int decimals = 0;
        FieldType type = FieldType::Character;
        CodePage codePage = CodePage::Cp850;

        bool operator==(const Field&) const = default;
    };

    static constexpr int kMaxSummed = 5;
    using DaySums = std::array<double, kMaxSummed>;
    struct DaySum
    {
        int day; // YYYYMMDD
        DaySums sums;
    };

    explicit RecordFile(const TableSchema& schema, FileSystem& fs = posixFileSystem());
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    const TableSchema& schema() const { return m_schema; }
    FileSystem& fileSystem() const { return m_fs; }
    bool isOpen() const { return m_open; }
    void setFollower(Follower* follower) { m_follower = follower; }

    // Opens the file (and its index) in `dir`, finding names that differ
    // only in letter case; the folder is held open (FileSystem::holdFolder)
    // until the file is closed. Fails when a file is missing, is a symbolic
    // link or no plain file, is held by another program, is damaged or
    // lacks a declared field. A header count that lags complete records is
    // mended; a torn last record is left out; an index that does not match
    // the table is rebuilt. With `summed`, the same reading of the records
    // sums these fields for every day, which sumsByDay then answers at once
    // until the file changes.
    void open(const QString& dir, const std::vector<const char*>& summed = {});
    void close();

    const QString& dir() const { return m_dir; }
    // The table's file, as found on open.
    const QString& path() const { return m_path; }
    QString fileName() const;

    // Records physically in the file, deleted ones included.
    quint32 count() const { return m_count; }
    qint64 recordLength() const { return m_header.recordLength; }
    const char* record(quint32 recno) const;
    bool live(quint32 recno) const;
    // The layout of a declared field; throws StoreError for a name not
    // declared or, in a file that lacks it, an optional field.
    const Field& field(const char* name) const;
    bool hasDayField() const { return m_dayField >= 0; }
    bool hasIndex() const { return m_keyField >= 0; }
    // Every record number in the order of the name index.
    const std::vector<quint32>& indexOrder() const { return m_order; }

    // The live records whose day lies from `first` to `last`, ascending by
    // day and in file order within a day, straight from the day index.
    // None without a day field or a valid period.
    std::vector<quint32> dayRecords(QDate first, QDate last) const;
    // For every day of the day field, ascending by day: the sums of the
    // numeric `fields` (at most kMaxSummed) over the day's live records,
    // added in file order. A day without live records is left out.
    std::vector<DaySum> sumsByDay(const std::vector<const char*>& fields) const;
    // The day of every record in file order as YYYYMMDD; 0 for an empty
    // day and for a deleted record.
    std::vector<int> recordDays() const;
    static int dayKey(QDate day); // YYYYMMDD, 0 for no date

    // A blank record, and `record` with the named fields set: all or
    // nothing, a name the table does not declare, or a value that does not
    // fit, throws StoreError.
    QByteArray blankRecord() const { return QByteArray(m_header.recordLength, ' '); }
    QByteArray encoded(QByteArray record, const Fields& values) const;
    void writeValue(char* record, const char* name, const Value& value) const;

    // Counts the changes written to the file: appends, rewrites, deletions
    // and changes taken back.
    quint64 changeCount() const { return m_changes; }

    // Reads the file anew when another program changed it; with a
    // replacement waiting, tries to put it in place (until it can be, the
    // old file stays readable).
    void refresh();
    // A replacement of this file that waits (replaceTables) is put in place
    // first; throws StoreError, saying so, while it cannot be.
    void finishPendingReplacement();

    // Whether there is a change to take back.
    bool revertible() const { return m_open && m_lastChange != Change::None && m_lastRecno < m_count; }
    // Takes back the last append, rewrite or deletion, on the disk at once,
    // when a change of another table that belongs to it failed: a rewritten
    // record gets its old bytes, a deleted one is live again, an appended
    // one is marked deleted. Returns the record taken back, or -1 when there
    // is none to take back.
    qint64 revertLastChange();

    // Whether the file at `path` reads as a complete table of `schema`, its
    // count and end mark in place, without writing it.
    static bool wellFormed(const TableSchema& schema, FileSystem& fs, const QString& path);

    // A write: from its construction, which holds the write lock and checks
    // the file (see above), to its end. Construct it with the record whose
    // bytes the write replaces, asked after the file is followed: a record
    // number, kEnd for the end mark an append replaces, or -1 for none.
    class Write
    {
    public:
        static constexpr qint64 kEnd = -2;

        Write(RecordFile& file, const std::function<qint64()>& replaced);
        ~Write();
        Write(const Write&) = delete;
        Write& operator=(const Write&) = delete;

        // Appends `record` and its end mark, syncs them, then the header
        // count and the index. When the count or the index cannot follow,
        // the record is taken back (marked deleted) and the error passed
        // on; changeCount() then tells that the file changed. Returns the
        // new record's number.
        quint32 append(const QByteArray& record);
        // Rewrites record `recno`, synced, and follows a changed key in the
        // index (taking the record back as append does when it cannot).
        void rewrite(quint32 recno, const QByteArray& record);
        void markDeleted(quint32 recno);
        // revertLastChange without a check of its own.
        qint64 revertLast();

    private:
        void lockCurrent();

        RecordFile& m_file;
        File* m_locked;
    };

private:
    friend class TableDraft;
    friend void replaceTables(const std::vector<TableDraft*>& drafts);

    // Takes up the file that now stands at the path, after a replacement of
    // the whole file: `file` when given (the new file as it was created),
    // else the file found at the path. The follower is told.
    void reopen(std::unique_ptr<File> file = nullptr);
    // `file` at `path`, or when it has other names, the file of its own
    // that has taken its place.
    std::unique_ptr<File> fileOfItsOwn(std::unique_ptr<File> file, const QString& path);
    // Whether the bytes at `offset` are still `known` on the disk; a single
    // end mark also matches the end of the file.
    bool stillOnDisk(qint64 offset, const QByteArray& known);

    // Before a write: finishes a replacement left pending, or reads the file
    // anew when another program changed it.
    void followFile();
    // Whether the file at the table's name is still the one last read or
    // written, as far as one status call and the header count tell.
    bool fileUnchanged();
    // Reads the file at the table's name anew and tells the follower.
    void reload();
    void setReplacementPending(bool pending);
    void restamp();
    // Takes back the last change; returns its record, or -1 when there is
    // none. Throws when the file cannot be written.
    qint64 revertUnchecked();
    // After a record was written: the header count (with `count`) and, for a
    // record whose key is new, the name index follow it; when they cannot,
    // the record is taken back and the error passed on.
    void followWritten(bool count, bool key);
    // Takes back the record just written whose count or key could not be
    // written, then writes the index for the file as it is. Never throws.
    void takeBack();
    // The error for a write that waits for a pending replacement.
    static StoreError pendingError(const StoreError& cause);
    // Puts a replacement pending in `dir` in place and reads the files that
    // waited for it anew: `self` passing its error on, the others quietly
    // (they read again before their next write).
    static void finishWaiting(FileSystem& fs, const QString& dir, RecordFile* self);

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
    // Follows a change of the record's day from `before`.
    void reindexDay(quint32 recno, int before);
    // Takes `bytes` as the new content of record `recno`, following its
    // day in the day index; returns whether its key changed, which the
    // caller follows in the name index.
    bool takeUp(quint32 recno, const QByteArray& bytes);
    // The offsets and widths of the named fields in `fields` (-1 for one
    // that is not numeric); throws StoreError for a name not declared.
    std::vector<std::pair<int, int>> summedFields(const std::vector<const char*>& names,
                                                  const std::vector<Field>& fields) const;
    // Writes the header count; with `sync` it is on the disk on return.
    void writeCount(bool sync);

    const TableSchema& m_schema;
    FileSystem& m_fs;
    Follower* m_follower = nullptr;
    bool m_open = false;
    std::shared_ptr<void> m_folder; // the folder, held while the file is open
    bool m_readOnly = false;        // opened only to be checked: never mended
    QString m_dir;
    QString m_path;
    QString m_indexPath;
    std::unique_ptr<File> m_file;
    std::unique_ptr<File> m_indexFile;

    dbf::Header m_header;
    QByteArray m_headerBytes;    // header and field descriptors as on the disk
    std::vector<Field> m_fields; // by declared position
    std::unordered_map<std::string, int> m_fieldByName;
    QByteArray m_records; // m_count records, without header and end mark
    quint32 m_count = 0;
    // The file as last read or written.
    FileStatus m_stamp;
    // A replacement of this file was decided but not yet put in place: the
    // old file is read until a write finishes it.
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

    enum class Change { None, Append, Edit, Delete };
    Change m_lastChange = Change::None;
    quint32 m_lastRecno = 0;
    QByteArray m_lastImage;   // the rewritten record as it was
    QByteArray m_lastWritten; // the record as the last change left it
    quint64 m_changes = 0;
};

// Finishes a replacement in `dir` that a crash interrupted after it was
// decided, or removes the leftovers of one that was not. Only plain files of
// the diary's own names are renamed or removed.
//
// The list of renames names, for every table it replaces, the file it was
// made from (its length, header date, record count and checksum) and the
// new file (length and checksum); for a file of a new diary (createTables)
// that there was none. The replacement is finished only when each listed
// table is still the file named (for a new file: nothing stands at its
// name, in any letter case), or already the new one, and each new file not
// yet in place is the one named and a complete table of the same schema
// (or name index of the same catalogue); a list of the previous format,
// without these, only when each new file it names is a complete table of
// the same schema. Otherwise nothing is replaced: the list and the new
// files are set aside under new names (never removed), and their names are
// returned as "old → new". RecordFile::open calls it before it reads a
// file.
QStringList finishReplacement(FileSystem& fs, const QString& dir);

} // namespace store
