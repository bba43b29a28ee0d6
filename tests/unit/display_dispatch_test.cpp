// Host commands to the terminals: the dispatcher, the datagrams, the value memory, and the
// two commands that make host commands of their own, Synchronize and the test window.
#include "display/f_test.h"
#include "support/gateway_fixture.h"

namespace plx::display_test {
namespace {

using namespace testing_support;

class DisplayDispatch : public StartedGatewayTest {
  protected:
    DisplayDispatch() {
        useDefaultColourPatterns();
        forgetEvents();
    }
    std::string& remembered(int row) { return state().TAB_AFF_VALUE[row]; }
    Strings destinations() {
        Strings addresses;
        for (const std::string& datagram : shown())
            addresses.push_back(datagram.substr(0, datagram.find(' ')));
        return addresses;
    }
    F_TEST& testWindow() { return gateway.window<F_TEST>(); }
};

TEST_F(DisplayDispatch, HostCommandGoesTwiceToItsTerminalIsLoggedAndRemembered) {
    addTerminal(2);
    const std::string address = addTerminal(1);
    as400().GEST_CMD("000112340");
    const std::string frame = frameOf("1234", "110000");
    ASSERT_EQ(destinations(), (Strings{address, address}));
    EXPECT_EQ(platform.datagrams[0].bytes, frame);
    EXPECT_EQ(platform.datagrams[1].bytes, frame);
    const auto logged = loggedEvents();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].mode + " " + logged[0].source, "CMD 0001");
    EXPECT_EQ(logged[0].text, "<" + frame.substr(0, 19) + ">");
    EXPECT_EQ(remembered(1), "1234  0");
    EXPECT_EQ(remembered(0), "");

    as400().GEST_CMD("000112340");  // the same again: dropped without a trace
    EXPECT_EQ(platform.datagrams.size(), 2u);
    EXPECT_EQ(loggedEvents().size(), 1u);
    as400().GEST_CMD("000112341");  // another colour is another display
    ASSERT_EQ(platform.datagrams.size(), 4u);
    EXPECT_EQ(platform.datagrams[2].bytes, frameOf("1234", "001100"));
    EXPECT_EQ(remembered(1), "1234  1");
    forgetHistory();
    as400().GEST_CMD(" 1  56780");  // the number read leniently
    EXPECT_EQ(destinations(), (Strings{address, address}));
}

TEST_F(DisplayDispatch, UnknownAndOutOfRangeNumbersLogOneWarningAndSendNothing) {
    addTerminal(1);
    addTerminal(42);
    for (const std::string field : {"0002", "****", "-001", "9E99", "&HFF", "1E5 "}) {
        forgetHistory();
        as400().GEST_CMD(field + "12340");
        EXPECT_EQ(eventTexts("Warning"),
                  Strings{"<><F1234  0> The product number " + field + " does not exist !"});
        EXPECT_EQ(loggedEvents().size(), 1u) << field;
        EXPECT_TRUE(platform.datagrams.empty()) << field;
    }
}

TEST_F(DisplayDispatch, BroadcastNeedsItsNumberToExistAndSkipsWhatIsShown) {
    const std::string a = addTerminal(5);
    const std::string b = addTerminal(12);
    as400().GEST_CMD("****12340");  // reads as 0: no terminal 0000
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_EQ(eventTexts("Warning").size(), 1u);
    forgetHistory();
    as400().GEST_CMD("12**12340");  // reads as 12, which exists: every terminal in list order
    EXPECT_EQ(destinations(), (Strings{a, a, b, b}));
    EXPECT_EQ(eventTexts("CMD").size(), 2u);
    forgetHistory();
    const std::string c = addTerminal(0);
    as400().GEST_CMD("000512340");
    as400().GEST_CMD("****12340");  // 0005 and 0012 show it already
    EXPECT_EQ(destinations(), (Strings{c, c}));
}

TEST_F(DisplayDispatch, CommandsThatNeverLeftAreLoggedButNotRemembered) {
    addTerminal("0001,,,no address");
    as400().GEST_CMD("000112340");
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_EQ(eventTexts("CMD").size(), 1u);
    EXPECT_EQ(remembered(0), "");
    list().setText(0, "0001,,127.0.10.9,fixed");
    ASSERT_TRUE(main().SYNC_TABLES());
    platform.udpOutcome = DatagramOutcome::NoRoute;
    as400().GEST_CMD("000112340");
    EXPECT_EQ(remembered(0), "");
    atNextPump([this] { platform.udpOutcome = DatagramOutcome::Left; });  // one copy is enough
    as400().GEST_CMD("000112340");
    EXPECT_EQ(destinations(), Strings{"127.0.10.9"});
    EXPECT_EQ(remembered(0), "1234  0");
    for (const int row : {-1, 1001, 40000}) as400().SEND_CMD_UDP(row, "><F1234  0");
    EXPECT_EQ(platform.datagrams.size(), 1u);
    EXPECT_EQ(eventTexts("CMD").size(), 3u);
    // Sent together, with nothing pending between them: those that failed are not remembered.
    platform.onPump = nullptr;
    addTerminal("0002,,,none");
    addTerminal(0);
    as400().GEST_CMD("****56780");
    EXPECT_EQ(remembered(0) + "|" + remembered(1) + "|" + remembered(2), "5678  0||5678  0");
}

