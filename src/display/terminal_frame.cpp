#include "display/terminal_frame.h"

#include <algorithm>

namespace plx {
namespace {

constexpr std::string_view kHeader = "\xFE\xF8\x08\x02";  // three constant bytes, then STX
constexpr char kEndOfText = '\x03';
constexpr std::size_t kTextWidth = 9;                // "><F", four value characters, two blanks
constexpr std::string_view kBlankAttributes = "00";  // attribute digits of the two blanks
constexpr std::size_t kPatternWidth = 4;             // one attribute digit per value character

}  // namespace

std::string colourPattern(char colour, const ColourTable& table) {
    const int index = colourIndex(std::string_view(&colour, 1));
    if (index < kColourEntries && table[index].size() == kPatternWidth) return table[index];
    switch (colour) {
        case '0':
            return "0000";
        case '1':
            return "1111";
        case '2':
            return "0011";
        case '3':
            return "1100";
        case '4':
            return "1010";
        case '5':
            return "0101";
        case '6':
            return "1001";
        case '7':
            return "0110";
        default:
            return "0000";
    }
}

TerminalFrame terminalFrame(std::string_view displayCommand, const ColourTable& table) {
    // The colour character only selects the pattern; everything before it is sent.
    const std::size_t textLength = displayCommand.empty() ? 0 : displayCommand.size() - 1;
    const char colour = displayCommand.empty() ? ' ' : displayCommand.back();
    const std::string_view text = displayCommand.substr(0, std::min(textLength, kTextWidth));

    TerminalFrame frame;
    auto at = std::copy(kHeader.begin(), kHeader.end(), frame.bytes.begin());
    at = std::copy(text.begin(), text.end(), at);
    at = std::fill_n(at, kTextWidth - text.size(), ' ');
    const std::string pattern = colourPattern(colour, table);
    at = std::copy(pattern.begin(), pattern.end(), at);
    at = std::copy(kBlankAttributes.begin(), kBlankAttributes.end(), at);
    *at = kEndOfText;
    return frame;
}

}  // namespace plx
