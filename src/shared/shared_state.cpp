#include "shared/shared_state.h"

namespace plx {

std::string linkStateName(std::uint8_t state) {
    return state == ONLINE ? "ONLINE" : state == PAUSE ? "PAUSE" : "OFFLINE";
}

int colourIndex(std::string_view colour) {
    constexpr std::string_view kDigits = "0123456789";
    if (kDigits.find(colour) != std::string_view::npos) {
        int value = 0;
        for (const char digit : colour) value = value * 10 + (digit - '0');
        return value;
    }
    return static_cast<unsigned char>(colour.front());
}

}  // namespace plx
