#include "platform/ipv4.h"

namespace plx {

std::optional<std::array<std::uint8_t, 4>> parseDottedIPv4(std::string_view text) {
    std::array<std::uint8_t, 4> bytes{};
    std::size_t i = 0;
    for (std::size_t part = 0; part < bytes.size(); ++part) {
        if (part > 0) {
            if (i == text.size() || text[i] != '.') return std::nullopt;
            ++i;
        }
        int value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
        bytes[part] = static_cast<std::uint8_t>(value);
    }
    if (i != text.size()) return std::nullopt;
    return bytes;
}

bool isLoopbackAddress(std::string_view address) {
    if (address == "::1") return true;
    if (address.rfind("::ffff:", 0) == 0) address.remove_prefix(7);
    const auto bytes = parseDottedIPv4(std::string(address));
    return bytes && (*bytes)[0] == 127;
}

}  // namespace plx
