#include "terminal_list.h"

#include <algorithm>

#include "platform/ipv4.h"

namespace plx::wall {
namespace {

constexpr int kDefaultTerminals = 12;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view field(std::string_view line, int number) {
    for (int skipped = 1; skipped < number; ++skipped) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) return {};
        line.remove_prefix(comma + 1);
    }
    return line.substr(0, line.find(','));
}

std::string terminalNumber(std::string_view text) {
    const bool numeric =
        !text.empty() && text.size() <= 4 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!numeric) return std::string(text);
    return std::string(4 - text.size(), '0') + std::string(text);
}

}  // namespace

std::vector<TerminalEntry> parseTerminalList(std::string_view text) {
    std::vector<TerminalEntry> terminals;
    while (!text.empty() && terminals.size() < kMaxTerminals) {
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }
        if (trimmed(line).empty()) continue;
        terminals.push_back(
            {terminalNumber(trimmed(field(line, 1))), std::string(trimmed(field(line, 3)))});
    }
    return terminals;
}

std::vector<TerminalEntry> defaultTerminals() {
    std::vector<TerminalEntry> terminals;
    for (int n = 1; n <= kDefaultTerminals; ++n) {
        terminals.push_back({terminalNumber(std::to_string(n)), "127.0.10." + std::to_string(n)});
    }
    return terminals;
}

bool isWallAddress(const std::string& address) {
    if (!plx::isDottedIPv4(address)) return false;
    for (const char* range : {"127.", "198.18.", "198.19."}) {
        if (address.rfind(range, 0) == 0) return true;
    }
    return false;
}

}  // namespace plx::wall
