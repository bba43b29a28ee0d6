#include "terminal_frame.h"

#include <algorithm>

namespace plx::wall {
namespace {

constexpr std::string_view kHeader("\xFE\xF8\x08", 3);
constexpr char kStx = 0x02;
constexpr std::string_view kMarker("><F");
constexpr std::string_view kBlanks("  ");
constexpr char kEtx = 0x03;

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

FrameFault firstFault(std::string_view bytes) {
    if (bytes.size() != kFrameBytes) return FrameFault::Length;
    if (bytes.substr(0, kHeader.size()) != kHeader) return FrameFault::Header;
    if (bytes[3] != kStx) return FrameFault::Stx;
    if (bytes.substr(4, kMarker.size()) != kMarker) return FrameFault::Marker;
    if (bytes.substr(kBlanksOffset, kBlanks.size()) != kBlanks) return FrameFault::Blanks;
    if (!allDigits(bytes.substr(kAttributesOffset, kAttributeDigits))) {
        return FrameFault::Attributes;
    }
    if (bytes[kFrameBytes - 1] != kEtx) return FrameFault::Etx;
    return FrameFault::None;
}

}  // namespace

FrameDecoding decodeFrame(std::string_view bytes) {
    FrameDecoding decoding;
    decoding.fault = firstFault(bytes);
    if (decoding.ok()) {
        decoding.frame.value = std::string(bytes.substr(kValueOffset, kValueChars));
        decoding.frame.attributes = std::string(bytes.substr(kAttributesOffset, kAttributeDigits));
    }
    return decoding;
}

std::string_view faultText(FrameFault fault) {
    switch (fault) {
        case FrameFault::None:
            return "frame";
        case FrameFault::Length:
            return "length not 20";
        case FrameFault::Header:
            return "header not FE F8 08";
        case FrameFault::Stx:
            return "no STX";
        case FrameFault::Marker:
            return "no \"><F\"";
        case FrameFault::Blanks:
            return "no blanks at 11-12";
        case FrameFault::Attributes:
            return "attribute field not 6 digits";
        case FrameFault::Etx:
            return "no ETX";
    }
    return "unknown fault";
}

}  // namespace plx::wall
