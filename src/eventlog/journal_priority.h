#pragma once
// How urgent an event line is in the journal: what an administrator filtering it
// (`journalctl -p warning`) must see, and what may stay at information.

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace plx {

// The beginnings of the two failures that lose data: the event lines of the day's file and
// the terminal list on disk.
inline const std::string kLogFileNotWritten = "The log file cannot be written: ";
inline const std::string kListNotWritten = "Products.cfg could not be written";

// A lost log file or terminal list is an error; a link that fails ("Error: ..." statuses,
// TLS refusals among them) or falls silent, and every other Warning, a warning; the rest
// information.
JournalPriority journalPriority(std::string_view mode, std::string_view text);

}  // namespace plx
