#pragma once
#include "platform/files.h"

namespace plx {

// The machine's own file system (POSIX).
class LocalFiles : public Files {
public:
    std::string currentDirectory() override;
    bool exists(const std::string& path) override;
    bool remove(const std::string& path) override;
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& bytes, Access access) override;
    bool append(const std::string& path, const std::string& bytes) override;
};

}  // namespace plx
