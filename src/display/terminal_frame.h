#pragma once
// The datagram a display terminal understands, and the colour pattern that selects the
// attribute of each displayed character.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shared/shared_state.h"

namespace plx {

using ColourTable = std::array<std::string, kColourEntries>;

inline constexpr std::uint16_t kTerminalPort = 1024;  // UDP port every terminal listens on
inline constexpr std::size_t kFrameBytes = 20;        // header, text, attributes, ETX
inline constexpr int kCopiesPerCommand = 2;           // UDP may drop one; terminals are idempotent

// The four attribute digits for the colour character: the table's entry when it holds
// exactly four characters, otherwise the built-in pattern of the colour ("0000" for any
// character but "0" to "7").
std::string colourPattern(char colour, const ColourTable& table);

// A terminal frame, held where it is made: nothing on the road allocates for it.
struct TerminalFrame {
    std::array<char, kFrameBytes> bytes;
    std::string_view view() const { return {bytes.data(), bytes.size()}; }
};

// The 20-byte terminal frame for a display command ("><F", four value characters, two
// blanks, colour character): FE F8 08 02, the command without its colour character, the
// colour pattern, "00" for the two blanks, ETX. A command shorter than ten characters has
// its text padded with blanks so that a terminal never receives a truncated frame.
TerminalFrame terminalFrame(std::string_view displayCommand, const ColourTable& table);

}  // namespace plx
