#pragma once
// What one attribute digit makes an LED character show, and which colour a flashing
// character shows at a given moment.

#include <cstdint>

namespace plx::wall {

enum class Lamp { Off, Red, Green };

// Flashing characters alternate between two halves of a 500 ms period (2 Hz), the
// same for every character of the wall so they flash together, like one sign.
inline constexpr std::int64_t kFlashPeriodMs = 500;
enum class FlashPhase { First, Second };
FlashPhase flashPhaseAt(std::int64_t milliseconds);

struct LedAttribute {
    Lamp first = Lamp::Red;   // shown in the first half of the flash period
    Lamp second = Lamp::Red;  // and in the second half; the same lamp when steady
    bool dot = false;
    bool known = true;  // false for a digit outside 0-6, which a terminal shows red
    bool flashing() const { return first != second; }
};

// 0 red, 1 green, 2 red with dot, 3 green with dot, 4 flashing red, 5 flashing green,
// 6 flashing red / green; anything else red.
LedAttribute attributeOf(char digit);

Lamp lampAt(const LedAttribute& attribute, FlashPhase phase);

}  // namespace plx::wall
