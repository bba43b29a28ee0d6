#include "eventlog/journal_priority.h"

namespace plx {

JournalPriority journalPriority(std::string_view mode, EventKind kind) {
    switch (kind) {
        case EventKind::DataLost:
            return JournalPriority::Error;
        case EventKind::LinkLost:
            return JournalPriority::Warning;
        case EventKind::Routine:
            break;
    }
    return mode == "Warning" ? JournalPriority::Warning : JournalPriority::Info;
}

}  // namespace plx
