#include <gtest/gtest.h>

#include <string>

#include "display/terminal_frame.h"

namespace plx {
namespace {

// The colour file the gateway writes when none exists.
ColourTable defaultColours() {
    ColourTable table;
    const char* patterns[] = {"1100", "0011", "1111", "0000", "6666",
                              "1144", "1155", "1166", "4411", "5511"};
    for (int digit = 0; digit < 10; ++digit) table[digit] = patterns[digit];
    table['A'] = "6611";
    return table;
}

std::string bytes(std::initializer_list<unsigned char> values) {
    return std::string(values.begin(), values.end());
}

TEST(DisplayTerminalFrame, WorkedExampleWithTheDefaultColourFile) {
    const std::string frame = terminalFrame("><F1234  0", defaultColours());
    EXPECT_EQ(frame, bytes({0xFE, 0xF8, 0x08, 0x02, 0x3E, 0x3C, 0x46, 0x31, 0x32, 0x33,
                            0x34, 0x20, 0x20, 0x31, 0x31, 0x30, 0x30, 0x30, 0x30, 0x03}));
}

TEST(DisplayTerminalFrame, SendsValueCharactersUnchangedAndIsAlwaysTwentyBytes) {
    const std::string dashes = terminalFrame("><F----  0", defaultColours());
    EXPECT_EQ(dashes.substr(7, 4), "----");
    const std::string raw = terminalFrame(std::string("><F\xFF\x00<>  9", 10), defaultColours());
    EXPECT_EQ(raw.substr(7, 4), std::string("\xFF\x00<>", 4));
    // Short commands are padded with blanks rather than sent truncated.
    for (const std::string command : {"><F1234  0", "><F12 0", "", "7"}) {
        const std::string frame = terminalFrame(command, defaultColours());
        ASSERT_EQ(frame.size(), kFrameBytes) << command;
        EXPECT_EQ(frame.back(), '\x03');
    }
    EXPECT_EQ(terminalFrame("><F12 0", defaultColours()).substr(4, 9), "><F12    ");
}

struct PatternCase {
    char colour;
    const char* entry;  // the table entry the colour selects; nullptr: the default file
    const char* attributes;
};

class DisplayColourPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(DisplayColourPattern, ResolvesTheAttributeField) {
    const PatternCase& c = GetParam();
    ColourTable table = defaultColours();
    if (c.entry != nullptr) table[colourIndex(std::string(1, c.colour))] = c.entry;
    const std::string frame = terminalFrame(std::string("><F1234  ") + c.colour, table);
    EXPECT_EQ(frame.substr(13, 6), c.attributes) << "colour '" << c.colour << "'";
}

INSTANTIATE_TEST_SUITE_P(
    DisplayColours, DisplayColourPattern,
    ::testing::Values(
        // Entries of the default colour file.
        PatternCase{'0', nullptr, "110000"}, PatternCase{'9', nullptr, "551100"},
        PatternCase{'A', nullptr, "661100"},
        // No entry: the built-in table, "0000" past "7".
        PatternCase{'0', "", "000000"}, PatternCase{'1', "", "111100"},
        PatternCase{'2', "", "001100"}, PatternCase{'3', "", "110000"},
        PatternCase{'4', "", "101000"}, PatternCase{'5', "", "010100"},
        PatternCase{'6', "", "100100"}, PatternCase{'7', "", "011000"},
        PatternCase{'8', "", "000000"}, PatternCase{'9', "", "000000"},
        // Letters and signs index by their code; nothing fills them by default.
        PatternCase{'a', nullptr, "000000"}, PatternCase{'-', nullptr, "000000"},
        PatternCase{'B', nullptr, "000000"}, PatternCase{'d', "2222", "222200"},
        // Only exactly four characters count, whatever they are.
        PatternCase{'7', "123", "011000"}, PatternCase{'7', "12345", "011000"},
        PatternCase{'0', "9X9X", "9X9X00"}));

}  // namespace
}  // namespace plx
