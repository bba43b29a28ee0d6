#pragma once
#include <optional>
#include <string>

namespace plx {

// File operations on byte strings (the gateway's 8-bit text). Paths are full paths, named as
// platform/system_text.h says.
class Files {
  public:
    enum class Access { Default, OwnerOnly };
    virtual ~Files() = default;
    virtual std::string currentDirectory() = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual bool remove(const std::string& path) = 0;
    // Gives the file another name in the same folder, one the caller has found not in use.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Why the last read that failed did, in the system's words ("Permission denied");
    // empty when the system does not say.
    virtual std::string readProblem() const = 0;
    // Replaces the whole file atomically: written beside it, flushed to disk, renamed
    // over it. On failure the old file stays as it was.
    virtual bool replace(const std::string& path, const std::string& bytes,
                         Access access = Access::Default) = 0;
    // Appends, creating the file when it is missing.
    virtual bool append(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace plx
