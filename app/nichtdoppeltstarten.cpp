#include "app/nichtdoppeltstarten.h"

#include "store/fileio.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The lock as an flock on `path`. The file is opened without following a
// link and must be a plain file of this user: a file planted in its place
// does not count as the lock, and `problem` tells what it is.
int lockFile(const std::string& path, std::string& problem)
{
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    struct stat st
    {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        problem = err == ELOOP    ? "ist ein symbolischer Verweis"
                  : err == EISDIR ? "ist ein Ordner"
                                  : std::string("kann nicht geöffnet werden (") + std::strerror(err) + ")";
        return -1;
    }
    if (!S_ISREG(st.st_mode))
        problem = "ist keine gewöhnliche Datei";
    else if (st.st_uid != ::geteuid())
        problem = "gehört einem anderen Benutzer";
    if (!problem.empty() || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The lock as a socket name in the abstract namespace: a leading NUL puts
// the name there, the kernel frees it with the last descriptor of the
// process. A longer name is cut to the room the address has.
int lockAbstractName(const std::string& lockName)
{
    sockaddr_un address{};
    const size_t length = std::min(lockName.size(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, lockName.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string NichtDoppeltStarten::name()
{
    const char* chosen = std::getenv("KELVARA_GUARD_NAME");
    const std::string base = chosen && *chosen ? chosen : "ZEB2004";
    return base + "." + std::to_string(::getuid());
}

std::string NichtDoppeltStarten::lockFilePath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/')
        return {};
    // The folder itself, not a link to one, owned by this user, with no
    // rights for group or others: then nobody else can create the file.
    struct stat st
    {
    };
    if (::lstat(runtime, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0)
        return {};
    std::string file = name();
    std::replace(file.begin(), file.end(), '/', '_');
    return std::string(runtime) + "/" + file + ".lock";
}

NichtDoppeltStarten::NichtDoppeltStarten(const std::string& diaryDir)
{
    const std::string path = lockFilePath();
    if (!path.empty()) {
        m_place = path;
        m_fd = lockFile(path, m_problem);
    } else {
        m_place = "@" + name();
        m_fd = lockAbstractName(name());
    }
    if (m_fd >= 0 && !diaryDir.empty())
        lockDiary(diaryDir);
}

// A settings table that cannot be opened for writing is left to the start,
// which names what is wrong with it.
void NichtDoppeltStarten::lockDiary(const std::string& dir)
{
    const QString found = store::findFile(QString::fromStdString(dir), QStringLiteral("ZEB_REG.dbf"));
    if (found.isEmpty())
        return;
    const std::string path = QFile::encodeName(found).toStdString();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat st
    {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    struct flock byte
    {
    };
    byte.l_type = F_WRLCK;
    byte.l_whence = SEEK_SET;
    byte.l_start = store::kTableLockEnd;
    byte.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &byte) == 0) {
        m_diaryFd = fd;
        return;
    }
    const int err = errno;
    ::close(fd);
    if (err == EAGAIN || err == EACCES) {
        ::close(m_fd);
        m_fd = -1;
        m_place = path;
    }
}

NichtDoppeltStarten::~NichtDoppeltStarten()
{
    // The lock file stays: removing it could let two copies lock two
    // different files of the same name.
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_diaryFd >= 0)
        ::close(m_diaryFd);
}
