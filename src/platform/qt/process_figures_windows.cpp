#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include "platform/qt/process_figures.h"

namespace plx::qtp {

long long residentMemoryBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<long long>(counters.WorkingSetSize);
}

long long openFileCount() {
    DWORD handles = 0;
    return ::GetProcessHandleCount(::GetCurrentProcess(), &handles) ? handles : 0;
}

}  // namespace plx::qtp
