#include "shared/list_entry.h"

#include "shared/global.h"

namespace plx {

ListEntry ListEntry::of(const std::string& line) {
    const std::string separator(1, kSeparator);
    return {EXTRACT_FIELD(line, separator, 1), EXTRACT_FIELD(line, separator, 2),
            EXTRACT_FIELD(line, separator, 3), EXTRACT_FIELD(line, separator, 4)};
}

std::string ListEntry::line() const {
    return number + kSeparator + type + kSeparator + address + kSeparator + description;
}

}  // namespace plx
