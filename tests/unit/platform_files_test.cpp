// The machine's own files on a real disk, in a folder named outside the code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "platform/local_files.h"
#include "platform/system_text.h"
#include "support/temporary_folder.h"

#ifdef _WIN32
#include <aclapi.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace plx {
namespace {

// Whether a file lets only its owner in: no permission bits for group and others on POSIX;
// on Windows no access allowed to anyone but the current user (and the system itself).
#ifdef _WIN32
bool ownerOnly(const std::string& path) {
    const std::wstring wide = widePath(path);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    char user[256];
    DWORD size = sizeof user;
    GetTokenInformation(token, TokenUser, user, size, &size);
    CloseHandle(token);
    bool only = dacl != nullptr;
    for (DWORD i = 0; only && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        GetAce(dacl, i, reinterpret_cast<void**>(&header));
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        PSID sid = &reinterpret_cast<ACCESS_ALLOWED_ACE*>(header)->SidStart;
        only = EqualSid(sid, reinterpret_cast<TOKEN_USER*>(user)->User.Sid) ||
               IsWellKnownSid(sid, WinLocalSystemSid);
    }
    LocalFree(descriptor);
    return only;
}
#else
bool ownerOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 077) == 0;
}
#endif

// A disk that takes only so many bytes, or whose flush fails.
struct FailingDisk : LocalFiles {
    std::size_t room = SIZE_MAX;  // bytes a write can take
    bool flushFails = false;
    std::size_t roomFor(std::size_t bytes) override { return std::min(bytes, room); }
    bool flushToDisk(NativeFile file) override {
        return !flushFails && LocalFiles::flushToDisk(file);
    }
};

// The new list takes the old one's name only once it is on the disk whole: a crash or a
// power cut leaves the one or the other, and a failure leaves nothing of the new one.
TEST(LocalFiles, ReplacementIsWholeOrNotAtAllAndAPrivateOneIsTheOwnersAlone) {
    const std::string old = "0001,,127.0.10.1,Presse \x80 \x9c \x92\r\n";
    const std::string list = old + "0002,,127.0.10.2,B\r\n";
    const struct {
        const char* name;
        std::size_t room;
        bool flushFails, replaced;
    } rows[] = {
        {"the disk takes it", SIZE_MAX, false, true},
        {"the disk fills in the middle of the write", 30, false, false},
        {"the flush to the disk fails", SIZE_MAX, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const testing_support::TemporaryFolder folder(u8"Πλυξεν-Плыксен");
        FailingDisk disk;
        Files& files = disk;
        const std::string path = folder.path("Products.cfg");
        ASSERT_TRUE(files.replace(path, old));
        disk.room = row.room;
        disk.flushFails = row.flushFails;
        EXPECT_EQ(files.replace(path, list), row.replaced);
        EXPECT_EQ(files.read(path), row.replaced ? list : old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.folder()), {}), 1);
    }
    const testing_support::TemporaryFolder folder(u8"Πλυξεν-Плыксен");
    LocalFiles disk;
    Files& files = disk;
    ASSERT_TRUE(files.replace(folder.path("SERVER_AS400.cfg"), "pw", Files::Access::OwnerOnly));
    EXPECT_TRUE(ownerOnly(folder.path("SERVER_AS400.cfg")));
    // Start-up's folder as the system names it.
    const auto started = std::filesystem::current_path();
    std::filesystem::current_path(folder.folder());
    EXPECT_EQ(files.currentDirectory(), folder.path());
    std::filesystem::current_path(started);
}

}  // namespace
}  // namespace plx
