#pragma once
// One gateway per working folder: two would write the same terminal list and log files.
// The lock is flock() on an open lock file, so the kernel drops it with the process,
// however that process ends: a crashed gateway never leaves the folder locked.

#include <string>

namespace plx::app {

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
    int fd_ = -1;
    Result result_ = Result::Unavailable;
    std::string reason_;
};

}  // namespace plx::app
