#include "store/fileio.h"

#include "store/error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
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

FileStatus statusOf(const struct stat& st)
{
    FileStatus status;
    if (S_ISREG(st.st_mode))
        status.type = EntryType::Regular;
    else if (S_ISLNK(st.st_mode))
        status.type = EntryType::Link;
    else if (S_ISDIR(st.st_mode))
        status.type = EntryType::Directory;
    else
        status.type = EntryType::Other;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    status.size = st.st_size;
    status.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    status.mode = st.st_mode & 07777;
    status.owner = st.st_uid;
    status.group = st.st_gid;
    return status;
}

// Opens `path` without following a link and without waiting on a pipe, and
// keeps the descriptor only when it is a plain file.
int openPlain(const QString& path, int flags, const QString& what)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        const int err = errno;
        if (err == ELOOP)
            throwNotAPlainFile(path, EntryType::Link);
        if (err == ENOENT && !(flags & O_CREAT))
            throw StoreError(QStringLiteral("%1: Datei nicht gefunden.").arg(fileName(path)));
        fail(path, what, err);
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const EntryType type = statusOf(st).type;
        ::close(fd);
        throwNotAPlainFile(path, type == EntryType::Regular ? EntryType::Other : type);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

class PosixFile : public File
{
public:
    PosixFile(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    ~PosixFile() override { ::close(m_fd); }

    qint64 size() override { return status().size; }

    FileStatus status() override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            fail(m_path, QStringLiteral("Dateigröße nicht lesbar"), errno);
        return statusOf(st);
    }

    void adoptOwnerAndMode(const FileStatus& of) override
    {
        // Only the superuser may give a file away; the group alone may be
        // ours to give. Either way the permission bits follow.
        if (::fchown(m_fd, of.owner, of.group) != 0)
            (void)::fchown(m_fd, static_cast<uid_t>(-1), of.group);
        if (::fchmod(m_fd, of.mode) != 0)
            fail(m_path, QStringLiteral("Zugriffsrechte nicht übertragbar"), errno);
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
        const int fd = openPlain(path, O_RDWR, QStringLiteral("Datei kann nicht geöffnet werden"));
        if (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            throw StoreError(QStringLiteral("%1: Datei wird von einem anderen Programm benutzt.").arg(fileName(path)));
        }
        return std::make_unique<PosixFile>(fd, path);
    }

    std::unique_ptr<File> create(const QString& path, bool replace) override
    {
        const int fd = openPlain(path, O_RDWR | O_CREAT | (replace ? O_TRUNC : O_EXCL),
                                 QStringLiteral("Datei kann nicht angelegt werden"));
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

    FileStatus status(const QString& path) override
    {
        struct stat st
        {
        };
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
            return statusOf(st);
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        fail(path, QStringLiteral("Datei nicht lesbar"), errno);
    }

    QStringList list(const QString& dir) override
    {
        DIR* d = ::opendir(QFile::encodeName(dir).constData());
        if (!d)
            fail(dir, QStringLiteral("Verzeichnis nicht lesbar"), errno);
        QStringList names;
        while (const dirent* entry = ::readdir(d)) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                names << QFile::decodeName(name);
        }
        ::closedir(d);
        names.sort();
        return names;
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
    } else if (err == ELOOP) {
        reason = QStringLiteral("Symbolischer Verweis");
    } else if (err == EISDIR) {
        reason = QStringLiteral("Ist ein Ordner");
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

void throwNotAPlainFile(const QString& path, EntryType type)
{
    QString what;
    switch (type) {
    case EntryType::Link:
        what = QStringLiteral("Datei ist ein symbolischer Verweis");
        break;
    case EntryType::Directory:
        what = QStringLiteral("Ist ein Ordner, keine Datei");
        break;
    default:
        what = QStringLiteral("Ist keine gewöhnliche Datei");
        break;
    }
    throw StoreError(
        QStringLiteral("%1: %2 (Kelvara liest und schreibt nur gewöhnliche Dateien im Tagebuchordner).")
            .arg(fileName(path), what));
}

QString findFile(const QString& dir, const QString& name, FileSystem& fs)
{
    const QDir directory(dir);
    if (fs.status(directory.filePath(name)).type != EntryType::Missing)
        return directory.filePath(name);
    for (const QString& entry : fs.list(dir)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return directory.filePath(entry);
    }
    return {};
}

} // namespace store
