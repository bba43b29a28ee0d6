// The terminal wall's reading of the 20-byte frame: what makes it a trustworthy oracle for
// the fault suite, which reads every datagram of the real gateway with it.

#include <gtest/gtest.h>

#include <string>

#include "terminal_frame.h"

namespace plx::wall {
namespace {

// Terminal 0001 told 1234 in colour 0 with the default colour file.
const std::string kWorkedExample(
    "\xFE\xF8\x08\x02\x3E\x3C\x46\x31\x32\x33\x34\x20\x20\x31\x31\x30\x30\x30\x30\x03", 20);

struct BrokenByte {
    std::size_t offset;
    char replacement;
    FrameFault fault;
};

TEST(WallFrame, EveryMarkerBrokenInTurnIsRefusedWithItsReason) {
    const BrokenByte cases[] = {
        {0, '\x00', FrameFault::Header},      {1, '\xF9', FrameFault::Header},
        {2, '\x09', FrameFault::Header},      {3, '\x03', FrameFault::Stx},
        {4, '<', FrameFault::Marker},         {5, '>', FrameFault::Marker},
        {6, 'f', FrameFault::Marker},         {11, '0', FrameFault::Blanks},
        {12, '\x00', FrameFault::Blanks},     {13, 'A', FrameFault::Attributes},
        {16, '-', FrameFault::Attributes},    {17, ' ', FrameFault::Attributes},
        {18, '\x00', FrameFault::Attributes}, {19, '\x02', FrameFault::Etx},
    };
    for (const auto& broken : cases) {
        std::string bytes = kWorkedExample;
        bytes[broken.offset] = broken.replacement;
        EXPECT_EQ(decodeFrame(bytes).fault, broken.fault) << "byte " << broken.offset;
    }
}

TEST(WallFrame, OnlyExactlyTwentyBytesAreAFrame) {
    const std::string cases[] = {
        "", kWorkedExample.substr(0, 19),  // the frame without its ETX
        kWorkedExample + '\x03',           // one byte too many
        kWorkedExample + kWorkedExample,   // two frames in one datagram
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(decodeFrame(bytes).fault, FrameFault::Length) << bytes.size() << " bytes";
    }
}

TEST(WallFrame, ValueAndAttributeCharactersAreTakenAsTheyCome) {
    const std::pair<std::string, std::string> cases[] = {
        {"1234", "1100"},  // the worked example itself
        {"----", "1100"},
        {"    ", "0000"},
        {"AB.z", "6666"},
        {std::string("\x00\xFF\x7F\x01", 4), "7980"},  // digits outside 0 to 6 still count
    };
    for (const auto& [value, pattern] : cases) {
        std::string bytes = kWorkedExample;
        bytes.replace(7, 4, value);
        bytes.replace(13, 4, pattern);
        const FrameDecoding decoding = decodeFrame(bytes);
        ASSERT_TRUE(decoding.ok());
        EXPECT_EQ(decoding.frame.value, value);
        EXPECT_EQ(decoding.frame.attributes, pattern + "00");
    }
}

}  // namespace
}  // namespace plx::wall
