#pragma once
// The terminals the wall stands in for, read from a terminal list in the gateway's
// Products.cfg format: number = field 1, address = field 3.

#include <string>
#include <string_view>
#include <vector>

namespace plx::wall {

struct TerminalEntry {
    std::string number;   // four digits when the field is a number, else as written
    std::string address;  // trimmed
};

// The gateway's list holds at most 1001 terminals; more lines are not terminals.
inline constexpr std::size_t kMaxTerminals = 1001;

// Lines end in CR LF, CR or LF; blank lines are skipped.
std::vector<TerminalEntry> parseTerminalList(std::string_view text);

// The wall without a list: 0001..0012 on 127.0.10.1..12.
std::vector<TerminalEntry> defaultTerminals();

// The wall binds only dotted IPv4 loopback addresses (127.x.x.x) and those of the
// benchmarking range 198.18.0.0/15, which a test's own network namespaces use: never a plant's.
bool isWallAddress(const std::string& address);

}  // namespace plx::wall
