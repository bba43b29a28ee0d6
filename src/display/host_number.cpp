#include "display/host_number.h"

#include <cmath>

#include "shared/shared_state.h"

namespace plx {

std::optional<int> hostTerminalNumber(std::string_view numberField) {
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
