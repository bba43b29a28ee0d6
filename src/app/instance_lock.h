#pragma once
// One gateway per working folder: two would write the same terminal list and log files.
// The lock is held on an open lock file (flock() on POSIX systems, LockFileEx() on Windows),
// so the system drops it with the process, however that process ends: a crashed gateway
// never leaves the folder locked.

#include <cstdint>
#include <string>

namespace plx::app {

// The exit status of a gateway refused because another one runs in its folder, distinct so
// that the service units do not restart it (RestartPreventExitStatus=).
inline constexpr int kAlreadyRunningStatus = 3;

class InstanceLock {
  public:
    enum class Result {
        Acquired,
        HeldByAnother,  // a gateway already runs in this folder
        Unavailable,    // the lock file cannot be opened (a read-only folder, ...)
    };

    // Tries the lock file `path`; never waits.
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result result() const { return result_; }
    // The system's reason when the lock file could not be opened.
    const std::string& reason() const { return reason_; }

  private:
    std::intptr_t handle_ = -1;  // the open lock file: a descriptor, or a Windows HANDLE
    Result result_ = Result::Unavailable;
    std::string reason_;
};

}  // namespace plx::app
