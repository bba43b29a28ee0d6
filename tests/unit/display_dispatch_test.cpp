#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display_gateway_fixture.h"

namespace plx::display_test {
namespace {

class DisplayDispatch : public DisplayGateway {};

TEST_F(DisplayDispatch, SendsAHostCommandTwiceToItsTerminalLogsAndRemembersIt) {
    addTerminal(2);
    const std::string address = addTerminal(1);
    as400().GEST_CMD("000112340");

    const std::string frame = frameOf("1234", "110000");
    ASSERT_EQ(platform.datagrams.size(), 2u);
    EXPECT_EQ(destinations(), (Strings{address, address}));
    EXPECT_EQ(platform.datagrams[0].bytes, frame);
    EXPECT_EQ(platform.datagrams[1].bytes, frame);
    const auto logged = loggedEvents();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].mode, "CMD");
    EXPECT_EQ(logged[0].source, "0001");
    EXPECT_EQ(logged[0].text, "<" + frame.substr(0, 19) + ">");
    EXPECT_EQ(shown(1), "1234  0");
    EXPECT_EQ(shown(0), "");
}

TEST_F(DisplayDispatch, UnknownAndOutOfRangeNumbersLogOneWarningAndSendNothing) {
    addTerminal(1);
    addTerminal(42);
    for (const std::string field : {"0002", "****", "-001", "9E99", "&HFF", "1E5 "}) {
        forgetHistory();
        as400().GEST_CMD(field + "12340");
        const auto logged = loggedEvents();
        ASSERT_EQ(logged.size(), 1u) << field;
        EXPECT_EQ(logged[0].mode, "Warning");
        EXPECT_EQ(logged[0].text, "<><F1234  0> The product number " + field + " does not exist !");
        EXPECT_TRUE(platform.datagrams.empty()) << field;
    }
}

TEST_F(DisplayDispatch, ReadsTheNumberFieldLeniently) {
    const std::string address = addTerminal(42);
    for (const std::string field : {" 42 ", "0042", "&H2A", "42.4", "42D0"}) {
        shown(0).clear();
        forgetHistory();
        as400().GEST_CMD(field + "ABCD0");
        EXPECT_EQ(destinations(), (Strings{address, address})) << field;
    }
}

TEST_F(DisplayDispatch, TakesTheLastCharacterAsColourWhateverTheLength) {
    addTerminal(42);
    as400().GEST_CMD("00421234");  // eight characters: the last value character is the colour
    ASSERT_EQ(platform.datagrams.size(), 2u);
    EXPECT_EQ(platform.datagrams[0].bytes, frameOf("1234", "666600"));
    EXPECT_EQ(shown(0), "1234  4");
    as400().GEST_CMD("00425678xyzA");
    ASSERT_EQ(platform.datagrams.size(), 4u);
    EXPECT_EQ(platform.datagrams[2].bytes, frameOf("5678", "661100"));
}

TEST_F(DisplayDispatch, BroadcastNeedsTheNumberItReadsAsToExist) {
    const std::string a = addTerminal(5);
    const std::string b = addTerminal(12);
    as400().GEST_CMD("****12340");  // reads as 0: no terminal 0000
    EXPECT_TRUE(platform.datagrams.empty());
    ASSERT_EQ(loggedEvents("Warning").size(), 1u);

    forgetHistory();
    as400().GEST_CMD("12**12340");  // reads as 12, which exists: every terminal in list order
    EXPECT_EQ(destinations(), (Strings{a, a, b, b}));
    EXPECT_EQ(loggedEvents("CMD").size(), 2u);
    EXPECT_TRUE(loggedEvents("Warning").empty());

    forgetHistory();
    const std::string c = addTerminal(0);
    as400().GEST_CMD("****56780");
    EXPECT_EQ(destinations(), (Strings{a, a, b, b, c, c}));
}

TEST_F(DisplayDispatch, BroadcastSkipsTerminalsThatAlreadyShowTheCommand) {
    const std::string a = addTerminal(0);
    const std::string b = addTerminal(1);
    const std::string c = addTerminal(2);
    as400().GEST_CMD("000112340");
    forgetHistory();
    as400().GEST_CMD("****12340");
    EXPECT_EQ(destinations(), (Strings{a, a, c, c}));
    const auto logged = loggedEvents("CMD");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].source, "0000");
    EXPECT_EQ(logged[1].source, "0002");
}

