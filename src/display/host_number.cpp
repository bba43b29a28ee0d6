#include "display/host_number.h"

#include <algorithm>
#include <cmath>

#include "shared/shared_state.h"

namespace plx {

std::optional<int> hostTerminalNumber(std::string_view numberField) {
    // Four plain digits, as the host writes them: their value at once, whatever the lenient
    // reading would cost on every frame.
    if (numberField.size() == 4 && std::all_of(numberField.begin(), numberField.end(),
                                               [](char c) { return c >= '0' && c <= '9'; })) {
        int number = 0;
        for (const char digit : numberField) number = number * 10 + (digit - '0');
        return number;
    }
    const double value = readLenientNumber(numberField);
    // Checked before rounding so that no huge or non-finite value reaches a conversion.
    if (!(value > -1.0 && value < kTerminalNumbers)) return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = fraction < 0.5 ? below : below + 1.0;
    if (fraction == 0.5 && std::fmod(below, 2.0) == 0.0) rounded = below;
    const int number = static_cast<int>(rounded);
    if (number < 0 || number >= kTerminalNumbers) return std::nullopt;
    return number;
}

}  // namespace plx
