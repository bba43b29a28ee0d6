#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/instance_lock.h"

namespace plx::app {

InstanceLock::InstanceLock(const std::string& path) {
    // Close-on-exec: a program the gateway starts (the ping script) must not keep the
    // folder locked after the gateway has ended.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        reason_ = std::strerror(errno);
        return;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        result_ = errno == EWOULDBLOCK ? Result::HeldByAnother : Result::Unavailable;
        reason_ = std::strerror(errno);
        ::close(fd);
        return;
    }
    handle_ = fd;
    result_ = Result::Acquired;
    // The holder's process id, for an operator who wonders which process it is.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const auto written = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
}

InstanceLock::~InstanceLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace plx::app
