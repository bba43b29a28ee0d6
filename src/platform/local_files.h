#pragma once
#include <cstddef>
#include <string>

#include "platform/files.h"

namespace plx {

// The machine's own file system: one implementation for POSIX systems (posix/), one for
// Windows (windows/). Paths as platform/system_text.h says: UTF-8 on Windows.
class LocalFiles : public Files {
  public:
    std::string currentDirectory() override;
    bool exists(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::optional<std::string> read(const std::string& path) override;
    std::string readProblem() const override { return readProblem_; }
    bool replace(const std::string& path, const std::string& bytes, Access access) override;
    bool append(const std::string& path, const std::string& bytes) override;

  protected:
#ifdef _WIN32
    using NativeFile = void*;  // a HANDLE
#else
    using NativeFile = int;  // a file descriptor
#endif
    std::string readProblem_;  // set by a read that fails, where the system tells why

    // How many of the next `bytes` bytes the disk takes: all of them here, where the system
    // reports a full disk itself. A test's files take fewer, to fail a write part-way.
    virtual std::size_t roomFor(std::size_t bytes) {
        return bytes;
    }
    // The flush of a replacement's new file to the disk, before it takes the old one's name:
    // without it a power cut can leave the name on an empty file. A test's files fail it.
    virtual bool flushToDisk(NativeFile file);
};

// Whether `path` is a real folder (no link to one) that only this user may enter. On Windows
// a folder of the user's profile is: the profile's access list lets nobody else in.
bool isOwnerOnlyFolder(const std::string& path);

}  // namespace plx
