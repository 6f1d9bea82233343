#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace store {

// One open file. Every call either does all it says or throws StoreError.
class File
{
public:
    virtual ~File() = default;

    virtual qint64 size() = 0;
    virtual QByteArray readAll() = 0;
    // Reads up to `length` bytes from `offset` into `data`; returns how many
    // were read, fewer only at the end of the file.
    virtual qint64 readAt(qint64 offset, char* data, qint64 length) = 0;
    virtual void writeAt(qint64 offset, const char* data, qint64 length) = 0;
    // Returns once everything written so far is on the disk.
    virtual void sync() = 0;
    virtual void truncate(qint64 length) = 0;
};

// All file access of the table layer goes through this interface, so that
// tests can make any single call fail or stop as a crash would.
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
};

// The error the file layer throws when `what` failed on `path` with the
// system's error number `err`; a full disk is named as such.
[[noreturn]] void throwFileError(const QString& path, const QString& what, int err);

// The real file system of the machine.
FileSystem& posixFileSystem();

// Finds `name` in `dir`: the exact name when it exists, otherwise the one
// entry that differs from it only in letter case. Returns the full path, or
// an empty string when there is none.
QString findFile(const QString& dir, const QString& name);

} // namespace store
