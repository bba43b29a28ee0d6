// The wall's state, its terminal list and its report lines.

#include "wall_model.h"

#include <gtest/gtest.h>

#include <string>

#include "report_lines.h"
#include "terminal_list.h"

namespace plx::wall {
namespace {

std::string frame(const std::string& value, const std::string& pattern) {
    return std::string("\xFE\xF8\x08\x02><F", 7) + value + "  " + pattern + "00\x03";
}

WallModel twoTerminals() {
    return WallModel({{"0001", "127.0.10.1"}, {"0002", "127.0.10.2"}});
}

TEST(WallModel, FramesLightTheirTerminalAndTheLastValueWins) {
    WallModel model = twoTerminals();
    EXPECT_TRUE(model.receive("127.0.10.2", frame("1234", "1100")).ok());
    EXPECT_TRUE(model.receive("127.0.10.2", frame("0042", "6600")).ok());

    const TerminalState& shown = model.terminals()[1];
    EXPECT_TRUE(shown.lit);
    EXPECT_EQ(shown.shown.value, "0042");
    EXPECT_EQ(shown.shown.attributes, "660000");
    EXPECT_EQ(shown.frames, 2u);
    EXPECT_FALSE(model.terminals()[0].lit);
    EXPECT_EQ(model.terminals()[0].frames, 0u);
    EXPECT_EQ(model.malformed(), 0u);
}

TEST(WallModel, MalformedDatagramsAreCountedAndLeaveTheDisplays) {
    WallModel model = twoTerminals();
    model.receive("127.0.10.1", frame("1234", "1100"));
    std::string noEtx = frame("9999", "0000");
    noEtx.pop_back();
    EXPECT_FALSE(model.receive("127.0.10.1", noEtx).ok());
    EXPECT_FALSE(model.receive("127.0.10.1", "").ok());

    EXPECT_EQ(model.malformed(), 2u);
    EXPECT_EQ(model.lastMalformed(), "127.0.10.1: 0 bytes, length not 20");
    EXPECT_EQ(model.terminals()[0].shown.value, "1234");
    EXPECT_EQ(model.terminals()[0].frames, 1u);
}

TEST(WallModel, TerminalsSharingAnAddressShowTheSameFrame) {
    WallModel model({{"0001", "127.0.10.1"}, {"0002", "127.0.10.2"}, {"0003", "127.0.10.1"}});
    EXPECT_EQ(model.addresses(), (std::vector<std::string>{"127.0.10.1", "127.0.10.2"}));
    model.receive("127.0.10.1", frame("7777", "0000"));
    EXPECT_EQ(model.terminals()[0].shown.value, "7777");
    EXPECT_EQ(model.terminals()[2].shown.value, "7777");
    EXPECT_FALSE(model.terminals()[1].lit);

    model.setBinding("127.0.10.1", Binding::Failed, "address in use");
    EXPECT_EQ(model.terminals()[2].binding, Binding::Failed);
    EXPECT_EQ(model.terminals()[2].bindError, "address in use");
    EXPECT_EQ(model.terminals()[1].binding, Binding::Pending);
}

TEST(WallModel, KnowsWhichDisplaysFlashAndWhatTheyShowRed) {
    WallModel model({{"0001", "127.0.10.1"},
                     {"0002", "127.0.10.2"},
                     {"0003", "127.0.10.3"},
                     {"0004", "127.0.10.4"}});
    model.receive("127.0.10.1", frame("1234", "1032"));
    model.receive("127.0.10.2", frame("1234", "0006"));
    model.receive("127.0.10.3", frame("1234", "1791"));
    // The digits of the two blanks never make a display flash.
    model.receive("127.0.10.4", std::string("\xFE\xF8\x08\x02><F1234  000066\x03", 20));

    const auto& terminals = model.terminals();
    EXPECT_FALSE(terminals[0].flashing());
    EXPECT_TRUE(terminals[1].flashing());
    EXPECT_FALSE(terminals[2].flashing());
    EXPECT_FALSE(terminals[3].flashing());
    EXPECT_EQ(terminals[0].unknownAttribute(), '\0');
    EXPECT_EQ(terminals[2].unknownAttribute(), '7');
}

TEST(WallModel, CountsTheTerminalsThatListen) {
    WallModel model({{"0001", "127.0.10.1"}, {"0002", "127.0.10.2"}, {"0003", "127.0.10.1"}});
    EXPECT_EQ(model.listening(), 0u);
    model.setBinding("127.0.10.1", Binding::Listening);
    model.setBinding("127.0.10.2", Binding::Failed, "port 1024 in use");
    EXPECT_EQ(model.listening(), 2u);
}

TEST(WallTerminalList, ReadsNumberAndAddressFromEveryLineEnding) {
    const auto terminals = parseTerminalList(
        "0001,,127.0.10.1,Press line 1\r\n"
        "2,,127.0.10.2,old number\r"
        "\r\n"
        "   \n"
        "0010,type, 127.0.10.3 ,Packing\n"
        "0107\n"
        "ABC,,127.0.10.5");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"0001", "127.0.10.1"}, {"0002", "127.0.10.2"}, {"0010", "127.0.10.3"},
        {"0107", ""},           {"ABC", "127.0.10.5"},
    };
    ASSERT_EQ(terminals.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(terminals[i].number, expected[i].first) << i;
        EXPECT_EQ(terminals[i].address, expected[i].second) << i;
    }
}

TEST(WallTerminalList, StopsAtTheGatewaysLimit) {
    std::string text;
    for (int i = 0; i < 1200; ++i) text += "0001,,127.0.10.1,\r\n";
    EXPECT_EQ(parseTerminalList(text).size(), kMaxTerminals);
}

TEST(WallTerminalList, WithoutAListTwelveTerminalsOnLoopback) {
    const auto terminals = defaultTerminals();
    ASSERT_EQ(terminals.size(), 12u);
    EXPECT_EQ(terminals.front().number, "0001");
    EXPECT_EQ(terminals.front().address, "127.0.10.1");
    EXPECT_EQ(terminals.back().number, "0012");
    EXPECT_EQ(terminals.back().address, "127.0.10.12");
}

TEST(WallTerminalList, OnlyLoopbackAddressesAreWallAddresses) {
    const std::pair<std::string, bool> cases[] = {
        {"127.0.10.1", true},   {"127.255.255.254", true}, {"127.0.0.1", true},  {"0.0.0.0", false},
        {"127.0.10", false},    {"127.0.10.256", false},   {"localhost", false}, {"", false},
        {"127.0.10.1 ", false},
    };
    for (const auto& [address, wall] : cases) EXPECT_EQ(isWallAddress(address), wall) << address;
}

TEST(WallReport, LinesKeepTheirColumns) {
    const TerminalEntry terminal{"0001", "127.0.10.2"};
    EXPECT_EQ(frameReportLine(terminal, {"1234", "110000"}), "frame 0001 127.0.10.2 1234 110000");
    EXPECT_EQ(frameReportLine(terminal, {" 12-", "000000"}), "frame 0001 127.0.10.2  12- 000000");
    // A byte that would break the line or the terminal shows as '?'.
    EXPECT_EQ(frameReportLine(terminal, {std::string("\n\x00\xE9z", 4), "000000"}),
              "frame 0001 127.0.10.2 ???z 000000");
    EXPECT_EQ(malformedReportLine("127.0.10.2", 19), "malformed 127.0.10.2 19");
    EXPECT_EQ(framesCaption(0), "0 frames");
    EXPECT_EQ(framesCaption(1), "1 frame");
}

}  // namespace
}  // namespace plx::wall
