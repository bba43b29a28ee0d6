#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "display/host_number.h"

namespace plx {
namespace {

struct NumberCase {
    const char* field;
    std::optional<int> terminal;  // nothing: outside 0..9999, nothing may be sent
};

class DisplayHostNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DisplayHostNumber, ReadsTheTerminalNumberLeniently) {
    EXPECT_EQ(hostTerminalNumber(GetParam().field), GetParam().terminal)
        << "field \"" << GetParam().field << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    DisplayFields, DisplayHostNumber,
    ::testing::Values(
        // Four digits, as the host writes them.
        NumberCase{"0042", 42}, NumberCase{"0000", 0}, NumberCase{"9999", 9999},
        // Blanks anywhere are ignored.
        NumberCase{" 42 ", 42}, NumberCase{"1 2 3", 123}, NumberCase{"    ", 0},
        // Reading stops at the first character that cannot continue the number.
        NumberCase{"12**", 12}, NumberCase{"****", 0}, NumberCase{"*12*", 0}, NumberCase{"1-2", 1},
        NumberCase{"--1", 0}, NumberCase{"1.2.", 1}, NumberCase{"", 0}, NumberCase{"abc", 0},
        NumberCase{"-", 0}, NumberCase{".", 0},
        // Signs.
        NumberCase{"+7", 7}, NumberCase{"-0", 0}, NumberCase{"-001", std::nullopt},
        NumberCase{"- 1", std::nullopt},
        // Radix prefixes, either case.
        NumberCase{"&H1F", 31}, NumberCase{"&h1f", 31}, NumberCase{"&O17", 15},
        NumberCase{"&o17", 15}, NumberCase{"&O18", 1}, NumberCase{"&H", 0}, NumberCase{"&HG1", 0},
        NumberCase{"&X1", 0}, NumberCase{"&", 0}, NumberCase{"& H1", 1},
        NumberCase{"&HFFFF", std::nullopt},
        // Exponents with E or D, either case; a mark without digits ends the number.
        NumberCase{"1E3", 1000}, NumberCase{"1D2", 100}, NumberCase{"1d2", 100},
        NumberCase{"5e-1", 0}, NumberCase{"1E+2", 100}, NumberCase{"1E", 1}, NumberCase{"7E+", 7},
        NumberCase{"9E99", std::nullopt}, NumberCase{"1E4", std::nullopt},
        // Rounding to the nearest integer, halves to the even neighbour.
        NumberCase{"2.5", 2}, NumberCase{"3.5", 4}, NumberCase{"0.5", 0}, NumberCase{"1.5", 2},
        NumberCase{".5", 0}, NumberCase{"12.7", 13}, NumberCase{"2.49", 2}, NumberCase{"-0.5", 0},
        NumberCase{"-0.6", std::nullopt}));

TEST(DisplayHostNumberLimits, ReadsLongAndExtremeTextsWithoutOverflow) {
    const std::string manyDigits(400, '9');
    const std::string manyHexDigits = "&H" + std::string(40, 'F');
    EXPECT_TRUE(std::isinf(readLenientNumber(manyDigits)));
    EXPECT_TRUE(std::isinf(readLenientNumber("1E99999999999999999999")));
    EXPECT_TRUE(std::isinf(readLenientNumber("-1E999")));
    EXPECT_EQ(readLenientNumber("1E-999"), 0.0);
    EXPECT_GT(readLenientNumber(manyHexDigits), 1e15);
    EXPECT_DOUBLE_EQ(readLenientNumber("12.5D-1"), 1.25);
    for (const std::string& text : {manyDigits, manyHexDigits, std::string("-1E999"),
                                    std::string("1E-999"), std::string("9999.5")}) {
        const auto number = hostTerminalNumber(text);
        EXPECT_TRUE(!number || *number == 0) << text;
    }
}

}  // namespace
}  // namespace plx
