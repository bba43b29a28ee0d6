#pragma once
// Which segments of a seven-segment LED character light for a value character.

#include <cstdint>

namespace plx::wall {

// Bit per segment, in the usual lettering: a top, b top right, c bottom right, d bottom,
// e bottom left, f top left, g middle.
enum Segment : std::uint8_t {
    kSegmentA = 1 << 0,
    kSegmentB = 1 << 1,
    kSegmentC = 1 << 2,
    kSegmentD = 1 << 3,
    kSegmentE = 1 << 4,
    kSegmentF = 1 << 5,
    kSegmentG = 1 << 6,
};

// Digits, blank, '-', '_', '=' and the letters seven segments can show; a character they
// cannot show lights a, d and g, so it is seen rather than left blank.
std::uint8_t segmentsOf(char c);

}  // namespace plx::wall
