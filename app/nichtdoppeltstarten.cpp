#include "app/nichtdoppeltstarten.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

std::string NichtDoppeltStarten::name()
{
    const char* chosen = std::getenv("KELVARA_GUARD_NAME");
    const std::string base = chosen && *chosen ? chosen : "ZEB2004";
    return base + "." + std::to_string(::getuid());
}

NichtDoppeltStarten::NichtDoppeltStarten()
{
    const std::string lockName = name();
    sockaddr_un address{};
    // A leading NUL puts the name into the abstract namespace: no file, and
    // the kernel frees the name with the last descriptor of the process.
    // A longer name is cut to the room the address has.
    const size_t length = std::min(lockName.size(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, lockName.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

NichtDoppeltStarten::~NichtDoppeltStarten()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