TEST_F(DisplayDispatch, RemembersValueAndColourPerTerminal) {
    addTerminal(7);
    as400().GEST_CMD("000712340");
    as400().GEST_CMD("000712340");  // dropped without a trace
    EXPECT_EQ(platform.datagrams.size(), 2u);
    EXPECT_EQ(loggedEvents().size(), 1u);
    as400().GEST_CMD("000712341");  // another colour is another display
    EXPECT_EQ(platform.datagrams.size(), 4u);
    EXPECT_EQ(platform.datagrams[2].bytes, frameOf("1234", "001100"));
    EXPECT_EQ(shown(0), "1234  1");
    as400().GEST_CMD("000712340");
    EXPECT_EQ(platform.datagrams.size(), 6u);
}

TEST_F(DisplayDispatch, CommandsThatNeverLeftAreLoggedButNotRemembered) {
    addTerminal(1);
    list().setText(0, "0001,,,no address");
    ASSERT_TRUE(main().SYNC_TABLES());
    as400().GEST_CMD("000112340");
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_EQ(loggedEvents("CMD").size(), 1u);
    EXPECT_EQ(shown(0), "");

    list().setText(0, "0001,,127.0.10.9,fixed");
    ASSERT_TRUE(main().SYNC_TABLES());
    platform.failUdpSends = true;
    as400().GEST_CMD("000112340");
    EXPECT_EQ(shown(0), "");
    platform.failUdpSends = false;
    as400().GEST_CMD("000112340");  // tried again, and now it leaves
    EXPECT_EQ(destinations(), (Strings{"127.0.10.9", "127.0.10.9"}));
    EXPECT_EQ(shown(0), "1234  0");
    EXPECT_EQ(loggedEvents("CMD").size(), 3u);
}

TEST_F(DisplayDispatch, OneCopySentIsEnoughToRemember) {
    addTerminal(1);
    platform.failUdpSends = true;
    atNextPump([this] { platform.failUdpSends = false; });
    as400().GEST_CMD("000112340");
    EXPECT_EQ(platform.datagrams.size(), 1u);
    EXPECT_EQ(shown(0), "1234  0");
}

TEST_F(DisplayDispatch, RowsOutsideTheTablesGetNothing) {
    addTerminal(1);
    for (const int row : {-1, 1001, 40000}) as400().SEND_CMD_UDP(row, "><F1234  0");
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_TRUE(loggedEvents().empty());
    EXPECT_EQ(shown(1000), "");
}

// The pump after each send runs other handlers, which may send commands themselves.
class DisplayNesting : public DisplayGateway {
protected:
    // Runs the command once, at the first pump after the command under test starts.
    void nestOnce(const std::string& command) {
        atNextPump([this, command] {
            nestedSawMemory = shown(0);
            as400().GEST_CMD(command);
        });
    }
    std::string nestedSawMemory = "unset";
};

TEST_F(DisplayNesting, EachCopyKeepsItsOwnAddressAndFrame) {
    const std::string outer = addTerminal(1);
    const std::string inner = addTerminal(2);
    nestOnce("0002ABCD3");
    as400().GEST_CMD("000112340");

    EXPECT_EQ(destinations(), (Strings{outer, inner, inner, outer}));
    const std::string outerFrame = frameOf("1234", "110000");
    EXPECT_EQ(platform.datagrams[0].bytes, outerFrame);
    EXPECT_EQ(platform.datagrams[1].bytes, frameOf("ABCD", "000000"));
    EXPECT_EQ(platform.datagrams[3].bytes, outerFrame);
    // The memory is written after both copies: still empty while the first was pumping.
    EXPECT_EQ(nestedSawMemory, "");
    EXPECT_EQ(shown(0), "1234  0");
    EXPECT_EQ(shown(1), "ABCD  3");
    const auto logged = loggedEvents("CMD");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].source, "0002");
    EXPECT_EQ(logged[1].source, "0001");
}

TEST_F(DisplayNesting, BroadcastResumesWithTheRemainingRows) {
    const std::string a = addTerminal(0);
    const std::string b = addTerminal(1);
    const std::string c = addTerminal(2);
    nestOnce("0002XXXX0");
    as400().GEST_CMD("****12340");
    EXPECT_EQ(destinations(), (Strings{a, c, c, a, b, b, c, c}));
    EXPECT_EQ(platform.datagrams[6].bytes, frameOf("1234", "110000"));
    EXPECT_EQ(shown(2), "1234  0");
}

}  // namespace
}  // namespace plx::display_test
