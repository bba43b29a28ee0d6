#pragma once
// The 20-byte frame an LED terminal receives on UDP port 1024, taken apart as the terminal
// does: strict about length and markers, the four value characters taken as they come.

#include <string>
#include <string_view>

namespace plx::wall {

// Bytes on the wire, in order: FE F8 08, STX, "><F", four value characters, two blanks,
// six attribute digits (one per text position), ETX.
inline constexpr std::size_t kFrameBytes = 20;
inline constexpr std::size_t kValueOffset = 7;
inline constexpr std::size_t kValueChars = 4;
inline constexpr std::size_t kBlanksOffset = 11;
inline constexpr std::size_t kAttributesOffset = 13;
inline constexpr std::size_t kAttributeDigits = 6;

// Why a datagram is not a frame; the first rule broken, checked in wire order.
enum class FrameFault {
    None,
    Length,      // not exactly 20 bytes
    Header,      // bytes 0-2 not FE F8 08
    Stx,         // byte 3 not 02
    Marker,      // bytes 4-6 not "><F"
    Blanks,      // bytes 11-12 not two blanks
    Attributes,  // bytes 13-18 not six ASCII digits
    Etx,         // byte 19 not 03
};

struct TerminalFrame {
    std::string value;       // the four value characters, unchanged
    std::string attributes;  // the six attribute digits
};

struct FrameDecoding {
    FrameFault fault = FrameFault::None;
    TerminalFrame frame;  // filled only when fault is None
    bool ok() const { return fault == FrameFault::None; }
};

FrameDecoding decodeFrame(std::string_view bytes);

// A few words for the operator: "header not FE F8 08".
std::string_view faultText(FrameFault fault);

}  // namespace plx::wall
