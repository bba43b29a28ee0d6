#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/qt/service_outlets.h"

namespace plx::qtp {
namespace {

constexpr int kStandardError = 2;

// systemd names the stream it connects to standard error as "device:inode"; a standard error
// redirected since (by a shell, a wrapper) is not the journal's any more.
bool isJournalStream(const struct stat& status) {
    const char* named = std::getenv("JOURNAL_STREAM");
    if (named == nullptr) return false;
    char* end = nullptr;
    const unsigned long long device = std::strtoull(named, &end, 10);
    if (*end != ':') return false;
    const unsigned long long inode = std::strtoull(end + 1, &end, 10);
    return *end == '\0' && device == status.st_dev && inode == status.st_ino;
}

}  // namespace

ErrorOutlet openErrorOutlet() {
    ErrorOutlet outlet;
    struct stat status {};
    if (::fstat(kStandardError, &status) != 0) return outlet;
    outlet.fd = kStandardError;
    outlet.journal = isJournalStream(status);
    if (S_ISSOCK(status.st_mode)) {
        outlet.socket = true;
    } else if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)) {
        // A pipe or a terminal: opened anew, non-blocking, as a description of our own. The
        // one inherited is shared with the shell and the programs around us, whose writes
        // must not start failing because ours may not wait.
        const int own = ::open("/proc/self/fd/2", O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (own >= 0) {
            outlet.fd = own;
        } else {
            outlet.pollFirst = true;
        }
    }
    return outlet;
}

long writeWithoutWaiting(const ErrorOutlet& outlet, std::string_view bytes) {
    if (outlet.fd < 0) return -1;
    std::size_t size = bytes.size();
    if (outlet.pollFirst) {
        // No description of our own: write only what a pipe with room takes whole.
        pollfd ready{outlet.fd, POLLOUT, 0};
        if (::poll(&ready, 1, 0) != 1) return 0;
        if ((ready.revents & POLLOUT) == 0) return (ready.revents & (POLLERR | POLLHUP)) ? -1 : 0;
        size = std::min<std::size_t>(size, PIPE_BUF);
    }
    for (;;) {
        const ssize_t written =
            outlet.socket ? ::send(outlet.fd, bytes.data(), size, MSG_DONTWAIT | MSG_NOSIGNAL)
                          : ::write(outlet.fd, bytes.data(), size);
        if (written >= 0) return written;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

void notifyServiceManager(std::string_view message) {
    const char* path = std::getenv("NOTIFY_SOCKET");
    if (path == nullptr || (path[0] != '/' && path[0] != '@')) return;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t length = std::strlen(path);
    if (length >= sizeof address.sun_path) return;
    std::memcpy(address.sun_path, path, length);
    if (path[0] == '@') address.sun_path[0] = '\0';  // an abstract socket
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // A manager that is behind loses this message; the next status or ping says it again.
    (void)::sendto(fd, message.data(), message.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length));
    ::close(fd);
}

int watchdogPingMs() {
    const char* usec = std::getenv("WATCHDOG_USEC");
    if (usec == nullptr || std::getenv("NOTIFY_SOCKET") == nullptr) return 0;
    // Meant for this process alone when the manager names one.
    if (const char* pid = std::getenv("WATCHDOG_PID");
        pid != nullptr && std::strtol(pid, nullptr, 10) != ::getpid()) {
        return 0;
    }
    return static_cast<int>(std::strtoull(usec, nullptr, 10) / 2000);
}

}  // namespace plx::qtp
