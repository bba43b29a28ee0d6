#pragma once
// A list entry: one line of the terminal list and of Products.cfg, four fields separated by
// single commas, with no quoting and nothing trimmed around a separator. Every reader and
// writer of an entry names its fields here.

#include <string>

namespace plx {

struct ListEntry {
    // Between two fields; never part of one.
    static constexpr char kSeparator = ',';

    std::string number;       // the terminal number, read as a number ("0001")
    std::string type;         // free text; empty in an entry the editor made
    std::string address;      // the terminal's IPv4 address
    std::string description;  // free text

    // The fields as EXTRACT_FIELD reads them: a missing one is empty, a fifth one ignored.
    static ListEntry of(const std::string& line);
    // The entry's line: its fields joined by commas.
    std::string line() const;
};

}  // namespace plx
