#include <string>
#include <vector>

#include "hostlink_gateway_fixture.h"

namespace plx::hostlink_test {
namespace {

using Strings = std::vector<std::string>;

class HostlinkSignOn : public HostGateway {
protected:
    void SetUp() override {
        as400().INP_USR.setText(" ab c ");
        as400().INP_PSW.setText(" s3 cret ");
        goOnline();
        forgetEvents();
    }
};

TEST_F(HostlinkSignOn, SentInOnePieceThreeSecondsAfterConnect) {
    platform.advance(F_AS400::kSignOnDelayMs - 1);
    EXPECT_TRUE(tcp().sent.empty());
    platform.advance(1);
    // Trimmed, inner blanks kept: user, TAB, password, CR.
    EXPECT_EQ(tcp().sent, Strings{"ab c\ts3 cret\r"});
    EXPECT_EQ(as400().TIM_TX_USR_PW.interval(), 0);
    platform.advance(60 * 1000);
    EXPECT_EQ(tcp().sent.size(), 1u);  // once per connection
}

TEST_F(HostlinkSignOn, LoggedWithThePasswordMasked) {
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_EQ(eventTexts("Login"), Strings{"ab c{TAB}*******{ENTER}"});
    const auto file = platform.files().read(gateway.events().AFF_LOG_FILE.caption());
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->find("s3 cret"), std::string::npos);
}

TEST_F(HostlinkSignOn, EmptyFieldsStillSendTabAndReturn) {
    as400().INP_USR.setText("");
    as400().INP_PSW.setText("");
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_EQ(tcp().sent, Strings{"\t\r"});
}

TEST_F(HostlinkSignOn, SentAgainAfterEachReconnection) {
    platform.advance(F_AS400::kSignOnDelayMs);
    tcp().closeByPeer();
    platform.runEvents();
    platform.advance(2 * F_AS400::kConnectPeriodMs);
    tcp().acceptConnection();
    platform.runEvents();
    platform.advance(F_AS400::kSignOnDelayMs);
    EXPECT_EQ(tcp().sent, (Strings{"ab c\ts3 cret\r", "ab c\ts3 cret\r"}));
}

TEST_F(HostlinkSignOn, NotSentLogsItsCauseAndStopsTheTimer) {
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

TEST_F(HostlinkSignOn, FailedRepliesAreIgnoredAndTheWalkGoesOn) {
    tcp().failSends = true;
    hostSends("\xff\xfd\x18\xff\xfb\x01<000112340>");
    EXPECT_EQ(shown().size(), 2u);
    EXPECT_EQ(linkState(), ONLINE);
    tcp().failSends = false;
    hostSends("\xff\xfd\x18\xff\xfb\x01");
    EXPECT_EQ(tcp().sent, (Strings{"\xff\xfb\x18", "\xff\xfd\x01"}));
}

}  // namespace
}  // namespace plx::hostlink_test
