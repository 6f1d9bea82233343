#include "store/fileio.h"

#include "store/error.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {
namespace {

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

[[noreturn]] void fail(const QString& path, const QString& what, int err)
{
    throwFileError(path, what, err);
}

class PosixFile : public File
{
public:
    PosixFile(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    ~PosixFile() override { ::close(m_fd); }

    qint64 size() override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            fail(m_path, QStringLiteral("Dateigröße nicht lesbar"), errno);
        return st.st_size;
    }

    QByteArray readAll() override
    {
        const qint64 length = size();
        QByteArray data(length, Qt::Uninitialized);
        data.truncate(readAt(0, data.data(), length));
        return data;
    }

    qint64 readAt(qint64 offset, char* data, qint64 length) override
    {
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, data + done, length - done, offset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(m_path, QStringLiteral("Lesefehler"), errno);
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    void writeAt(qint64 offset, const char* data, qint64 length) override
    {
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::pwrite(m_fd, data + done, length - done, offset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(m_path, QStringLiteral("Schreibfehler"), n < 0 ? errno : ENOSPC);
            done += n;
        }
    }

    void sync() override
    {
        if (::fdatasync(m_fd) != 0)
            fail(m_path, QStringLiteral("Daten konnten nicht gesichert werden"), errno);
    }

    void truncate(qint64 length) override
    {
        if (::ftruncate(m_fd, length) != 0)
            fail(m_path, QStringLiteral("Schreibfehler"), errno);
    }

private:
    int m_fd;
    QString m_path;
};

class PosixFileSystem : public FileSystem
{
public:
    std::unique_ptr<File> open(const QString& path, bool exclusive) override
    {
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            if (err == ENOENT)
                throw StoreError(QStringLiteral("%1: Datei nicht gefunden.").arg(fileName(path)));
            fail(path, QStringLiteral("Datei kann nicht geöffnet werden"), err);
        }
        if (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            throw StoreError(QStringLiteral("%1: Datei wird von einem anderen Programm benutzt.").arg(fileName(path)));
        }
        return std::make_unique<PosixFile>(fd, path);
    }

    std::unique_ptr<File> create(const QString& path, bool replace) override
    {
        const QByteArray native = QFile::encodeName(path);
        const int flags = O_RDWR | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
        const int fd = ::open(native.constData(), flags, 0644);
        if (fd < 0)
            fail(path, QStringLiteral("Datei kann nicht angelegt werden"), errno);
        return std::make_unique<PosixFile>(fd, path);
    }

    void rename(const QString& from, const QString& to) override
    {
        if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
            fail(to, QStringLiteral("Datei konnte nicht ersetzt werden"), errno);
    }

    void remove(const QString& path) override
    {
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            fail(path, QStringLiteral("Datei konnte nicht entfernt werden"), errno);
    }

    void syncDirectory(const QString& dir) override
    {
        const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            fail(dir, QStringLiteral("Verzeichnis nicht lesbar"), errno);
        const int rc = ::fsync(fd);
        const int err = errno;
        ::close(fd);
        if (rc != 0)
            fail(dir, QStringLiteral("Verzeichnis konnte nicht gesichert werden"), err);
    }
};

} // namespace

void throwFileError(const QString& path, const QString& what, int err)
{
    // The system's own text follows the user's language setting, which may
    // not be German; the cases a user can mend get their German words.
    QString reason;
    StoreError::Cause cause = StoreError::Cause::Other;
    if (err == ENOSPC || err == EDQUOT) {
        reason = QStringLiteral("Der Datenträger ist voll");
    } else if (err == EROFS) {
        reason = QStringLiteral("Der Datenträger ist schreibgeschützt");
        cause = StoreError::Cause::ReadOnlyFileSystem;
    } else if (err == EACCES || err == EPERM) {
        reason = QStringLiteral("Keine Zugriffsberechtigung");
        cause = StoreError::Cause::NoPermission;
    } else {
        reason = QString::fromLocal8Bit(std::strerror(err));
    }
    throw StoreError(QStringLiteral("%1: %2 (%3).").arg(fileName(path), what, reason), cause,
                     cause == StoreError::Cause::Other ? QString() : path);
}

FileSystem& posixFileSystem()
{
    static PosixFileSystem fs;
    return fs;
}

QString findFile(const QString& dir, const QString& name)
{
    const QDir directory(dir);
    if (QFileInfo::exists(directory.filePath(name)))
        return directory.filePath(name);
    const QStringList entries = directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return directory.filePath(entry);
    }
    return {};
}

} // namespace store
