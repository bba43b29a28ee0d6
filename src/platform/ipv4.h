#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plx {

// The four bytes of exactly four decimal numbers 0..255 joined by dots ("10.1.200.11"). A
// part with leading zeros is still decimal ("010" is ten), wherever the address is used.
std::optional<std::array<std::uint8_t, 4>> parseDottedIPv4(std::string_view text);

inline bool isDottedIPv4(std::string_view text) {
    return parseDottedIPv4(text).has_value();
}

// 127.0.0.0/8 and ::1, whatever way the address is written ("::ffff:127.0.0.1").
bool isLoopbackAddress(std::string_view address);

}  // namespace plx
