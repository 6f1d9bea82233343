#include "store/fileio.h"

#include "store/error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <thread>
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
    status.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    status.mode = st.st_mode & 07777;
    status.owner = st.st_uid;
    status.group = st.st_gid;
    status.links = st.st_nlink;
    return status;
}

// A folder opened once and kept open while anyone holds it.
struct OpenFolder
{
    explicit OpenFolder(int descriptor) : fd(descriptor) {}
    ~OpenFolder() { ::close(fd); }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int fd;
};

QString folderKey(const QString& dir)
{
    return QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
}

// The folders held, by their path as given when they were opened.
std::map<QString, std::weak_ptr<OpenFolder>>& heldFolders()
{
    static std::map<QString, std::weak_ptr<OpenFolder>> folders;
    return folders;
}

// The folder `dir`: the one held under that path, else opened for this
// call; null with errno set when it cannot be opened.
std::shared_ptr<OpenFolder> folder(const QString& dir)
{
    const QString key = folderKey(dir);
    auto& held = heldFolders();
    if (const auto it = held.find(key); it != held.end()) {
        if (std::shared_ptr<OpenFolder> open = it->second.lock())
            return open;
        held.erase(it);
    }
    const int fd = ::open(QFile::encodeName(key).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_shared<OpenFolder>(fd);
}

// A name in a folder, for the *at calls.
struct Entry
{
    std::shared_ptr<OpenFolder> dir;
    QByteArray name;

    int fd() const { return dir ? dir->fd : -1; }
};

Entry entry(const QString& path)
{
    const QFileInfo info(path);
    return {folder(info.absolutePath()), QFile::encodeName(info.fileName())};
}

// The folder that holds `path`, or the error of opening it.
Entry existingEntry(const QString& path, const QString& what)
{
    Entry e = entry(path);
    if (!e.dir)
        fail(QFileInfo(path).absolutePath(), what, errno);
    return e;
}

// Opens `path` without following a link and without waiting on a pipe, and
// keeps the descriptor only when it is a plain file.
int openPlain(const QString& path, int flags, const QString& what)
{
    const Entry at = entry(path);
    const int fd = at.dir ? ::openat(at.fd(), at.name.constData(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644)
                          : -1;
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
    PosixFile(int fd, QString path, bool writing = true) : m_fd(fd), m_path(std::move(path)), m_writing(writing)
    {
    }
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

    // A lock of the open file (not of the process), so that closing another
    // descriptor of the same file does not drop it.
    void lockForWriting() override
    {
        if (!m_writing)
            return;
        struct flock range
        {
        };
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_len = kTableLockEnd;
        for (int tries = 0; ::fcntl(m_fd, F_OFD_SETLK, &range) != 0; ++tries) {
            // A file system without record locks has no program to keep out.
            if (errno != EAGAIN && errno != EACCES && errno != EINTR)
                return;
            if (tries == 100)
                throw StoreError(QStringLiteral("%1: Die Datei wird gerade von einem anderen Programm "
                                                "beschrieben. Es wurde nichts verändert; bitte versuchen "
                                                "Sie es gleich noch einmal.")
                                     .arg(fileName(m_path)));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void unlock() override
    {
        struct flock range
        {
        };
        range.l_type = F_UNLCK;
        range.l_whence = SEEK_SET;
        range.l_len = kTableLockEnd;
        (void)::fcntl(m_fd, F_OFD_SETLK, &range);
    }

private:
    int m_fd;
    QString m_path;
    bool m_writing;
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

    std::unique_ptr<File> openToRead(const QString& path) override
    {
        const int fd = openPlain(path, O_RDONLY, QStringLiteral("Datei kann nicht geöffnet werden"));
        return std::make_unique<PosixFile>(fd, path, false);
    }

    std::unique_ptr<File> create(const QString& path) override
    {
        const int fd =
            openPlain(path, O_RDWR | O_CREAT | O_EXCL, QStringLiteral("Datei kann nicht angelegt werden"));
        // Nobody else knows the new file yet: the lock cannot fail.
        (void)::flock(fd, LOCK_EX | LOCK_NB);
        return std::make_unique<PosixFile>(fd, path);
    }

    void rename(const QString& from, const QString& to) override
    {
        const QString what = QStringLiteral("Datei konnte nicht ersetzt werden");
        const Entry source = existingEntry(from, what), target = existingEntry(to, what);
        if (::renameat(source.fd(), source.name.constData(), target.fd(), target.name.constData()) != 0)
            fail(to, what, errno);
    }

    void moveAside(const QString& from, const QString& to) override
    {
        const QString what = QStringLiteral("Datei konnte nicht umbenannt werden");
        const Entry source = existingEntry(from, what), target = existingEntry(to, what);
        if (::renameat2(source.fd(), source.name.constData(), target.fd(), target.name.constData(),
                        RENAME_NOREPLACE) != 0)
            fail(to, what, errno);
    }

    void makeFolder(const QString& dir) override
    {
        const QString path = folderKey(dir);
        if (status(path).type == EntryType::Directory)
            return;
        const QString parent = QFileInfo(path).absolutePath();
        if (parent != path)
            makeFolder(parent);
        const QString what = QStringLiteral("Verzeichnis kann nicht angelegt werden");
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
            const int err = errno;
            const EntryType type = status(path).type;
            if (err != EEXIST || (type != EntryType::Directory && type != EntryType::Link))
                fail(path, what, err == EEXIST ? ENOTDIR : err);
            return;
        }
        syncDirectory(parent);
    }

    std::shared_ptr<void> holdFolder(const QString& dir) override
    {
        std::shared_ptr<OpenFolder> open = folder(dir);
        if (!open)
            fail(dir, QStringLiteral("Verzeichnis nicht lesbar"), errno);
        heldFolders()[folderKey(dir)] = open;
        return open;
    }

    bool writable(const QString& path) override
    {
        const auto held = heldFolders().find(folderKey(path));
        if (held != heldFolders().end() || status(path).type == EntryType::Directory) {
            const std::shared_ptr<OpenFolder> open = folder(path);
            return open && ::faccessat(open->fd, ".", W_OK, AT_EACCESS) == 0;
        }
        const Entry at = entry(path);
        return at.dir && ::faccessat(at.fd(), at.name.constData(), W_OK, AT_EACCESS) == 0;
    }

    void remove(const QString& path) override
    {
        // Nothing stands at a name in a folder that is not there.
        const Entry at = entry(path);
        if (!at.dir && (errno == ENOENT || errno == ENOTDIR))
            return;
        if (!at.dir || (::unlinkat(at.fd(), at.name.constData(), 0) != 0 && errno != ENOENT))
            fail(path, QStringLiteral("Datei konnte nicht entfernt werden"), errno);
    }

    void syncDirectory(const QString& dir) override
    {
        const std::shared_ptr<OpenFolder> open = folder(dir);
        if (!open)
            fail(dir, QStringLiteral("Verzeichnis nicht lesbar"), errno);
        if (::fsync(open->fd) != 0)
            fail(dir, QStringLiteral("Verzeichnis konnte nicht gesichert werden"), errno);
    }

    FileStatus status(const QString& path) override
    {
        struct stat st
        {
        };
        const Entry at = entry(path);
        if (at.dir && ::fstatat(at.fd(), at.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return statusOf(st);
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        fail(path, QStringLiteral("Datei nicht lesbar"), errno);
    }

    QStringList list(const QString& dir) override
    {
        // A descriptor of its own, so that reading the entries moves no
        // position of the held one.
        const std::shared_ptr<OpenFolder> open = folder(dir);
        const int fd = open ? ::openat(open->fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!d && fd >= 0)
            ::close(fd);
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

void FileSystem::moveAside(const QString& from, const QString& to)
{
    posixFileSystem().moveAside(from, to);
}

void FileSystem::makeFolder(const QString& dir)
{
    posixFileSystem().makeFolder(dir);
}

std::shared_ptr<void> FileSystem::holdFolder(const QString& dir)
{
    return posixFileSystem().holdFolder(dir);
}

bool FileSystem::writable(const QString& path)
{
    return posixFileSystem().writable(path);
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
