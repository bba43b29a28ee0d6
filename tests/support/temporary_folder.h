#pragma once
// A real folder of a test's own, for the tests of the machine's files themselves (the fake
// platform's files are in memory): in the system's temporary folder, named as given and a
// number, removed with everything in it.

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace plx::testing_support {

class TemporaryFolder {
  public:
    // "€" is outside Latin-1, in the code page of a Western Windows.
    explicit TemporaryFolder(std::u8string_view name = u8"plyxen400-test-€") {
        std::random_device random;
        do {
            const std::string number = "-" + std::to_string(random());
            folder_ = std::filesystem::temp_directory_path() /
                      (std::u8string(name) + std::u8string(number.begin(), number.end()));
        } while (!std::filesystem::create_directory(folder_));  // throws when none can be made
    }
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // A path as the gateway names it (platform/system_text.h): UTF-8, which the standard
    // library's narrow strings are not on Windows.
    std::string path(const std::string& name = {}) const {
        const std::u8string bytes = (name.empty() ? folder_ : folder_ / name).u8string();
        return std::string(bytes.begin(), bytes.end());
    }

  private:
    std::filesystem::path folder_;
};

}  // namespace plx::testing_support
