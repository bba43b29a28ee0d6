#include "eventlog/journal_priority.h"

namespace plx {

JournalPriority journalPriority(std::string_view mode, std::string_view text) {
    if (mode == "Warning") {
        const bool dataLost =
            text.starts_with(kLogFileNotWritten) || text.starts_with(kListNotWritten);
        return dataLost ? JournalPriority::Error : JournalPriority::Warning;
    }
    // The link failed, or the host fell silent: what an unreachable host looks like.
    const bool linkLost = text.starts_with("Error: ") || text == "Reset connection by Watchdog";
    if (mode == "Status" && linkLost) return JournalPriority::Warning;
    return JournalPriority::Info;
}

}  // namespace plx
