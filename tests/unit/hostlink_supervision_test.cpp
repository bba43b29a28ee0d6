#include <string>
#include <vector>

#include "hostlink_gateway_fixture.h"

namespace plx::hostlink_test {
namespace {

using Strings = std::vector<std::string>;
using State = TcpClientPort::State;

TEST(HostlinkStartUp, ConnectsWithInitialFieldsThenClosesThenUsesTheLoadedSettings) {
    fake::FakePlatform platform;
    ASSERT_TRUE(platform.files().replace(platform.folder() + "/SERVER_AS400.cfg",
                                         "127.0.0.2\r\n2323\r\npw\r\nme\r\n 1\r\n"));
    Gateway gateway{platform};
    gateway.start();
    F_AS400& as400 = gateway.as400();

    // The window's own load tick ran on the initial fields; start-up's last tick closed it.
    ASSERT_EQ(platform.tcp().connects.size(), 1u);
    EXPECT_EQ(platform.tcp().connects[0].host, "127.0.0.1");
    EXPECT_EQ(platform.tcp().connects[0].port, 1024);
    EXPECT_EQ(platform.tcp().closeCalls, 1);
    EXPECT_EQ(as400.AFF_STATUS.caption(), "Try to close");
    EXPECT_EQ(gateway.state().LINK_STATE, OFFLINE);
    EXPECT_EQ(gateway.main().PIC_OFFLINE.tag(), "OFFLINE");
    // The hearts were placed by the load handler.
    EXPECT_EQ(as400.PIC_HEART_BREAK.left(), as400.PIC_HEART.left());
    EXPECT_EQ(as400.PIC_HEARTP.left(), as400.PIC_HEART.left() + 50);
    EXPECT_EQ(as400.PIC_HEARTP.top(), as400.PIC_HEART.top() + 50);
    EXPECT_EQ(as400.PIC_ONLINE.top(), as400.PIC_OFFLINE.top());

    platform.advance(F_AS400::kConnectPeriodMs);
    ASSERT_EQ(platform.tcp().connects.size(), 2u);
    EXPECT_EQ(platform.tcp().connects[1].host, "127.0.0.2");
    EXPECT_EQ(platform.tcp().connects[1].port, 2323);
    EXPECT_EQ(as400.INP_IP.toolTip(), "127.0.0.2");
    EXPECT_EQ(as400.AFF_STATUS.caption(), "Try to connect to 127.0.0.2");
}

class HostlinkSupervision : public HostGateway {};

TEST_F(HostlinkSupervision, StatePicturesFollowTheState) {
    struct Row {
        std::uint8_t state;
        bool online, offline, pause, heart, heartBreak;
        const char *image, *tag;
    };
    const Row rows[] = {{OFFLINE, false, true, false, false, true, "lamp-offline", "OFFLINE"},
                        {ONLINE, true, false, false, true, false, "lamp-online", "ONLINE"},
                        {PAUSE, false, false, true, false, true, "lamp-pause", "PAUSE"}};
    for (const Row& row : rows) {
        as400().PIC_HEARTP.setVisible(true);
        as400().SET_LINK_STATE(row.state);
        EXPECT_EQ(linkState(), row.state);
        EXPECT_EQ(as400().PIC_ONLINE.visible(), row.online);
        EXPECT_EQ(as400().PIC_OFFLINE.visible(), row.offline);
        EXPECT_EQ(as400().PIC_PAUSE.visible(), row.pause);
        EXPECT_EQ(as400().PIC_HEART.visible(), row.heart);
        EXPECT_EQ(as400().PIC_HEARTP.visible(), row.state == ONLINE);  // unchanged ONLINE
        EXPECT_EQ(as400().PIC_HEART_BREAK.visible(), row.heartBreak);
        EXPECT_EQ(gateway.main().PIC_OFFLINE.image(), row.image);
        EXPECT_EQ(gateway.main().PIC_OFFLINE.tag(), row.tag);
    }
    EXPECT_TRUE(statuses().empty());  // no message, no log entry
}

TEST_F(HostlinkSupervision, StatusShowsAndLogsToTheFile) {
    as400().SHOW_STATUS("Connected");
    EXPECT_EQ(as400().AFF_STATUS.caption(), "Connected");
    EXPECT_EQ(statuses(), Strings{"Connected"});
    const auto file = platform.files().read(gateway.events().AFF_LOG_FILE.caption());
    ASSERT_TRUE(file.has_value());
    EXPECT_NE(file->find("Status:Server [127.0.0.1],Connected\r\n"), std::string::npos);
}

TEST_F(HostlinkSupervision, HostCloseIsFollowedByACloseTickThenAConnectTick) {
    goOnline();
    EXPECT_EQ(as400().TIM_TX_USR_PW.interval(), 3000);
    forgetEvents();
    tcp().closeByPeer();
    platform.runEvents();
    EXPECT_EQ(linkState(), OFFLINE);
    EXPECT_EQ(tcp().closeCalls, 1);  // untouched until the tick

    platform.advance(F_AS400::kConnectPeriodMs);
    EXPECT_EQ(tcp().closeCalls, 2);
    EXPECT_EQ(tcp().connects.size(), 2u);
    platform.advance(F_AS400::kConnectPeriodMs);
    EXPECT_EQ(tcp().connects.size(), 3u);
    EXPECT_EQ(statuses(),
              (Strings{"Close connection", "Try to close", "Try to connect to 127.0.0.1"}));
}

TEST_F(HostlinkSupervision, WatchdogDropsTheLinkAtTheHundredAndEightiethSilentTick) {
    goOnline();
    hostSends("x");
    forgetEvents();
    platform.advance(179 * 1000);
    EXPECT_EQ(linkState(), ONLINE);
    EXPECT_EQ(as400().WATCHDOG_COUNT, 179);
    platform.advance(1000);
    EXPECT_EQ(linkState(), OFFLINE);
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    ASSERT_FALSE(statuses().empty());
    EXPECT_EQ(statuses()[0], "Reset connection by Watchdog");
    // The socket is still connected: the next tick closes it, the one after connects.
    forgetEvents();
    platform.advance(2 * F_AS400::kConnectPeriodMs);
    EXPECT_EQ(statuses(), (Strings{"Try to close", "Try to connect to 127.0.0.1"}));
}

TEST_F(HostlinkSupervision, OneChunkAtTick179StartsTheCountAgain) {
    goOnline();
    hostSends("x");
    platform.advance(179 * 1000);
    hostSends("y");
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    platform.advance(179 * 1000);
    EXPECT_EQ(linkState(), ONLINE);
    platform.advance(1000);
    EXPECT_EQ(linkState(), OFFLINE);
}

TEST_F(HostlinkSupervision, HeartFlipsOnceOnTheFirstTickAfterData) {
    goOnline();
    const auto heart = [this] { return as400().PIC_HEART.visible(); };
    const auto heartP = [this] { return as400().PIC_HEARTP.visible(); };
    hostSends("x");
    platform.advance(1000);
    const bool after = heart();
    EXPECT_NE(heart(), heartP());
    // Two chunks within one second: one flip.
    hostSends("x");
    hostSends("y");
    platform.advance(1000);
    EXPECT_EQ(heart(), !after);
    EXPECT_NE(heart(), heartP());
    // Silence: the heart stands still.
    platform.advance(5000);
    EXPECT_EQ(heart(), !after);
    hostSends("z");
    platform.advance(1000);
    EXPECT_EQ(heart(), after);
}

TEST_F(HostlinkSupervision, PauseSuspendsSupervisionFromOfflineAndFromOnline) {
    for (const bool fromOnline : {false, true}) {
        SCOPED_TRACE(fromOnline ? "from ONLINE" : "from OFFLINE");
        if (fromOnline) goOnline();
        as400().WATCHDOG_COUNT = 0;
        forgetEvents();
        const auto connects = tcp().connects.size();
        const int closes = tcp().closeCalls;

        as400().B_PAUSE.click();
        EXPECT_EQ(linkState(), PAUSE);
        EXPECT_EQ(gateway.main().PIC_OFFLINE.tag(), "PAUSE");
        platform.advance(200 * 1000);
        EXPECT_EQ(tcp().connects.size(), connects);
        EXPECT_EQ(tcp().closeCalls, closes);  // the socket is not touched
        EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
        EXPECT_EQ(statuses(), Strings{"PAUSE"});

        as400().B_PAUSE.click();
        EXPECT_EQ(linkState(), OFFLINE);
        platform.advance(2 * F_AS400::kConnectPeriodMs);
        EXPECT_EQ(tcp().connects.size(), connects + 1);
        const Strings expected = fromOnline
                                     ? Strings{"PAUSE", "Reset connection PAUSE finish",
                                               "Try to close", "Try to connect to 127.0.0.1"}
                                     : Strings{"PAUSE", "Reset connection PAUSE finish",
                                               "Try to connect to 127.0.0.1", "Try to close"};
        EXPECT_EQ(statuses(), expected);
        // Back to a closed socket for the next round.
        platform.advance(F_AS400::kConnectPeriodMs);
        if (tcp().state() != State::Closed) platform.advance(F_AS400::kConnectPeriodMs);
    }
}

TEST_F(HostlinkSupervision, SocketEventsEndAPause) {
    goOnline();
    as400().B_PAUSE.click();
    tcp().closeByPeer();
    platform.runEvents();
    EXPECT_EQ(linkState(), OFFLINE);

    platform.advance(2 * F_AS400::kConnectPeriodMs);
    ASSERT_EQ(tcp().state(), State::Connecting);
    as400().B_PAUSE.click();
    tcp().acceptConnection();  // the attempt under way completes during the pause
    platform.runEvents();
    EXPECT_EQ(linkState(), ONLINE);

    as400().B_PAUSE.click();
    tcp().fail("Connection reset by peer");
    platform.runEvents();
    EXPECT_EQ(linkState(), OFFLINE);
}

TEST_F(HostlinkSupervision, ResetDropsTheLinkForACloseAndAConnect) {
    goOnline();
    forgetEvents();
    as400().B_RESET_TERM.click();
    EXPECT_EQ(linkState(), OFFLINE);
    platform.advance(2 * F_AS400::kConnectPeriodMs);
    EXPECT_EQ(statuses(),
              (Strings{"Reset connection", "Try to close", "Try to connect to 127.0.0.1"}));
    EXPECT_EQ(as400().B_RESET_TERM.toolTip(), "Reset Terminal");
}

TEST_F(HostlinkSupervision, TypingInThePortWhileOnlineReconnectsWithTheNewPort) {
    goOnline();
    forgetEvents();
    as400().INP_PORT.type("3");
    EXPECT_EQ(linkState(), OFFLINE);
    EXPECT_TRUE(statuses().empty());
    platform.advance(2 * F_AS400::kConnectPeriodMs);
    EXPECT_EQ(tcp().connects.back().port, 10243);
    // The user name and password do not touch the link.
    tcp().acceptConnection();
    platform.runEvents();
    as400().INP_USR.type("u");
    as400().INP_PSW.type("p");
    EXPECT_EQ(linkState(), ONLINE);
}

TEST_F(HostlinkSupervision, ErrorClosesAndTheNextTickRetries) {
    platform.advance(F_AS400::kConnectPeriodMs);
    forgetEvents();
    tcp().fail("Connection refused");
    platform.runEvents();
    EXPECT_EQ(tcp().state(), State::Closed);
    EXPECT_EQ(linkState(), OFFLINE);
    platform.advance(F_AS400::kConnectPeriodMs);
    EXPECT_EQ(statuses(), (Strings{"Error: Connection refused", "Try to connect to 127.0.0.1"}));
}

TEST_F(HostlinkSupervision, PortTextIsReadAsTheOperatorMeansItOrShownAndRetried) {
    struct Row {
        const char* field;
        int port;  // 0: no connect, an error and a retry
    };
    const Row rows[] = {{" 23", 23}, {"2323 ", 2323}, {"\t992\t", 992}, {"telnet", 0},
                        {"", 0},     {"0", 0},        {"65536", 0},       {"2 3", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        as400().INP_PORT.setText(row.field);
        while (tcp().state() != State::Closed) platform.advance(F_AS400::kConnectPeriodMs);
        forgetEvents();
        const auto before = tcp().connects.size();
        platform.advance(2 * F_AS400::kConnectPeriodMs);
        EXPECT_EQ(as400().INP_PORT.text(), row.field);
        if (row.port != 0) {
            EXPECT_EQ(tcp().connects.back().port, row.port);
            continue;
        }
        EXPECT_EQ(tcp().connects.size(), before);
        EXPECT_EQ(linkState(), OFFLINE);
        const std::string error = "Error: Invalid remote port \"" + std::string(row.field) + "\"";
        EXPECT_EQ(statuses(), (Strings{"Try to connect to 127.0.0.1", error,
                                       "Try to connect to 127.0.0.1", error}));
    }
}

TEST_F(HostlinkSupervision, AddressWithThreeDotsIsUsedTrimmedOtherwiseResolved) {
    platform.hostNames["as400.plant"] = {127, 0, 0, 7};
    platform.hostNames[" as400 "] = {127, 0, 0, 8};
    struct Row {
        const char *field, *address;
    };
    const Row rows[] = {{" 127.0.0.2 ", "127.0.0.2"}, {"a.b.c.d", "a.b.c.d"},
                        {"as400.plant", "127.0.0.7"}, {" as400 ", "127.0.0.8"},
                        {"127.0.0.1.5", ""},          {"unknown", ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        platform.lookups.clear();
        as400().INP_IP.setText(row.field);
        while (tcp().state() != State::Closed) platform.advance(F_AS400::kConnectPeriodMs);
        const auto before = tcp().connects.size();
        platform.advance(F_AS400::kConnectPeriodMs);
        // No address, no connect: the status says so and the next tick tries again.
        if (*row.address == '\0') {
            EXPECT_EQ(tcp().connects.size(), before);
            EXPECT_EQ(as400().AFF_STATUS.caption(), "Error: No remote host given");
        } else {
            EXPECT_EQ(tcp().connects.back().host, row.address);
        }
        EXPECT_EQ(as400().INP_IP.toolTip(), row.address);
        const bool resolved = std::string(row.field).find("a.b") == std::string::npos &&
                              std::string(row.field).find("127.0.0.2") == std::string::npos;
        EXPECT_EQ(platform.lookups, resolved ? Strings{row.field} : Strings{});
    }
}

TEST_F(HostlinkSupervision, CloseBoxSavesAndHidesWhileTheLinkGoesOn) {
    goOnline();
    as400().form.show();
    as400().INP_USR.setText("me");
    as400().form.requestClose();
    EXPECT_FALSE(as400().form.visible());
    EXPECT_TRUE(windowExists("F_AS400"));
    EXPECT_EQ(linkState(), ONLINE);
    const auto saved = platform.files().read(gateway.state().filePath("SERVER_AS400.cfg"));
    ASSERT_TRUE(saved.has_value());
    EXPECT_NE(saved->find("me\r\n"), std::string::npos);
}

}  // namespace
}  // namespace plx::hostlink_test
