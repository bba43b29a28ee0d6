// The pure rules of the display layer: the number field, the display command, the terminal
// frame and its colour pattern, as tables written from the rules.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "display/display_command.h"
#include "display/host_number.h"
#include "display/terminal_frame.h"
#include "support/colour_defaults.h"

namespace plx {
namespace {

using testing_support::defaultColourTable;

TEST(DisplayRules, NumberFieldIsReadLenientlyAndRoundedHalfToEven) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0042", 42}, {"0000", 0},  {"9999", 9999}, {" 42 ", 42},  {"1 2 3", 123}, {"    ", 0},
        {"12**", 12}, {"****", 0},  {"*12*", 0},    {"1-2", 1},    {"--1", 0},     {"1.2.", 1},
        {"", 0},      {"abc", 0},   {".", 0},       {"+7", 7},     {"-0", 0},      {"-001", {}},
        {"- 1", {}},  {"&H1F", 31}, {"&h1f", 31},   {"&O17", 15},  {"&o17", 15},   {"&O18", 1},
        {"&H", 0},    {"&HG1", 0},  {"&X1", 0},     {"& H1", 1},   {"&HFFFF", {}}, {"1E3", 1000},
        {"1D2", 100}, {"1d2", 100}, {"5e-1", 0},    {"1E+2", 100}, {"1E", 1},      {"7E+", 7},
        {"9E99", {}}, {"1E4", {}},  {"2.5", 2},     {"3.5", 4},    {"0.5", 0},     {"1.5", 2},
        {".5", 0},    {"12.7", 13}, {"2.49", 2},    {"-0.5", 0},   {"-0.6", {}},   {"9999.5", {}},
    };
    for (const auto& [field, terminal] : cases)
        EXPECT_EQ(hostTerminalNumber(field), terminal) << "field \"" << field << "\"";
    // Far too large or long texts read as an infinity, never as undefined behaviour.
    const std::string manyDigits(400, '9');
    EXPECT_TRUE(std::isinf(readLenientNumber(manyDigits)));
    EXPECT_TRUE(std::isinf(readLenientNumber("-1E999")));
    EXPECT_EQ(readLenientNumber("1E-999"), 0.0);
    EXPECT_GT(readLenientNumber("&H" + std::string(40, 'F')), 1e15);
    EXPECT_DOUBLE_EQ(readLenientNumber("12.5D-1"), 1.25);
    EXPECT_EQ(hostTerminalNumber(manyDigits), std::nullopt);
}

// A host command's value and colour survive the display command and the memory's copy of
// it; the number field is the first four characters.
TEST(DisplayRules, DisplayCommandRoundTrip) {
    const struct {
        std::string host, number, display, shown;
    } cases[] = {
        {"000112340", "0001", "><F1234  0", "1234  0"},
        {"****----A", "****", "><F----  A", "----  A"},
        {"00421234", "0042", "><F1234  4", "1234  4"},  // eight: the last value is the colour
        {"00425678xyzA", "0042", "><F5678  A", "5678  A"},
        {"0042", "0042", "><F      2", "      2"},
        {"7", "7", "><F      7", "      7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numberField(c.host), c.number) << c.host;
        EXPECT_EQ(displayCommand(c.host), c.display) << c.host;
        EXPECT_EQ(shownValue(displayCommand(c.host)), c.shown) << c.host;
    }
}

TEST(DisplayRules, TerminalFrameIsTwentyBytesWithTheValueUnchanged) {
    const std::string worked(terminalFrame("><F1234  0", defaultColourTable()).view());
    EXPECT_EQ(worked, std::string("\xFE\xF8\x08\x02\x3E\x3C\x46\x31\x32\x33\x34\x20\x20"
                                  "\x31\x31\x30\x30\x30\x30\x03"));
    const std::string raw(
        terminalFrame(std::string("><F\xFF\x00<>  9", 10), defaultColourTable()).view());
    EXPECT_EQ(raw.substr(7, 4), std::string("\xFF\x00<>", 4));
    // Short commands are padded with blanks rather than sent truncated.
    for (const std::string command : {"><F12 0", "", "7"}) {
        ASSERT_EQ(terminalFrame(command, defaultColourTable()).view().size(), kFrameBytes)
            << command;
        EXPECT_EQ(terminalFrame(command, defaultColourTable()).view().back(), '\x03');
    }
    EXPECT_EQ(terminalFrame("><F12 0", defaultColourTable()).view().substr(4, 9), "><F12    ");
}

// The default file's patterns; with no entry the built-in table, "0000" past "7"; other
// characters by their code, filled by nothing by default and past the table from "e" (101)
// on; an entry counts only when it has exactly four characters, whatever they are.
TEST(DisplayRules, ColourPatternFromTheTableOrTheBuiltInOne) {
    const struct {
        char colour;
        const char* entry;  // the table entry the colour selects; nullptr: the default file
        const char* attributes;
    } cases[] = {{'0', nullptr, "110000"}, {'9', nullptr, "551100"},    {'A', nullptr, "661100"},
                 {'0', "", "000000"},      {'1', "", "111100"},         {'2', "", "001100"},
                 {'3', "", "110000"},      {'4', "", "101000"},         {'5', "", "010100"},
                 {'6', "", "100100"},      {'7', "", "011000"},         {'8', "", "000000"},
                 {'a', nullptr, "000000"}, {'-', nullptr, "000000"},    {'d', "2222", "222200"},
                 {'e', nullptr, "000000"}, {'\xff', nullptr, "000000"}, {'7', "123", "011000"},
                 {'7', "12345", "011000"}, {'0', "9X9X", "9X9X00"}};
    for (const auto& c : cases) {
        ColourTable table = defaultColourTable();
        if (c.entry != nullptr) table[colourIndex(std::string(1, c.colour))] = c.entry;
        const std::string frame(terminalFrame(std::string("><F1234  ") + c.colour, table).view());
        EXPECT_EQ(frame.substr(13, 6), c.attributes) << "colour '" << c.colour << "'";
    }
}

}  // namespace
}  // namespace plx
