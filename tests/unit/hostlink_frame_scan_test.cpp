#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostlink/frame_scanner.h"

namespace plx {
namespace {

using Frames = std::vector<std::string>;

struct Case {
    const char* name;
    std::string text;
    Frames frames;
};

class HostlinkFrameScan : public ::testing::TestWithParam<Case> {};

TEST_P(HostlinkFrameScan, FindsTheFramesInStreamOrder) {
    FrameScanner scanner;
    EXPECT_EQ(scanner.scan(GetParam().text), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(
    HostlinkTable, HostlinkFrameScan,
    ::testing::Values(
        Case{"FrameAmidEscapesAndLineEnd", "\x1b[5;10H<000112340>\r\n", {"000112340"}},
        Case{"DoubleOpeningRestarts", "<<000112340>", {"000112340"}},
        Case{"EightCharactersTooShort", "<00011234>", {}},
        Case{"TenCharactersTooLong", "<0001123400>", {}},
        Case{"TwoFramesInOrder", "<000112340><****12340>", {"000112340", "****12340"}},
        Case{"OpeningWhenFullDropsBoth", "<000112340<****12340>", {}},
        Case{"Broadcast", "<****12340>", {"****12340"}},
        Case{"ClosingAloneIgnored", ">>000112340>", {}},
        Case{"ClosingTooSoonThenFrame", "<12>x<000112340>", {"000112340"}},
        Case{"ControlCharactersAreContent",
             "<\x01\x02\x03\x04\x05\x06\x07\x08\x09>",
             {"\x01\x02\x03\x04\x05\x06\x07\x08\x09"}},
        Case{"TelnetBytesAreContent",
             "<\xff\xfd\x18"
             "123456>",
             {"\xff\xfd\x18"
              "123456"}},
        Case{"NoOpening", "000112340>", {}}, Case{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A host screen as the AS/400 writes it: negotiation, escape sequences, line ends and
// frames, some of them broken.
const std::string kHostStream =
    "\xff\xfd\x18\xff\xfa\x18\x01\xff\xf0\x1b[2J\x1b[H"
    "SIGN ON\r\n<000112340>\x1b[7;1H<****0000A><0002ABCD1>\r\n"
    "<0001123><<000256781>x<0001----0>>\x1b[m<0003<0004AAAA5>\r\n<000199992>";
const Frames kHostFrames = {"000112340", "****0000A", "0002ABCD1", "000256781",
                            "0001----0", "0004AAAA5", "000199992"};

// Every character in a read of its own: the unfinished frame is carried across all of them.
TEST(HostlinkFrameStream, ByteByByteGivesEveryFrame) {
    FrameScanner scanner;
    Frames frames;
    for (const char c : kHostStream) {
        for (auto& frame : scanner.scan(std::string(1, c))) frames.push_back(frame);
    }
    EXPECT_EQ(frames, kHostFrames);
}

TEST(HostlinkFrameStream, ResetDropsTheUnfinishedFrame) {
    FrameScanner scanner;
    EXPECT_TRUE(scanner.scan("<0001").empty());
    scanner.reset();
    EXPECT_TRUE(scanner.scan("12340>").empty());
    EXPECT_EQ(scanner.scan("<0001").size(), 0u);
    EXPECT_EQ(scanner.scan("12340>"), Frames{"000112340"});
}

}  // namespace
}  // namespace plx
