#pragma once
// Whether a file lets only its owner in: no permission bits for group and others on POSIX;
// on Windows no access allowed to anyone but the current user (and the system itself).

#include <string>

#include "platform/system_text.h"

#ifdef _WIN32
#include <aclapi.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace plx::testing_support {

#ifdef _WIN32
inline bool ownerOnly(const std::string& path) {
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
inline bool ownerOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 077) == 0;
}
#endif

}  // namespace plx::testing_support
