#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display_gateway_fixture.h"

namespace plx::display_test {
namespace {

class DisplaySynchronize : public DisplayGateway {};

TEST_F(DisplaySynchronize, ForgetsEverythingAndPutsDashesOnEveryTerminalInListOrder) {
    const std::string a = addTerminal(42);
    const std::string b = addTerminal(7);
    as400().GEST_CMD("004212340");
    shown(1000) = "left over";
    forgetHistory();

    main().B_SYNCHRONIZE_Click();

    EXPECT_EQ(destinations(), (Strings{a, a, b, b}));
    const std::string dashes =
        "\xFE\xF8\x08\x02\x3E\x3C\x46\x2D\x2D\x2D\x2D\x20\x20"
        "\x31\x31\x30\x30\x30\x30\x03";
    for (const auto& datagram : platform.datagrams) EXPECT_EQ(datagram.bytes, dashes);
    const auto logged = loggedEvents();
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[0].mode, "CMD");
    EXPECT_EQ(logged[0].source, "0042");
    EXPECT_EQ(logged[1].source, "0007");
    EXPECT_EQ(logged[2].mode, "GENERAL");
    EXPECT_EQ(logged[2].text, "Synchronize all products");
    EXPECT_EQ(shown(0), "----  0");
    EXPECT_EQ(shown(1), "----  0");
    EXPECT_EQ(shown(1000), "");

    // The command shown before is no longer remembered: it goes out again.
    forgetHistory();
    as400().GEST_CMD("004212340");
    EXPECT_EQ(destinations(), (Strings{a, a}));
}

TEST_F(DisplaySynchronize, TwiceInARowSendsTheDashesTwice) {
    const std::string a = addTerminal(1);
    main().B_SYNCHRONIZE_Click();
    main().B_SYNCHRONIZE_Click();
    EXPECT_EQ(destinations(), (Strings{a, a, a, a}));
    EXPECT_EQ(loggedEvents("GENERAL").size(), 2u);
}

TEST_F(DisplaySynchronize, OverAnEmptyListOnlyEmptiesTheMemoryAndLogs) {
    shown(3) = "1234  0";
    main().B_SYNCHRONIZE_Click();
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_EQ(shown(3), "");
    const auto logged = loggedEvents();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].text, "Synchronize all products");
}

TEST_F(DisplaySynchronize, HostCommandsArrivingMeanwhileGoOutAtOnce) {
    const std::string a = addTerminal(1);
    const std::string b = addTerminal(2);
    atNextPump([this] { as400().GEST_CMD("000212340"); });  // a terminal not reached yet
    main().B_SYNCHRONIZE_Click();
    EXPECT_EQ(destinations(), (Strings{a, b, b, a, b, b}));
    EXPECT_EQ(shown(1), "----  0");
    EXPECT_EQ(loggedEvents().back().text, "Synchronize all products");
}

}  // namespace
}  // namespace plx::display_test
