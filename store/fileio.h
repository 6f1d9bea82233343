#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace store {

// What stands at a name in a folder. A symbolic link is a link, whatever it
// points to (or whether it points anywhere).
enum class EntryType { Missing, Regular, Link, Directory, Other };

// The state of a file as the system reports it.
struct FileStatus
{
    EntryType type = EntryType::Missing;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // time of the last change of the data, in ns
    // Time of the last change of the data or of the entry (its links, mode
    // or times), in ns. Unlike the time of change it cannot be set back.
    qint64 changedNs = 0;
    quint32 mode = 0; // permission bits
    quint32 owner = 0;
    quint32 group = 0;
    quint64 links = 0; // names the file has, in this folder or any other

    // The same file with the same length and times of change.
    bool sameAs(const FileStatus& other) const
    {
        return type == other.type && device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs && changedNs == other.changedNs;
    }
};

// One open file. Every call either does all it says or throws StoreError.
class File
{
public:
    virtual ~File() = default;

    virtual qint64 size() = 0;
    virtual FileStatus status() = 0;
    virtual QByteArray readAll() = 0;
    // Reads up to `length` bytes from `offset` into `data`; returns how many
    // were read, fewer only at the end of the file.
    virtual qint64 readAt(qint64 offset, char* data, qint64 length) = 0;
    virtual void writeAt(qint64 offset, const char* data, qint64 length) = 0;
    // Returns once everything written so far is on the disk.
    virtual void sync() = 0;
    virtual void truncate(qint64 length) = 0;
    // Gives the file the permission bits of `of` and, where the system lets
    // us, its owner and group (a file of another user keeps ours).
    virtual void adoptOwnerAndMode(const FileStatus& of) = 0;
    // An advisory record lock (POSIX, of this open file) over every byte a
    // table has, kept by other programs that lock before they write; waits
    // half a second for one that holds it, then throws StoreError. A file
    // open for reading only is not locked.
    virtual void lockForWriting() = 0;
    virtual void unlock() = 0;
};

// Holds a file's write lock for the life of the object.
class WriteLock
{
public:
    explicit WriteLock(File& file) : m_file(file) { m_file.lockForWriting(); }
    ~WriteLock() { m_file.unlock(); }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    File& m_file;
};

// The first byte past every byte a table's write lock covers.
constexpr qint64 kTableLockEnd = qint64(1) << 62;

// All file access of the table layer goes through this interface, so that
// tests can make any single call fail or stop as a crash would. Only plain
// files are opened or created, and a symbolic link is never followed: a
// name that is a link or anything but a plain file is refused.
//
// While a folder is held (holdFolder), every call on a name in it goes
// through the folder opened then: a folder renamed away, or replaced by a
// link to another one, is not followed.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Opens an existing file for reading and writing. With `exclusive`, the
    // file is locked against other programs (it fails when one holds it).
    virtual std::unique_ptr<File> open(const QString& path, bool exclusive) = 0;
    // Opens an existing file for reading only.
    virtual std::unique_ptr<File> openToRead(const QString& path) { return open(path, false); }
    // Creates a new file, locked against other programs; fails when anything
    // stands at the name. An existing file is never opened here.
    virtual std::unique_ptr<File> create(const QString& path) = 0;
    // Moves `from` over `to` in one step.
    virtual void rename(const QString& from, const QString& to) = 0;
    // Moves `from` to `to`; fails when anything stands at `to`.
    virtual void moveAside(const QString& from, const QString& to);
    // Creates the folder `dir` and any missing folder above it, each one
    // synced into the folder that holds it; does nothing when it exists.
    virtual void makeFolder(const QString& dir);
    // Opens `dir` and keeps it open as long as the returned token lives.
    virtual std::shared_ptr<void> holdFolder(const QString& dir);
    // Whether this process may write the file or folder at `path`.
    virtual bool writable(const QString& path);
    virtual void remove(const QString& path) = 0;
    virtual void syncDirectory(const QString& dir) = 0;
    // What stands at `path`, without following a link; Missing when nothing.
    virtual FileStatus status(const QString& path) = 0;
    // The names of every entry of `dir`, links and folders included, sorted.
    virtual QStringList list(const QString& dir) = 0;
};

// The error the file layer throws when `what` failed on `path` with the
// system's error number `err`; a full disk is named as such.
[[noreturn]] void throwFileError(const QString& path, const QString& what, int err);

// The error for a name that is no plain file (a link, a folder, a device).
[[noreturn]] void throwNotAPlainFile(const QString& path, EntryType type);

// The real file system of the machine.
FileSystem& posixFileSystem();

// Finds `name` in `dir`: the exact name when something stands there,
// otherwise the one entry that differs from it only in letter case. Returns
// the full path, or an empty string when there is none.
QString findFile(const QString& dir, const QString& name, FileSystem& fs = posixFileSystem());

} // namespace store