// The pump after each send runs other handlers, which may send commands themselves.
TEST_F(DisplayDispatch, NestedCommandsKeepTheirOwnAddressFrameAndMemory) {
    const std::string outer = addTerminal(1);
    const std::string inner = addTerminal(2);
    std::string memoryDuringTheOuter = "unset";
    atNextPump([&] {
        memoryDuringTheOuter = remembered(0);
        as400().GEST_CMD("0002ABCD3");
    });
    as400().GEST_CMD("000112340");
    ASSERT_EQ(destinations(), (Strings{outer, inner, inner, outer}));
    EXPECT_EQ(platform.datagrams[1].bytes, frameOf("ABCD", "000000"));
    EXPECT_EQ(platform.datagrams[3].bytes, frameOf("1234", "110000"));
    EXPECT_EQ(memoryDuringTheOuter, "");  // written after both copies
    EXPECT_EQ(remembered(0), "1234  0");
    EXPECT_EQ(remembered(1), "ABCD  3");

    const std::string zero = addTerminal(0);
    forgetHistory();
    atNextPump([&] { as400().GEST_CMD("0002XXXX0"); });
    as400().GEST_CMD("****56780");  // the broadcast resumes with the remaining rows
    EXPECT_EQ(destinations(), (Strings{outer, inner, inner, outer, inner, inner, zero, zero}));
    EXPECT_EQ(remembered(1), "5678  0");
}

// A socket that answers "try again" is waited for: the copies go on in their order, a command
// dispatched during the wait as during a pump, the line and the memory last. A final failure
// is told once per terminal until its datagrams leave again; a socket that takes nothing for
// a second serves a link that is down, and what waits for it is given up.
TEST_F(DisplayDispatch, FullSocketIsWaitedForAndFailuresAreToldOncePerTerminal) {
    const std::string a = addTerminal(0);
    const std::string b = addTerminal(7);
    const Statistics& stats = state().STATS;
    platform.udpBusySends = 3;
    std::string duringTheWait;
    atNextPump([&] {
        duringTheWait = remembered(0) + "|" + std::to_string(eventTexts("CMD").size());
        as400().GEST_CMD("0007ABCD3");
    });
    as400().GEST_CMD("****12340");
    EXPECT_EQ(destinations(), (Strings{a, b, b, a, b, b}));
    EXPECT_EQ(duringTheWait, "|0");
    EXPECT_EQ(stats.datagramSendWaits, 3);
    EXPECT_EQ(remembered(0) + "|" + remembered(1), "1234  0|1234  0");
    EXPECT_EQ(eventTexts("CMD").size(), 3u);
    EXPECT_EQ(stats.datagramsOf(DatagramOutcome::Left), 6);

    platform.onPump = nullptr;
    platform.udpOutcome = DatagramOutcome::NoRoute;
    for (const char* command : {"****56780", "****43210"}) as400().GEST_CMD(command);
    platform.udpOutcome = DatagramOutcome::Left;
    as400().GEST_CMD("000099990");  // 0000 is reached again, 0007 is not
    platform.udpOutcome = DatagramOutcome::NoRoute;
    as400().GEST_CMD("****88880");
    Strings warnings;
    for (const auto& warning : loggedEvents("Warning"))
        warnings.push_back(warning.source + "," + warning.text);
    const std::string noRoute = "\": no route to it";
    EXPECT_EQ(warnings, (Strings{"0000,Datagrams cannot be sent to \"" + a + noRoute,
                                 "0007,Datagrams cannot be sent to \"" + b + noRoute,
                                 "0000,Datagrams cannot be sent to \"" + a + noRoute}));
    EXPECT_EQ(stats.datagramsOf(DatagramOutcome::NoRoute), 12);
    EXPECT_EQ(remembered(0), "9999  0");

    platform.udpOutcome = DatagramOutcome::Left;
    platform.udpBusySends = 100;
    platform.udpWaitMs = 600;
    as400().GEST_CMD("****11110");
    EXPECT_EQ(stats.datagramSendWaits, 5);
    EXPECT_EQ(stats.datagramsOf(DatagramOutcome::Busy), 4);
    EXPECT_EQ(remembered(0), "9999  0");
}

