// The real gateway against a host of ours that sends back whatever it receives, with "Log
// AS-400 communication" on and every event in the day's file: the password it sends back
// shows nowhere, and the negotiation it sends back ends instead of running for ever.
#include <gtest/gtest.h>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <optional>

#include "headless_program.h"
#include "scripted_host.h"
#include "support/qt_integration.h"
#include "terminal_wall.h"

namespace {

using plx::qtp::testing::waitFor;

// The first connection tick with the loaded settings (5 s) and the sign-on (3 s), on a
// shared machine.
constexpr int kSignedOnBoundMs = 30000;
constexpr char kPassword[] = "Pl4nt-s3cret";
constexpr char kPasswordStart[] = "Pl4nt";
// The echoed sign-on in an "RX-AS400" line, whatever shows after it.
constexpr char kEchoedSignOn[] = "QUSER%9%";

class EchoingHost : public ::testing::Test {
  protected:
    void SetUp() override {
        plx::qtp::testing::application();
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(host.listen());
        host.echoReceived();
        const QString terminal = wall.addFreeTerminal(130);
        ASSERT_FALSE(terminal.isEmpty()) << "every terminal address is taken";
        webPort = plx::qtp::testing::freePort();
        folder.write("SERVER_AS400.cfg", "127.0.0.1\r\n" + QByteArray::number(host.port()) +
                                             "\r\n" + kPassword + "\r\nQUSER\r\n 1\r\n");
        folder.write("Products.cfg", "0001,," + terminal.toLatin1() + ",Line 1\r\n");
        folder.write("LOG_ALL_MERVAX.TXT", {});
        folder.write("WebConsole.cfg", "listen 127.0.0.1:" + QByteArray::number(webPort) + "\r\n");
        gateway.emplace(QStringLiteral(PLX_EXECUTABLE), folder.path());
        ASSERT_TRUE(gateway->started());
    }

    QByteArray log() const { return folder.log(); }
    // Waits until the gateway has logged `count` echoes of the sign-on.
    bool echoesLogged(int count) {
        return waitFor([&] { return log().count(kEchoedSignOn) >= count; }, kSignedOnBoundMs);
    }
    // The end of the day's file, to say what went wrong.
    std::string logEnd() const { return log().right(1500).toStdString(); }
    QByteArray events() {
        QNetworkAccessManager web;
        QNetworkReply* reply = web.get(
            QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/api/events").arg(webPort))));
        waitFor([reply] { return reply->isFinished(); });
        return reply->readAll();
    }

    plx::qtp::testing::GatewayFolder folder;
    plx::sim::ScriptedHost host;
    plx::sim::TerminalWall wall;
    quint16 webPort = 0;
    std::optional<plx::sim::HeadlessProgram> gateway;
};

class AbuseLogIntegrity : public EchoingHost {};
class AbuseAvailability : public EchoingHost {};

TEST_F(AbuseLogIntegrity, PasswordSentBackByTheHostShowsNowhere) {
    // Sent back whole, and once more cut in the middle of the password.
    QObject::connect(&host, &plx::sim::ScriptedHost::signOnReceived, [this] {
        host.write(QByteArray("QUSER\t") + kPasswordStart);
        host.write(QByteArray(kPassword).mid(sizeof kPasswordStart - 1) + "\r");
    });
    ASSERT_TRUE(echoesLogged(2)) << logEnd();
    EXPECT_GE(log().count("********%13%"), 2) << logEnd();
    const QByteArray answer = events();
    EXPECT_TRUE(answer.contains("QUSER%9%********%13%")) << answer.right(2000).toStdString();
    for (const QByteArray& seen : {log(), answer, gateway->errors()}) {
        EXPECT_FALSE(seen.contains(kPasswordStart)) << logEnd();
    }
}

TEST_F(AbuseAvailability, HostSendingBackTheNegotiationCannotKeepItGoing) {
    ASSERT_TRUE(echoesLogged(1)) << logEnd();
    // Our WILL sent back is refused (the terminal type is the client's), our refusal sent
    // back switches the option off, and the rest sent back asks for nothing new. Then the
    // sign-on, and nothing more.
    // IAC WILL 24, IAC DONT 24, IAC SB 24 IS "VT100" IAC SE, IAC WONT 24.
    const QByteArray replies("\xff\xfb\x18\xff\xfe\x18\xff\xfa\x18\x00VT100\xff\xf0\xff\xfc\x18",
                             20);
    const QByteArray signOn = QByteArray("QUSER\t") + kPassword + "\r";
    EXPECT_EQ(host.received().size(), replies.size() + signOn.size());
    EXPECT_EQ(host.received(), replies + signOn);
    EXPECT_LT(log().size(), 4096) << logEnd();  // a few lines
    host.write("<000142420>");
    EXPECT_TRUE(waitFor([this] { return wall.received().size() >= 2; }));  // sent twice
    EXPECT_TRUE(gateway->running());
}

}  // namespace
