#include "app/nichtdoppeltstarten.h"

#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char kLockName[] = "ZEB2004";

} // namespace

NichtDoppeltStarten::NichtDoppeltStarten()
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading NUL puts the name into the abstract namespace: no file, and
    // the kernel frees the name with the last descriptor of the process.
    std::memcpy(address.sun_path + 1, kLockName, sizeof kLockName - 1);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + sizeof kLockName - 1);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
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