TEST_F(DisplayDispatch, SynchronizeForgetsEverythingAndPutsDashesOnEveryTerminal) {
    const std::string a = addTerminal(42);
    const std::string b = addTerminal(7);
    as400().GEST_CMD("004212340");
    remembered(1000) = "left over";
    forgetHistory();
    atNextPump([&] { as400().GEST_CMD("000756780"); });  // a terminal not reached yet
    main().B_SYNCHRONIZE.click();
    ASSERT_EQ(destinations(), (Strings{a, b, b, a, b, b}));
    EXPECT_EQ(platform.datagrams[0].bytes,
              "\xFE\xF8\x08\x02\x3E\x3C\x46\x2D\x2D\x2D\x2D\x20\x20\x31\x31\x30\x30\x30\x30\x03");
    EXPECT_EQ(loggedEvents().back().text, "Synchronize all products");
    EXPECT_EQ(remembered(0), "----  0");
    EXPECT_EQ(remembered(1), "----  0");
    EXPECT_EQ(remembered(1000), "");
    forgetHistory();
    as400().GEST_CMD("004212340");  // no longer remembered: it goes out again
    main().B_SYNCHRONIZE.click();   // and twice in a row sends the dashes twice
    EXPECT_EQ(destinations(), (Strings{a, a, a, a, b, b}));

    // Two rows of one number: the terminal it names gets the dashes once, however batched.
    platform.onPump = nullptr;
    setTerminalList({"0005,,127.0.10.5,x", "0005,,127.0.10.6,y"});
    forgetHistory();
    main().B_SYNCHRONIZE.click();
    EXPECT_EQ(destinations(), (Strings{"127.0.10.6", "127.0.10.6"}));
    setTerminalList({});
    remembered(3) = "1234  0";
    forgetHistory();
    main().B_SYNCHRONIZE.click();
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_EQ(remembered(3), "");
    EXPECT_EQ(eventTexts("GENERAL"), Strings{"Synchronize all products"});
}

// The memory is by row and follows its terminal: rows that move up after a removal take
// theirs along, and a row edited to another number or address forgets what it showed.
TEST_F(DisplayDispatch, MemoryFollowsItsTerminalThroughRemovalsAndEdits) {
    addTerminal(101);
    const std::string b = addTerminal(102);
    main().B_SYNCHRONIZE.click();
    list().setSelected(1, true);
    testWindow().B_CMD_TERM_NO.click();  // 0102 shows "0102"
    list().setCurrentRow(0);
    main().B_REMOVE_TERM.click();  // 0102 moves up
    forgetHistory();
    testWindow().B_CMD_TERM_DASH.click();
    EXPECT_EQ(destinations(), (Strings{b, b}));
    EXPECT_EQ(remembered(1), "");
    const struct {
        const char *number, *address;
        bool forgotten;
    } edits[] = {
        {"0102", "127.0.10.2", false}, {"0102", "127.0.10.9", true}, {"103", "127.0.10.9", true}};
    list().setCurrentRow(0);
    for (const auto& edit : edits) {
        withEditor(main().B_EDIT_TERM, [&](F_ADD_PRODUCT& editor) {
            editor.INP_NO.setText(edit.number);
            editor.INP_IP.setText(edit.address);
            editor.B_OK.click();
        });
        forgetHistory();
        testWindow().B_CMD_TERM_DASH.click();  // repeats what the row showed
        EXPECT_EQ(platform.datagrams.size(), edit.forgotten ? 2u : 0u) << edit.address;
    }
}

TEST_F(DisplayDispatch, TestButtonsSendTheirValueInTheColourOfTheirOwnBox) {
    const std::string a = addTerminal(42);
    addTerminal(8);
    const std::string c = addTerminal(7);
    testWindow().B_CMD_TERM_DASH.click();  // nothing selected: only the warning
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_TRUE(loggedEvents().empty());
    EXPECT_EQ(platform.messages.size(), 1u);
    testWindow().B_SELECT_ALL.click();  // the main list's select-all
    list().setSelected(1, false);
    platform.setTime({2026, 12, 5, 23, 59, 59});
    testWindow().INP_TEST_COLOR(2).setText("1");
    testWindow().INP_TEST_COLOR(0).setText(" 2 ");  // blanks around are no colour
    testWindow().INP_TEST_COLOR(1).setText("A");
    testWindow().B_CMD_TERM_DASH.click();
    testWindow().B_CMD_TERM_NO.click();
    atNextPump([&] { platform.setTime({2026, 12, 6, 0, 0, 0}); });  // the time is read anew
    testWindow().B_CMD_TERM_TIME.click();
    ASSERT_EQ(destinations(), (Strings{a, a, c, c, a, a, c, c, a, a, c, c}));
    EXPECT_EQ(platform.datagrams[0].bytes, frameOf("----", "001100"));
    EXPECT_EQ(platform.datagrams[6].bytes, frameOf("0007", "111100"));
    EXPECT_EQ(platform.datagrams[8].bytes, frameOf("2359", "661100"));
    EXPECT_EQ(platform.datagrams[10].bytes, frameOf("0000", "661100"));
    ASSERT_EQ(eventTexts("TEST"), (Strings{"Dash Only", "Show Terminal Number", "Current Time"}));
    EXPECT_EQ(loggedEvents()[2].mode, "TEST");  // after the terminals it went to
}

}  // namespace
}  // namespace plx::display_test
