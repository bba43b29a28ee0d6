#include "platform/local_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace plx {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

std::string LocalFiles::currentDirectory() {
    std::error_code error;
    auto path = std::filesystem::current_path(error).string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool LocalFiles::exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool LocalFiles::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool LocalFiles::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::string> LocalFiles::read(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::string content;
    bool whole = fd >= 0;
    while (whole) {
        char buffer[65536];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) whole = false;
        if (got > 0) content.append(buffer, static_cast<std::size_t>(got));
    }
    readProblem_ = whole ? std::string() : std::strerror(errno);
    if (fd >= 0) ::close(fd);
    if (!whole) return std::nullopt;
    return content;
}

bool LocalFiles::replace(const std::string& path, const std::string& bytes, Access access) {
    const mode_t mode = access == Access::OwnerOnly ? 0600 : 0666;
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    // mkstemp creates 0600; widen to the umask's default unless the file is private.
    if (access == Access::Default) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, mode & ~mask);
    }
    const std::size_t room = roomFor(bytes.size());
    const bool written = writeAll(fd, std::string_view(bytes).substr(0, room)) &&
                         room == bytes.size() && flushToDisk(fd);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool LocalFiles::flushToDisk(NativeFile file) {
    return ::fsync(file) == 0;
}

bool LocalFiles::append(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const std::size_t room = roomFor(bytes.size());
    const bool written =
        writeAll(fd, std::string_view(bytes).substr(0, room)) && room == bytes.size();
    return ::close(fd) == 0 && written;
}

bool isOwnerOnlyFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

}  // namespace plx
