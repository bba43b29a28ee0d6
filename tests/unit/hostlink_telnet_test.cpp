#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostlink/telnet_negotiation.h"

namespace plx {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values) text += static_cast<char>(value);
    return text;
}

// IAC SB TERMINAL-TYPE IS "VT100" IAC SE, written out from the telnet rules.
const std::string kVt100 = bytes({255, 250, 24, 0, 86, 84, 49, 48, 48, 255, 240});

struct Case {
    const char* name;
    std::string chunk;
    std::vector<std::string> replies;
};

class HostlinkTelnet : public ::testing::TestWithParam<Case> {};

TEST_P(HostlinkTelnet, AnswersEachCommandInOrder) {
    EXPECT_EQ(telnetReplies(GetParam().chunk), GetParam().replies);
}

INSTANTIATE_TEST_SUITE_P(
    HostlinkWalk, HostlinkTelnet,
    ::testing::Values(
        Case{"DoTerminalType", bytes({255, 253, 24}), {bytes({255, 251, 24})}},
        Case{"DoThenSubNegotiation",
             bytes({255, 253, 24, 255, 250, 24, 1, 255, 240}),
             {bytes({255, 251, 24}), kVt100}},
        Case{"WillTwice",
             bytes({255, 251, 1, 255, 251, 3}),
             {bytes({255, 253, 1}), bytes({255, 253, 3})}},
        Case{"DoOtherRefused", bytes({255, 253, 1}), {bytes({255, 252, 1})}},
        Case{"DontTerminalTypeStillWont", bytes({255, 254, 24}), {bytes({255, 252, 24})}},
        Case{"WontAnsweredDont", bytes({255, 252, 31}), {bytes({255, 254, 31})}},
        Case{"NoIacNoReply", "\x1b[2J\x1b[1;1H<000112340>\r\n" + std::string(5000, 'x'), {}},
        Case{"DoubleIacSecondTakenAsCommand", bytes({255, 255, 251, 1}), {bytes({255, 253, 1})}},
        Case{"CommandAfterGaPassedOver", bytes({255, 249, 255, 253, 24}), {}},
        Case{"NopPassesOverNextByteOnly",
             bytes({255, 241, 0, 255, 253, 24}),
             {bytes({255, 251, 24})}},
        Case{"SubNegotiationWhateverItAsks", bytes({255, 250, 31, 0, 80, 255, 240}), {kVt100}},
        Case{"SameCommandTwiceAnsweredTwice",
             bytes({255, 253, 24, 255, 253, 24}),
             {bytes({255, 251, 24}), bytes({255, 251, 24})}},
        Case{"CommandsAmidScreenText",
             "AB" + bytes({255, 251, 1}) + "C" + bytes({255, 251, 3}),
             {bytes({255, 253, 1}), bytes({255, 253, 3})}},
        // A command cut by the end of the chunk is not answered with a truncated reply.
        Case{"CutAfterIac", bytes({255, 253, 24, 255}), {bytes({255, 251, 24})}},
        Case{"CutDoWithoutOption", bytes({255, 253}), {}},
        Case{"CutWillWithoutOption", bytes({255, 251, 1, 255, 251}), {bytes({255, 253, 1})}},
        Case{"CutWontWithoutOption", bytes({255, 252}), {}},
        Case{"CutDontWithoutOption", bytes({255, 254}), {}}, Case{"LoneIac", bytes({255}), {}},
        // The rest of a command begun in another chunk is plain data here.
        Case{"TailOfCutCommandIsData", bytes({24, 255, 253, 1}), {bytes({255, 252, 1})}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plx
