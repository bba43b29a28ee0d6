// The LED terminal's reading of the 20-byte frame and of its attribute digits.

#include <gtest/gtest.h>

#include <string>

#include "led_attribute.h"
#include "seven_segment.h"
#include "terminal_frame.h"

namespace plx::wall {
namespace {

// Terminal 0001 told 1234 in colour 0 with the default colour file.
const std::string kWorkedExample(
    "\xFE\xF8\x08\x02\x3E\x3C\x46\x31\x32\x33\x34\x20\x20\x31\x31\x30\x30\x30\x30\x03", 20);

TEST(WallFrame, WorkedExampleGivesValueAndAttributes) {
    const FrameDecoding decoding = decodeFrame(kWorkedExample);
    ASSERT_TRUE(decoding.ok());
    EXPECT_EQ(decoding.frame.value, "1234");
    EXPECT_EQ(decoding.frame.attributes, "110000");
}

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
        "",
        kWorkedExample.substr(0, 19),     // the frame without its ETX
        kWorkedExample + '\x03',          // one byte too many
        kWorkedExample + kWorkedExample,  // two frames in one datagram
        kWorkedExample.substr(1),         // header cut
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(decodeFrame(bytes).fault, FrameFault::Length) << bytes.size() << " bytes";
    }
}

TEST(WallFrame, ValueCharactersAreTakenAsTheyCome) {
    const std::string values[] = {"----", "    ", "AB.z", std::string("\x00\xFF\x7F\x01", 4)};
    for (const auto& value : values) {
        std::string bytes = kWorkedExample;
        bytes.replace(7, 4, value);
        const FrameDecoding decoding = decodeFrame(bytes);
        ASSERT_TRUE(decoding.ok());
        EXPECT_EQ(decoding.frame.value, value);
    }
}

TEST(WallFrame, AttributeDigitsOutsideZeroToSixStillMakeAFrame) {
    std::string bytes = kWorkedExample;
    bytes.replace(13, 4, "7980");
    const FrameDecoding decoding = decodeFrame(bytes);
    ASSERT_TRUE(decoding.ok());
    EXPECT_EQ(decoding.frame.attributes, "798000");
}

TEST(WallFrame, EveryFaultHasItsOwnText) {
    const FrameFault faults[] = {FrameFault::Length, FrameFault::Header, FrameFault::Stx,
                                 FrameFault::Marker, FrameFault::Blanks, FrameFault::Attributes,
                                 FrameFault::Etx};
    EXPECT_EQ(faultText(FrameFault::Header), "header not FE F8 08");
    for (const auto a : faults) {
        for (const auto b : faults) {
            if (a != b) {
                EXPECT_NE(faultText(a), faultText(b));
            }
        }
    }
}

struct AttributeCase {
    char digit;
    Lamp first;
    Lamp second;
    bool dot;
    bool known;
};

TEST(WallAttribute, EachDigitGivesItsColourDotAndFlash) {
    const AttributeCase cases[] = {
        {'0', Lamp::Red, Lamp::Red, false, true},      // red
        {'1', Lamp::Green, Lamp::Green, false, true},  // green
        {'2', Lamp::Red, Lamp::Red, true, true},       // red with dot
        {'3', Lamp::Green, Lamp::Green, true, true},   // green with dot
        {'4', Lamp::Red, Lamp::Off, false, true},      // flashing red
        {'5', Lamp::Green, Lamp::Off, false, true},    // flashing green
        {'6', Lamp::Red, Lamp::Green, false, true},    // flashing red / green
        {'7', Lamp::Red, Lamp::Red, false, false},     // unknown: red, and said so
        {'9', Lamp::Red, Lamp::Red, false, false},    {'A', Lamp::Red, Lamp::Red, false, false},
    };
    for (const auto& c : cases) {
        const LedAttribute attribute = attributeOf(c.digit);
        EXPECT_EQ(lampAt(attribute, FlashPhase::First), c.first) << c.digit;
        EXPECT_EQ(lampAt(attribute, FlashPhase::Second), c.second) << c.digit;
        EXPECT_EQ(attribute.dot, c.dot) << c.digit;
        EXPECT_EQ(attribute.known, c.known) << c.digit;
        EXPECT_EQ(attribute.flashing(), c.first != c.second) << c.digit;
    }
}

TEST(WallAttribute, FlashingAlternatesTwiceASecond) {
    const std::pair<std::int64_t, FlashPhase> cases[] = {
        {0, FlashPhase::First},
        {249, FlashPhase::First},
        {250, FlashPhase::Second},
        {499, FlashPhase::Second},
        {500, FlashPhase::First},
        {750, FlashPhase::Second},
        {3'600'000'125, FlashPhase::First},  // months into a run, still in step
    };
    for (const auto& [ms, phase] : cases) EXPECT_EQ(flashPhaseAt(ms), phase) << ms << " ms";
}

TEST(WallSevenSegment, CharactersLightTheirSegments) {
    const std::pair<char, std::uint8_t> cases[] = {
        {'8', 0x7F},
        {'0', kSegmentA | kSegmentB | kSegmentC | kSegmentD | kSegmentE | kSegmentF},
        {'1', kSegmentB | kSegmentC},
        {'7', kSegmentA | kSegmentB | kSegmentC},
        {'-', kSegmentG},
        {' ', 0},
        {'#', kSegmentA | kSegmentD | kSegmentG},  // not showable: seen, not blank
    };
    for (const auto& [c, segments] : cases) EXPECT_EQ(segmentsOf(c), segments) << c;
}

}  // namespace
}  // namespace plx::wall
