// Reception of the host stream: log, display, negotiation and frames, however the stream is
// cut and whatever runs in the middle of a dispatch.
#include "display/f_test.h"
#include "support/gateway_fixture.h"

namespace plx::hostlink_test {
namespace {

using namespace std::string_literals;
using namespace testing_support;

class HostReception : public TerminalsGatewayTest {
  protected:
    void SetUp() override {
        goOnline();
        platform.advance(F_AS400::kSignOnDelayMs);  // sign-on out of the way
        tcp().sent.clear();
        forgetEvents();
    }
};

TEST_F(HostReception, NegotiationIsAnsweredBeforeTheFramesGoTwiceToTheirTerminal) {
    std::size_t repliesAtFirstDatagram = 0;
    atNextPump([&] { repliesAtFirstDatagram = tcp().sent.size(); });
    hostSends("\xff\xfd\x18\x1b[5;10H<000112340>\r\n");
    EXPECT_EQ(repliesAtFirstDatagram, 1u);
    EXPECT_EQ(tcp().sent, Strings{"\xff\xfb\x18"});
    EXPECT_EQ(shown(), (Strings{"127.0.10.1 1234", "127.0.10.1 1234"}));
}

// A frame and a command under way and the options agreed belong to their connection.
TEST_F(HostReception, UnfinishedFrameAndNegotiationEndWithTheConnection) {
    hostSends("\xff\xfd\x18<0001\xff");
    tcp().closeByPeer();
    platform.runEvents();
    platform.advance(F_AS400::kConnectPeriodMs);  // closes; the next tick connects
    goOnline();
    hostSends(
        "\xfd\x01"
        "12340>\xff\xfd\x18");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(tcp().sent, (Strings{"\xff\xfb\x18", "\xff\xfb\x18"}));
}

TEST_F(HostReception, DataArrivingDuringADispatchWaitsForTheOlderFrames) {
    int countInside = -1;
    atNextPump([&] {
        as400().WATCHDOG_COUNT = 7;
        hostSends("<0001BBBB0>");  // the nested arrival
        countInside = as400().WATCHDOG_COUNT;
    });
    hostSends("<0001AAAA0><0002CCCC0>");
    EXPECT_EQ(countInside, 0);  // the nested arrival still resets the watchdog at once
    EXPECT_EQ(shown(), (Strings{"127.0.10.1 AAAA", "127.0.10.1 AAAA", "127.0.10.2 CCCC",
                                "127.0.10.2 CCCC", "127.0.10.1 BBBB", "127.0.10.1 BBBB"}));
    EXPECT_FALSE(tcp().hasPendingData());
}

TEST_F(HostReception, HostDataFlowsInStreamOrderWhileADialogIsOpen) {
    // The operator presses "Add" while a chunk's frames are being dispatched: the press waits
    // for that dispatch, and while the editor is open the host's data goes on, replies and all.
    Strings shownWhileOpen;
    std::size_t repliesWhileOpen = 0;
    atNextPump([&] {
        platform.operatorDoes([&] {
            withEditor(main().B_ADD_TERM, [&](F_ADD_PRODUCT& editor) {
                hostSends("\xff\xfd\x18<0002BBBB0>");
                shownWhileOpen = shown();
                repliesWhileOpen = tcp().sent.size();
                editor.B_CLOSE.click();
            });
        });
    });
    hostSends("<0001AAAA0><0002CCCC0>");
    EXPECT_EQ(shownWhileOpen, (Strings{"127.0.10.1 AAAA", "127.0.10.1 AAAA", "127.0.10.2 CCCC",
                                       "127.0.10.2 CCCC", "127.0.10.2 BBBB", "127.0.10.2 BBBB"}));
    EXPECT_EQ(repliesWhileOpen, 1u);
}

// A window destroyed on close, closed while its own broadcast is under way: it stays until
// no handler can still run on it (the sanitizer build sees any use after free).
TEST_F(HostReception, WindowClosedInTheMiddleOfItsBroadcastOutlivesIt) {
    main().B_SELECT_ALL.click();
    main().B_TEST.click();
    atNextPump([&] { gateway.window<F_TEST>().form.requestClose(); });
    gateway.window<F_TEST>().B_CMD_TERM_NO.click();
    EXPECT_EQ(shown().size(), 4u);
    EXPECT_EQ(eventTexts("TEST"), Strings{"Show Terminal Number"});
    platform.runEvents();
    EXPECT_FALSE(windowExists("F_TEST"));
}

TEST_F(HostReception, LogSwitchAndReceiveDisplayShowTheRawChunks) {
    hostSends("A\r\n");
    EXPECT_EQ(eventTexts("RX-AS400"), Strings{"A%13%%10%"});
    as400().SW_LOG.setValue(0);
    hostSends("B\r\n");
    EXPECT_EQ(eventTexts("RX-AS400"), Strings{"A%13%%10%"});

    TextBox& display = as400().AFF_RX_400;
    EXPECT_FALSE(display.visible());
    EXPECT_EQ(display.text(), "");
    as400().SW_DISPLAY.click();
    EXPECT_TRUE(display.visible());
    display.setText(std::string(4000, 'x'));
    hostSends("ab");
    EXPECT_EQ(display.text(), std::string(4000, 'x') + "ab");
    hostSends("\x1b[Hcd");  // above 4000: emptied first
    EXPECT_EQ(display.text(), "\x1b[Hcd");
    as400().B_CLEAR.click();
    EXPECT_EQ(display.text(), "");
    as400().SW_DISPLAY.click();
    EXPECT_FALSE(display.visible());
}

TEST_F(HostReception, PauseLeavesTheDataUnreadResetsTheWatchdogAndItsEndDiscardsIt) {
    as400().SW_DISPLAY.click();
    as400().B_PAUSE.click();
    as400().WATCHDOG_COUNT = 42;
    hostSends("\xff\xfd\x18<000112340>");
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    EXPECT_TRUE(tcp().hasPendingData());
    EXPECT_TRUE(eventTexts("RX-AS400").empty());
    EXPECT_EQ(as400().AFF_RX_400.text(), "");
    EXPECT_TRUE(tcp().sent.empty());
    EXPECT_TRUE(shown().empty());

    // Ending the pause discards that data and what the old connection brings until the tick
    // closes it; the next connection's data is handled as usual.
    as400().B_PAUSE.click();
    hostSends("<000256780>");
    platform.advance(2 * F_AS400::kConnectPeriodMs);  // closes, then connects
    as400().B_PAUSE.click();  // a pause that ends while connecting: the connection is new
    as400().B_PAUSE.click();
    tcp().acceptConnection();
    hostSends("<000112340>");
    EXPECT_EQ(shown(), (Strings{"127.0.10.1 1234", "127.0.10.1 1234"}));

    // A pause chosen during a dispatch finishes the chunk under way, the newer stays unread.
    forgetHistory();
    atNextPump([&] {
        as400().B_PAUSE.click();
        hostSends("<0002DDDD0>");
    });
    hostSends("<0001AAAA0><0002CCCC0>");
    EXPECT_EQ(shown(), (Strings{"127.0.10.1 AAAA", "127.0.10.1 AAAA", "127.0.10.2 CCCC",
                                "127.0.10.2 CCCC"}));
    EXPECT_TRUE(tcp().hasPendingData());
}

// A host session as recorded: negotiation, sign-on screen with our answers sent back, screens
// carrying frames. (No terminal 0000, so the broadcast form is refused by the dispatcher.)
const std::string kSession =
    "\xff\xfd\x18\xff\xfa\x18\x01\xff\xf0\x1b[2J\x1b[1;1HSign On\r\n"
    "\xff\xfb\x18\xff\xfa\x18\x00VT100\xff\xf0\xff\xfd\x18"s
    "\x1b[7;1H<000112340>\x1b[8;1H<000256781>\r\n<0001<00021111A>x<****----0>"
    "\x1b[0m<0001ZZZZ2\r\n<0002EEEE3>\xff\xf1\x00<000199994>"s;
const Strings kSessionShown = {
    "127.0.10.1 1234", "127.0.10.1 1234", "127.0.10.2 5678", "127.0.10.2 5678", "127.0.10.2 1111",
    "127.0.10.2 1111", "127.0.10.2 EEEE", "127.0.10.2 EEEE", "127.0.10.1 9999", "127.0.10.1 9999"};

// The session on one connection after another, cut at each position in turn (at the end:
// whole). Our WILL sent back is refused (the terminal type is the client's), the terminal
// type sent back asks nothing, and the DO sent back asks for the state the option has.
using HostSession = HostReception;
TEST_F(HostSession, WholeOrSplitAtEveryPositionGivesTheSameRepliesAndDatagrams) {
    const Strings kReplies = {"\xff\xfb\x18", "\xff\xfa\x18\x00VT100\xff\xf0"s, "\xff\xfe\x18"};
    for (std::size_t cut = 1; cut <= kSession.size(); ++cut) {
        // A new connection: nothing of the last stream may carry over into this one.
        tcp().closeByPeer();
        platform.runEvents();
        platform.advance(F_AS400::kConnectPeriodMs);
        goOnline();
        state().TAB_AFF_VALUE.fill({});
        platform.datagrams.clear();
        tcp().sent.clear();
        hostSends(kSession.substr(0, cut));
        hostSends(kSession.substr(cut));
        EXPECT_EQ(shown(), kSessionShown) << "cut at " << cut;
        EXPECT_EQ(tcp().sent, kReplies) << "cut at " << cut;
    }
}

}  // namespace
}  // namespace plx::hostlink_test
