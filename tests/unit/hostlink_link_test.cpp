// The host link window: supervision of the connection, the sign-on and the settings.
#include "support/gateway_fixture.h"
#include "tools/f_help.h"

namespace plx::hostlink_test {
namespace {

using namespace testing_support;
using State = TcpClientPort::State;
constexpr int kTick = F_AS400::kConnectPeriodMs;

class HostLink : public TerminalsGatewayTest {
  protected:
    std::uint8_t linkState() { return state().LINK_STATE; }
    Strings statuses() { return eventTexts("Status"); }
    // The journal's priority ("<4>") of the last line of this status.
    std::string journalled(const std::string& status) {
        const Strings& lines = platform.journalLines;
        const auto line = std::find_if(lines.rbegin(), lines.rend(), [&](const std::string& l) {
            return l.find(" Status:") != std::string::npos && l.ends_with("," + status);
        });
        return line == lines.rend() ? "(none)" : line->substr(0, 3);
    }
    // Ticks until the socket is closed, so the next tick connects.
    void untilClosed() {
        while (tcp().state() != State::Closed) platform.advance(kTick);
    }
    std::string settingsFile() { return readFile("SERVER_AS400.cfg"); }
};

TEST(HostLinkStartUp, ConnectsWithTheInitialFieldsThenClosesThenUsesTheLoadedSettings) {
    FakeGateway line;
    line.writeFile("SERVER_AS400.cfg", "127.0.0.2\r\n2323\r\npw\r\nme\r\n 1\r\n");
    line.gateway.start();
    F_AS400& as400 = line.as400();
    // The window's own load tick ran on the initial fields; start-up's last tick closed it.
    ASSERT_EQ(line.tcp().connects.size(), 1u);
    EXPECT_EQ(line.tcp().connects[0].host + ":" + std::to_string(line.tcp().connects[0].port),
              "127.0.0.1:1024");
    EXPECT_EQ(line.tcp().closeCalls, 1);
    EXPECT_EQ(as400.AFF_STATUS.caption(), "Try to close");
    line.platform.advance(kTick);
    ASSERT_EQ(line.tcp().connects.size(), 2u);
    EXPECT_EQ(line.tcp().connects[1].host + ":" + std::to_string(line.tcp().connects[1].port),
              "127.0.0.2:2323");
    EXPECT_EQ(as400.INP_IP.toolTip(), "127.0.0.2");
    EXPECT_EQ(as400.AFF_STATUS.caption(), "Try to connect to 127.0.0.2");
}

// One lamp of three is lit, the one the main window's indicator copies and names; the heart
// stands only while ONLINE, the broken heart otherwise.
TEST_F(HostLink, StatePicturesFollowTheStateWithoutAnEvent) {
    F_AS400& link = as400();
    const std::pair<std::uint8_t, Picture*> lamps[] = {
        {OFFLINE, &link.PIC_OFFLINE}, {ONLINE, &link.PIC_ONLINE}, {PAUSE, &link.PIC_PAUSE}};
    for (const auto& [state, lamp] : lamps) {
        link.SET_LINK_STATE(state);
        EXPECT_EQ(linkState(), state);
        for (const auto& [other, picture] : lamps) EXPECT_EQ(picture->visible(), other == state);
        EXPECT_EQ(link.PIC_HEART.visible(), state == ONLINE);
        EXPECT_NE(link.PIC_HEART_BREAK.visible(), link.PIC_HEART.visible());
        EXPECT_EQ(main().PIC_OFFLINE.image(), lamp->image());
        EXPECT_EQ(main().PIC_OFFLINE.toolTip(), main().PIC_OFFLINE.tag());
        EXPECT_EQ(lamp->name(), "PIC_" + main().PIC_OFFLINE.tag());
    }
    EXPECT_TRUE(statuses().empty());
}

TEST_F(HostLink, LostLinkIsClosedByOneTickAndConnectedByTheNext) {
    goOnline();
    forgetEvents();
    tcp().closeByPeer();
    platform.runEvents();
    EXPECT_EQ(linkState(), OFFLINE);
    EXPECT_EQ(tcp().closeCalls, 1);  // untouched until the tick
    platform.advance(2 * kTick);
    EXPECT_EQ(tcp().closeCalls, 2);
    EXPECT_EQ(statuses(),
              (Strings{"Close connection", "Try to close", "Try to connect to 127.0.0.1"}));

    // An error closes at once: the next tick connects.
    forgetEvents();
    tcp().fail("Connection refused");
    platform.runEvents();
    EXPECT_EQ(tcp().state(), State::Closed);
    platform.advance(kTick);
    EXPECT_EQ(statuses(), (Strings{"Error: Connection refused", "Try to connect to 127.0.0.1"}));
    // What needs a look is a warning to the journal's readers, the rest information.
    EXPECT_EQ(journalled("Error: Connection refused"), "<4>");
    EXPECT_EQ(journalled("Try to connect to 127.0.0.1"), "<6>");

    // Reset: the same two ticks.
    tcp().acceptConnection();
    platform.runEvents();
    forgetEvents();
    as400().B_RESET_TERM.click();
    EXPECT_EQ(linkState(), OFFLINE);
    platform.advance(2 * kTick);
    EXPECT_EQ(statuses(),
              (Strings{"Reset connection", "Try to close", "Try to connect to 127.0.0.1"}));
}

TEST_F(HostLink, WatchdogDropsTheLinkAfter180SilentTicksAndTheHeartBeatsOnData) {
    goOnline();
    const auto heart = [this] { return as400().PIC_HEART.visible(); };
    hostSends("x");
    platform.advance(1000);
    const bool beat = heart();
    EXPECT_NE(heart(), as400().PIC_HEARTP.visible());
    hostSends("x");  // two chunks within one second: one flip
    hostSends("y");
    platform.advance(1000);
    EXPECT_EQ(heart(), !beat);
    platform.advance(5000);  // silence: the heart stands still
    EXPECT_EQ(heart(), !beat);

    hostSends("z");
    platform.advance(179 * 1000);
    hostSends("one chunk at tick 179 starts the count again");
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    platform.advance(179 * 1000);
    EXPECT_EQ(linkState(), ONLINE);
    forgetEvents();
    platform.advance(1000);
    EXPECT_EQ(linkState(), OFFLINE);
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    // The socket is still connected: the next tick closes it, the one after connects.
    platform.advance(2 * kTick);
    EXPECT_EQ(statuses(), (Strings{"Reset connection by Watchdog", "Try to close",
                                   "Try to connect to 127.0.0.1"}));
    EXPECT_EQ(journalled("Reset connection by Watchdog"), "<4>");
}

TEST_F(HostLink, PauseSuspendsSupervisionAndSocketEventsEndIt) {
    goOnline();
    forgetEvents();
    const auto connects = tcp().connects.size();
    const int closes = tcp().closeCalls;
    as400().B_PAUSE.click();
    EXPECT_EQ(linkState(), PAUSE);
    platform.advance(200 * 1000);
    EXPECT_EQ(tcp().connects.size(), connects);
    EXPECT_EQ(tcp().closeCalls, closes);  // the socket is not touched
    EXPECT_EQ(as400().WATCHDOG_COUNT, 0);
    as400().B_PAUSE.click();
    EXPECT_EQ(linkState(), OFFLINE);
    platform.advance(2 * kTick);
    EXPECT_EQ(statuses(), (Strings{"PAUSE", "Reset connection PAUSE finish", "Try to close",
                                   "Try to connect to 127.0.0.1"}));
    as400().B_PAUSE.click();
    tcp().acceptConnection();  // the attempt under way completes during the pause
    platform.runEvents();
    EXPECT_EQ(linkState(), ONLINE);
    for (const bool error : {false, true}) {
        as400().B_PAUSE.click();
        error ? tcp().fail("Connection reset by peer") : tcp().closeByPeer();
        platform.runEvents();
        EXPECT_EQ(linkState(), OFFLINE);
    }
}

TEST_F(HostLink, AddressIsUsedTrimmedWithThreeDotsOtherwiseResolved) {
    platform.hostNames["as400.plant"] = {127, 0, 0, 7};
    platform.hostNames[" as400 "] = {127, 0, 0, 8};
    const struct {
        const char *field, *address;
        bool resolved;
    } rows[] = {{" 127.0.0.2 ", "127.0.0.2", false}, {"a.b.c.d", "a.b.c.d", false},
                {"as400.plant", "127.0.0.7", true},  {" as400 ", "127.0.0.8", true},
                {"127.0.0.1.5", "", true},           {"unknown", "", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        platform.lookups.clear();
        as400().INP_IP.setText(row.field);
        untilClosed();
        const auto before = tcp().connects.size();
        platform.advance(kTick);
        EXPECT_EQ(as400().INP_IP.toolTip(), row.address);
        EXPECT_EQ(platform.lookups, row.resolved ? Strings{row.field} : Strings{});
        if (*row.address != '\0') {
            EXPECT_EQ(tcp().connects.back().host, row.address);
            continue;
        }
        // No address, no connect: the status says so and the next tick tries again.
        EXPECT_EQ(tcp().connects.size(), before);
        EXPECT_EQ(as400().AFF_STATUS.caption(), "Error: No remote host given");
        EXPECT_EQ(journalled("Error: No remote host given"), "<4>");
    }
}

TEST_F(HostLink, AddressOrPortTypedDropsTheLinkAndThePortIsReadAsMeantOrShown) {
    goOnline();
    for (TextBox* field : {&as400().INP_IP, &as400().INP_PORT}) {
        forgetEvents();
        field->type("3");  // a keystroke drops the link, without a message
        EXPECT_EQ(linkState(), OFFLINE) << field->name();
        EXPECT_TRUE(statuses().empty());
        platform.advance(2 * kTick);
        tcp().acceptConnection();
        platform.runEvents();
    }
    EXPECT_EQ(tcp().connects.back().host + ":" + std::to_string(tcp().connects.back().port),
              "127.0.0.13:10243");
    as400().INP_USR.type("u");  // the user name and password do not touch the link
    as400().INP_PSW.type("p");
    EXPECT_EQ(linkState(), ONLINE);
    as400().INP_PORT.setText(" 23");  // blanks around: that port, the text kept
    platform.advance(2 * kTick);
    EXPECT_EQ(tcp().connects.back().port, 23);
    EXPECT_EQ(as400().INP_PORT.text(), " 23");
    as400().INP_PORT.setText("telnet");
    untilClosed();
    forgetEvents();
    platform.advance(kTick);
    EXPECT_EQ(tcp().state(), State::Closed);
    EXPECT_EQ(statuses(),
              (Strings{"Try to connect to 127.0.0.13", "Error: Invalid remote port \"telnet\""}));
    EXPECT_EQ(journalled("Error: Invalid remote port \"telnet\""), "<4>");
}

// Which link the folder and the port ask for, and how the link says it is encrypted (the
// handshake itself, and a damaged file, are the integration suite's).
TEST_F(HostLink, TlsWhenTheFolderHoldsCertificatesOrThePortIsTelnets) {
    const struct {
        const char* pem;  // SERVER_AS400.pem, or none
        const char* port;
        bool tls;
        Strings trusted;
    } rows[] = {
        {nullptr, "23", false, {}},
        {nullptr, " 992", true, {}},  // the system's trust store
        {"-----BEGIN CERTIFICATE-----\r\nMAA=\r\n-----END CERTIFICATE-----\r\n",
         "23",
         true,
         {std::string("\x30\x00", 2)}},
    };
    as400().INP_IP.setText(" 127.000.000.009 ");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.port);
        platform.files().remove(path("SERVER_AS400.pem"));
        if (row.pem != nullptr) writeFile("SERVER_AS400.pem", row.pem);
        as400().INP_PORT.setText(row.port);
        untilClosed();
        platform.advance(kTick);
        const TlsSettings& tls = tcp().connects.back().tls;
        EXPECT_EQ(tls.on, row.tls);
        EXPECT_EQ(tls.trustedCertificates, row.trusted);
        EXPECT_EQ(tls.peerName, "127.0.0.9");  // the address the settings give, read as decimal
        tcp().acceptConnection();
        platform.runEvents();
        EXPECT_EQ(statuses().back(), row.tls ? "Connected (TLS)" : "Connected");
        EXPECT_EQ(as400().PIC_ONLINE.toolTip().empty(), !row.tls);
        EXPECT_EQ(main().PIC_OFFLINE.toolTip(),
                  row.tls ? "ONLINE\n" + as400().PIC_ONLINE.toolTip() : "ONLINE");
        const Strings& told = platform.serviceStatuses;
        ASSERT_GE(told.size(), 2u);
        EXPECT_EQ(told.back().ends_with(" (TLS)"), row.tls);
        EXPECT_TRUE(told[told.size() - 2].starts_with("OFFLINE, connecting to")) << "straight on";
        as400().B_RESET_TERM.click();
    }
}

TEST_F(HostLink, SignOnGoesOncePerConnectionThreeSecondsAfterConnect) {
    as400().INP_USR.setText(" ab c ");
    as400().INP_PSW.setText(" s3 cret ");
    goOnline();
    platform.advance(2999);  // three seconds after Connect, not a millisecond before
    EXPECT_TRUE(tcp().sent.empty());
    platform.advance(1);
    // Trimmed, inner blanks kept: user, TAB, password, CR; the password masked in the log,
    // its length too.
    EXPECT_EQ(tcp().sent, Strings{"ab c\ts3 cret\r"});
    EXPECT_EQ(eventTexts("Login"), Strings{"ab c{TAB}********{ENTER}"});
    EXPECT_EQ(dailyLog().find("s3 cret"), std::string::npos);
    platform.advance(60 * 1000);
    EXPECT_EQ(tcp().sent.size(), 1u);
    // Sent back by the host, it shows masked however it is cut, and so does what was held
    // back of it when the connection ends.
    hostSends("ab c\ts3 c");
    hostSends("ret\rs3");

    tcp().closeByPeer();
    platform.runEvents();
    EXPECT_EQ(eventTexts("RX-AS400"), (Strings{"ab c%9%", "********%13%", "********"}));
    as400().INP_USR.setText("");
    as400().INP_PSW.setText("");
    platform.advance(kTick);  // closes; the next tick connects
    goOnline();
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_EQ(tcp().sent, (Strings{"ab c\ts3 cret\r", "\t\r"}));
    EXPECT_EQ(eventTexts("Login").back(), "{TAB}{ENTER}");  // no password is no secret
}

TEST_F(HostLink, SignOnThatCannotGoLogsItsCauseAndStopsTheTimer) {
    goOnline();
    tcp().failSends = true;
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_EQ(as400().TIM_TX_USR_PW.interval(), 0);
    tcp().failSends = false;
    tcp().fail("Connection reset by peer");
    platform.runEvents();
    as400().TIM_TX_USR_PW.setInterval(F_AS400::kSignOnDelayMs);
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_TRUE(tcp().sent.empty());
    EXPECT_EQ(as400().TIM_TX_USR_PW.interval(), 0);
    EXPECT_EQ(eventTexts("Login"),
              (Strings{"Login not sent: the send failed", "Login not sent: no connection"}));
}

TEST_F(HostLink, SettingsAreSavedOwnerOnlyWheneverOneIsLeftOrTheWindowClosed) {
    as400().INP_IP.setText("127.0.0.5");
    as400().INP_PORT.setText("23");
    as400().INP_PSW.setText(" pass ");
    as400().INP_USR.setText(" user ");
    const std::string expected = "127.0.0.5\r\n23\r\n pass \r\n user \r\n 1\r\n";
    for (Control* setting :
         std::initializer_list<Control*>{&as400().INP_IP, &as400().INP_PORT, &as400().INP_USR,
                                         &as400().INP_PSW, &as400().SW_LOG}) {
        SCOPED_TRACE(setting->name());
        platform.files().remove(path("SERVER_AS400.cfg"));
        setting->setFocus();
        as400().B_CLEAR.setFocus();
        EXPECT_EQ(settingsFile(), expected);
    }
    EXPECT_TRUE(ownerOnly(path("SERVER_AS400.cfg")));
    EXPECT_TRUE(statuses().empty());  // nothing shown for a save

    // The close box saves and hides; the link goes on.
    as400().form.show();
    as400().SW_LOG.setValue(0);
    as400().form.requestClose();
    EXPECT_FALSE(as400().form.visible());
    EXPECT_TRUE(windowExists("F_AS400"));
    EXPECT_EQ(settingsFile(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 0\r\n");

    // A save that fails keeps the old file and says so in the status.
    platform.fakeFiles().failAfterBytes = 5;
    as400().B_SAVE_CFG.click();
    EXPECT_EQ(settingsFile(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 0\r\n");
    EXPECT_EQ(statuses(), Strings{"Settings not saved: cannot write " + shown("SERVER_AS400.cfg")});
    as400().B_HELP.click();
    EXPECT_TRUE(gateway.window<F_HELP>().form.visible());
}

}  // namespace
}  // namespace plx::hostlink_test
