#include "app/nichtdoppeltstarten.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char kLockName[] = "ZEB2004";

// KELVARA_GUARD_NAME replaces the lock's name, so that tests which start the
// real program never meet a copy the user is running.
std::string_view lockName()
{
    const char* chosen = std::getenv("KELVARA_GUARD_NAME");
    const std::string_view name = chosen && *chosen ? chosen : kLockName;
    return name.substr(0, sizeof(sockaddr_un::sun_path) - 1);
}

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
    const std::string_view name = lockName();
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
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
