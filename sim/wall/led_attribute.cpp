#include "led_attribute.h"

namespace plx::wall {

FlashPhase flashPhaseAt(std::int64_t milliseconds) {
    const std::int64_t intoPeriod =
        ((milliseconds % kFlashPeriodMs) + kFlashPeriodMs) % kFlashPeriodMs;
    return intoPeriod < kFlashPeriodMs / 2 ? FlashPhase::First : FlashPhase::Second;
}

LedAttribute attributeOf(char digit) {
    switch (digit) {
        case '0':
            return {Lamp::Red, Lamp::Red, false, true};
        case '1':
            return {Lamp::Green, Lamp::Green, false, true};
        case '2':
            return {Lamp::Red, Lamp::Red, true, true};
        case '3':
            return {Lamp::Green, Lamp::Green, true, true};
        case '4':
            return {Lamp::Red, Lamp::Off, false, true};
        case '5':
            return {Lamp::Green, Lamp::Off, false, true};
        case '6':
            return {Lamp::Red, Lamp::Green, false, true};
        default:
            return {Lamp::Red, Lamp::Red, false, false};
    }
}

Lamp lampAt(const LedAttribute& attribute, FlashPhase phase) {
    return phase == FlashPhase::First ? attribute.first : attribute.second;
}

}  // namespace plx::wall
