// The texts an event line starts with: the time of day and the terminal's four-digit number.
#include <gtest/gtest.h>

#include "console/numeric_text.h"
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
        {-5, "-005"},  // a sign takes one of the four places, as the format "0000" gives
    };
    for (const auto& c : cases) EXPECT_EQ(fourDigits(c.number), c.text) << c.number;
}

}  // namespace
}  // namespace plx
