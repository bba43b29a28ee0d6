// The texts an event line starts with: the time of day and the terminal's four-digit number.
#include <gtest/gtest.h>

#include "shared/numeric_text.h"
#include "platform/ipv4.h"
#include "platform/local_time.h"

namespace plx {
namespace {

TEST(ConsoleEventText, TimeOfDayIsTwoDigitsEachJoinedByColons) {
    const struct {
        int hour, minute, second;
        const char* text;
    } cases[] = {
        {0, 0, 0, "00:00:00"},    {9, 5, 7, "09:05:07"},   {14, 5, 9, "14:05:09"},
        {23, 59, 59, "23:59:59"}, {12, 0, 60, "12:00:60"},  // a leap second as the clock gives it
    };
    for (const auto& c : cases) {
        LocalTime time;
        time.hour = c.hour;
        time.minute = c.minute;
        time.second = c.second;
        EXPECT_EQ(time.timeText(), c.text) << c.hour << ":" << c.minute << ":" << c.second;
    }
}

TEST(ConsoleEventText, TerminalNumberIsZeroFilledToAtLeastFourDigits) {
    const struct {
        long long number;
        const char* text;
    } cases[] = {
        {0, "0000"},    {7, "0007"},    {42, "0042"},     {999, "0999"},
        {1000, "1000"}, {9999, "9999"}, {10000, "10000"},  // wider than four digits: written whole
        {-5, "-0005"}, {-12345, "-12345"},  // the sign stands before the four digits
    };
    for (const auto& c : cases) EXPECT_EQ(fourDigits(c.number), c.text) << c.number;
}

// A dotted address means the same to the host connection and to the terminal datagrams:
// each part decimal, leading zeros and all.
TEST(ConsoleAddressText, DottedPartsAreDecimal) {
    using Bytes = std::array<std::uint8_t, 4>;
    const struct {
        const char* text;
        std::optional<Bytes> bytes;
    } cases[] = {
        {"10.1.200.11", Bytes{10, 1, 200, 11}},  {"010.000.000.001", Bytes{10, 0, 0, 1}},
        {"127.000.010.001", Bytes{127, 0, 10, 1}}, {"0.0.0.0", Bytes{0, 0, 0, 0}},
        {"255.255.255.255", Bytes{255, 255, 255, 255}},
        {"256.0.0.1", std::nullopt},  {"0010.0.0.1", std::nullopt}, {"10.0.0", std::nullopt},
        {"10.0.0.1.", std::nullopt},  {" 10.0.0.1", std::nullopt},  {"a.b.c.d", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDottedIPv4(c.text), c.bytes) << c.text;
}

}  // namespace
}  // namespace plx
