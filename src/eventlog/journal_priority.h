#pragma once
// How urgent an event line is in the journal: what an administrator filtering it
// (`journalctl -p warning`) must see, and what may stay at information.

#include <string_view>

#include "platform/platform.h"

namespace plx {

// What an event means to whoever watches the journal, as the code that reports it knows:
// most events are routine; a link that fails or falls silent, and data that is lost (the
// event lines of the day's file, the terminal list on disk), are told apart.
enum class EventKind { Routine, LinkLost, DataLost };

// Lost data is an error; a lost link and every Warning a warning; the rest information.
JournalPriority journalPriority(std::string_view mode, EventKind kind);

}  // namespace plx
