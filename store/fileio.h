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
    quint32 mode = 0;      // permission bits
    quint32 owner = 0;
    quint32 group = 0;

    // The same file with the same length and time of change.
    bool sameAs(const FileStatus& other) const
    {
        return type == other.type && device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs;
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
};

// All file access of the table layer goes through this interface, so that
// tests can make any single call fail or stop as a crash would. Only plain
// files are opened or created, and a symbolic link is never followed: a
// name that is a link or anything but a plain file is refused.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Opens an existing file for reading and writing. With `exclusive`, the
    // file is locked against other programs (it fails when one holds it).
    virtual std::unique_ptr<File> open(const QString& path, bool exclusive) = 0;
    // Creates a new file, or empties an existing one when `replace` is set.
    virtual std::unique_ptr<File> create(const QString& path, bool replace) = 0;
    // Moves `from` over `to` in one step.
    virtual void rename(const QString& from, const QString& to) = 0;
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
