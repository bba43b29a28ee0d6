// The machine's files on Windows. A whole-file replace is written beside the file with
// write-through, flushed, and moved over it in one step; a private file gets a DACL that
// lets only the current user in.
#include "platform/local_files.h"

#include <windows.h>

#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "platform/system_text.h"

namespace plx {
namespace {

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        if (!valid()) return true;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A security descriptor whose DACL grants the current user, and nobody else, everything.
class OwnerOnlySecurity {
  public:
    OwnerOnlySecurity() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        const bool known = GetTokenInformation(token, TokenUser, user_.data(), size, &size) != 0;
        CloseHandle(token);
        if (!known) return;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        ready_ = InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
                 AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) &&
                 InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
                 SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
                 SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    }
    // It points into itself: never copied.
    OwnerOnlySecurity(const OwnerOnlySecurity&) = delete;
    OwnerOnlySecurity& operator=(const OwnerOnlySecurity&) = delete;
    // Nothing when the user cannot be known: then the file is not written at all.
    SECURITY_ATTRIBUTES* attributes() { return ready_ ? &attributes_ : nullptr; }

  private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ready_ = false;
};

}  // namespace

std::string LocalFiles::currentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return narrowPath(folder);
}

bool LocalFiles::exists(const std::string& path) {
    return GetFileAttributesW(widePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool LocalFiles::remove(const std::string& path) {
    return DeleteFileW(widePath(path).c_str()) != 0;
}

bool LocalFiles::rename(const std::string& from, const std::string& to) {
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

std::optional<std::string> LocalFiles::read(const std::string& path) {
    Handle file(CreateFileW(widePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        // A read that fails part-way is no file at all: half a terminal list read as whole
        // would be written back as the whole list.
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) return content;
        content.append(buffer, got);
    }
}

bool LocalFiles::replace(const std::string& path, const std::string& bytes, Access access) {
    std::optional<OwnerOnlySecurity> ownerOnly;
    SECURITY_ATTRIBUTES* security = nullptr;
    if (access == Access::OwnerOnly) {
        // Built in place: its attributes point into it.
        security = ownerOnly.emplace().attributes();
        if (security == nullptr) return false;
    }
    std::random_device random;
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = widePath(path + "." + std::to_string(random() % 1000000));
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    }
    Handle file(created);
    if (!file.valid()) return false;
    const std::size_t room = roomFor(bytes.size());
    const bool written = writeAll(file.get(), std::string_view(bytes).substr(0, room)) &&
                         room == bytes.size() && flushToDisk(file.get());
    const bool closed = file.close();
    // One step, on the same volume: the old file or the new one, never a part of either.
    if (!written || !closed ||
        !MoveFileExW(temporary.c_str(), widePath(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool LocalFiles::flushToDisk(NativeFile file) {
    return FlushFileBuffers(file) != 0;
}

bool LocalFiles::append(const std::string& path, const std::string& bytes) {
    Handle file(CreateFileW(widePath(path).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const std::size_t room = roomFor(bytes.size());
    const bool written =
        writeAll(file.get(), std::string_view(bytes).substr(0, room)) && room == bytes.size();
    return file.close() && written;
}

bool isOwnerOnlyFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace plx
