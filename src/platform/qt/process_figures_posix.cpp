#include <dirent.h>
#include <unistd.h>

#include <fstream>

#include "platform/qt/process_figures.h"

namespace plx::qtp {

long long residentMemoryBytes() {
    long long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;  // in pages: size, then resident
    return resident * ::sysconf(_SC_PAGESIZE);
}

long long openFileCount() {
    DIR* folder = ::opendir("/proc/self/fd");
    if (!folder) return 0;
    long long count = 0;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(folder);
    return count - 1;  // the folder's own descriptor, open while it is read
}

}  // namespace plx::qtp
