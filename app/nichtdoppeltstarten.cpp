#include "app/nichtdoppeltstarten.h"

#include <algorithm>
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
// does not count as the lock.
int lockFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return -1;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
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

NichtDoppeltStarten::NichtDoppeltStarten()
{
    const std::string path = lockFilePath();
    if (!path.empty()) {
        m_place = path;
        m_fd = lockFile(path);
        return;
    }
    m_place = "@" + name();
    m_fd = lockAbstractName(name());
}

NichtDoppeltStarten::~NichtDoppeltStarten()
{
    // The lock file stays: removing it could let two copies lock two
    // different files of the same name.
    if (m_fd >= 0)
        ::close(m_fd);
}
