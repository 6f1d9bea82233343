#pragma once

#include "store/create.h"
#include "store/error.h"
#include "store/fileio.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <map>
#include <unistd.h>

// The files of the fuzzing process, held in memory: the table layer reads
// and writes them as it would files on a disk, without the disk's cost per
// run.
class MemoryFileSystem : public store::FileSystem
{
public:
    std::map<QString, QByteArray> files;

    std::unique_ptr<store::File> open(const QString& path, bool) override
    {
        const auto it = files.find(path);
        if (it == files.end())
            throw store::StoreError(path + QStringLiteral(": Datei nicht gefunden."));
        return std::make_unique<MemoryFile>(it->second);
    }
    std::unique_ptr<store::File> create(const QString& path) override
    {
        files[path].clear();
        return std::make_unique<MemoryFile>(files[path]);
    }
    void rename(const QString& from, const QString& to) override
    {
        files[to] = files[from];
        files.erase(from);
    }
    void moveAside(const QString& from, const QString& to) override { rename(from, to); }
    std::shared_ptr<void> holdFolder(const QString&) override { return nullptr; }
    bool writable(const QString&) override { return true; }
    void remove(const QString& path) override { files.erase(path); }
    void syncDirectory(const QString&) override {}
    store::FileStatus status(const QString& path) override
    {
        const auto it = files.find(path);
        store::FileStatus status;
        if (it != files.end()) {
            status.type = store::EntryType::Regular;
            status.size = it->second.size();
        }
        return status;
    }
    QStringList list(const QString& dir) override
    {
        QStringList names;
        for (const auto& [path, data] : files) {
            if (QFileInfo(path).absolutePath() == QFileInfo(dir).absoluteFilePath())
                names << QFileInfo(path).fileName();
        }
        return names;
    }

private:
    class MemoryFile : public store::File
    {
    public:
        explicit MemoryFile(QByteArray& data) : m_data(data) {}
        qint64 size() override { return m_data.size(); }
        store::FileStatus status() override
        {
            store::FileStatus status;
            status.type = store::EntryType::Regular;
            status.size = m_data.size();
            return status;
        }
        void adoptOwnerAndMode(const store::FileStatus&) override {}
        void lockForWriting() override {}
        void unlock() override {}
        QByteArray readAll() override { return m_data; }
        qint64 readAt(qint64 offset, char* data, qint64 length) override
        {
            const qint64 n = std::clamp<qint64>(m_data.size() - offset, 0, length);
            std::copy_n(m_data.constData() + offset, n, data);
            return n;
        }
        void writeAt(qint64 offset, const char* data, qint64 length) override
        {
            if (m_data.size() < offset + length)
                m_data.resize(offset + length, '\0');
            std::copy_n(data, length, m_data.data() + offset);
        }
        void sync() override {}
        void truncate(qint64 length) override { m_data.resize(length, '\0'); }

    private:
        QByteArray& m_data;
    };
};

inline MemoryFileSystem& memoryFiles()
{
    static MemoryFileSystem fs;
    return fs;
}

// A scratch diary folder for one fuzzing process, with an empty file for
// every name of the diary.
inline QString fuzzFolder()
{
    static const QString dir = [] {
        const QString d = QDir::tempPath() + QStringLiteral("/kelvara-fuzz-%1").arg(::getpid());
        QDir().mkpath(d);
        for (const char* name : store::schema::diaryFileNames()) {
            QFile file(QDir(d).filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
        }
        return d;
    }();
    return dir;
}

// Starts a run: no files but this one.
inline void putFile(const QString& name, const char* data, size_t size)
{
    memoryFiles().files.clear();
    memoryFiles().files[QDir(fuzzFolder()).filePath(name)] = QByteArray(data, static_cast<qsizetype>(size));
}

inline void addFile(const QString& name, const QByteArray& bytes)
{
    memoryFiles().files[QDir(fuzzFolder()).filePath(name)] = bytes;
}

// Opens the table and reads every field of every visible record (or only
// the index key, in index order); a damaged file may be refused, but
// nothing else may happen.
inline void openAndReadAll(const store::TableSchema& schema, bool allFields = true)
{
    store::Table table(schema, memoryFiles());
    try {
        table.open(fuzzFolder());
        for (table.first(); !table.eof(); table.next()) {
            if (!allFields && schema.indexField) {
                table.fieldText(schema.indexField);
                continue;
            }
            for (const store::FieldSpec& f : schema.fields) {
                table.fieldText(f.name);
                table.fieldDouble(f.name);
                table.fieldDate(f.name);
            }
        }
        table.setFiltered(true);
        table.locate(schema.fields[1].name, QStringLiteral("A"), {true, true});
    } catch (const store::StoreError&) {
    }
}
