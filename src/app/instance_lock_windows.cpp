#include <windows.h>

#include <string>

#include "app/instance_lock.h"
#include "platform/system_text.h"

namespace plx::app {
namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

InstanceLock::InstanceLock(const std::string& path) {
    // A path as the machine's files take it, through the wide call as they do.
    // Not inherited: a program the gateway starts must not keep the folder locked.
    const HANDLE file = ::CreateFileW(widePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason_ = systemMessage(::GetLastError());
        return;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole)) {
        const DWORD code = ::GetLastError();
        result_ = code == ERROR_LOCK_VIOLATION ? Result::HeldByAnother : Result::Unavailable;
        reason_ = systemMessage(code);
        ::CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    result_ = Result::Acquired;
    // The holder's process id, for an operator who wonders which process it is. The lock
    // covers the whole file, so this handle is the one that may write it.
    const std::string pid = std::to_string(::GetCurrentProcessId()) + "\r\n";
    DWORD written = 0;
    if (::SetEndOfFile(file)) {
        ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
    }
}

InstanceLock::~InstanceLock() {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace plx::app
