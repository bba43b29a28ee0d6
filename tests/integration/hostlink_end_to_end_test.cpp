// The gateway program against our scripted AS/400 and a wall of terminals, all on
// loopback: negotiation, sign-on, frames to datagrams, reconnection and retries.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "integration/platform_qt_test_support.h"
#include "scripted_host.h"
#include "terminal_wall.h"

namespace {

using plx::sim::ScriptedHost;
using plx::sim::TerminalWall;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray text;
    for (const int value : values) text.append(static_cast<char>(value));
    return text;
}

// Start-up connects with the loaded settings at the first connection tick (5 s); the
// sign-on follows 3 s after the connection.
constexpr int kFirstConnectMs = 12000;
constexpr int kSignOnMs = 6000;
// A new connection is made 5 to 10 s after a loss; a little margin for a busy machine.
constexpr qint64 kReconnectMinMs = 4500;
constexpr qint64 kReconnectMaxMs = 11500;

class HostlinkEndToEnd : public ::testing::Test {
protected:
    HostlinkEndToEnd() : application_(argc_, argv_) {}

    ~HostlinkEndToEnd() override {
        if (gateway_.state() == QProcess::NotRunning) return;
        gateway_.terminate();  // the gateway's own shut-down
        if (!gateway_.waitForFinished(5000)) {
            gateway_.kill();
            gateway_.waitForFinished(5000);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(host_.listen());
        ASSERT_TRUE(wall_.addTerminal(QStringLiteral("127.0.10.1")));
        ASSERT_TRUE(wall_.addTerminal(QStringLiteral("127.0.10.2")));
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(QDir(folder_.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void startGateway() {
        writeFile("Products.cfg", "0001,,127.0.10.1,Line 1\r\n0002,,127.0.10.2,Line 2\r\n");
        writeFile("SERVER_AS400.cfg", "127.0.0.1\r\n" + QByteArray::number(host_.port()) +
                                          "\r\n pw \r\n user \r\n 1\r\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        gateway_.setProcessEnvironment(environment);
        gateway_.setWorkingDirectory(folder_.path());
        gateway_.start(QStringLiteral(PLX_EXECUTABLE), {});
        ASSERT_TRUE(gateway_.waitForStarted(5000));
    }

    // Today's log file of the gateway, empty until it exists.
    QByteArray logFile() { return plx::qtp::testing::dailyLogs(folder_.path()); }

    int argc_ = 1;
    char name_[16] = "hostlink_e2e";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
    QTemporaryDir folder_;
    ScriptedHost host_;
    TerminalWall wall_;
    QProcess gateway_;
};

TEST_F(HostlinkEndToEnd, NegotiatesSignsOnAndTurnsHostFramesIntoDatagrams) {
    // The second frame is cut in two by the transport.
    const QByteArray screen =
        "\x1b[2J\x1b[1;1HMENU\r\n\x1b[5;10H<000112340>\x1b[6;10H<0002567"
        "81>\r\n\x1b[0m";
    host_.setScreenAfterSignOn(screen);
    host_.setSplitPositions({screen.indexOf("81>"), screen.indexOf("<0001") + 2});
    startGateway();

    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.connectionCount() > 0; }, kFirstConnectMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.signOn().isEmpty(); }, kSignOnMs));
    EXPECT_EQ(host_.terminalType(), "VT100");
    EXPECT_EQ(host_.signOn(), "user\tpw\r");
    // Exactly these bytes, in this order: WILL TERMINAL-TYPE, the terminal type, the sign-on.
    EXPECT_EQ(host_.received(), bytes({255, 251, 24}) +
                                    bytes({255, 250, 24, 0, 'V', 'T', '1', '0', '0', 255, 240}) +
                                    "user\tpw\r");

    ASSERT_TRUE(QTest::qWaitFor([&] { return wall_.received().size() >= 4; }, 5000));
    const QByteArray shows1234 =
        bytes({0xFE, 0xF8, 0x08, 0x02, 0x3E, 0x3C, 0x46, 0x31, 0x32, 0x33,
               0x34, 0x20, 0x20, 0x31, 0x31, 0x30, 0x30, 0x30, 0x30, 0x03});
    const QByteArray shows5678 =
        bytes({0xFE, 0xF8, 0x08, 0x02, 0x3E, 0x3C, 0x46, 0x35, 0x36, 0x37,
               0x38, 0x20, 0x20, 0x30, 0x30, 0x31, 0x31, 0x30, 0x30, 0x03});
    const auto& received = wall_.received();
    ASSERT_EQ(received.size(), 4u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(received[i].address, "127.0.10.1");
        EXPECT_EQ(received[i].bytes, shows1234);
        EXPECT_EQ(received[i + 2].address, "127.0.10.2");
        EXPECT_EQ(received[i + 2].bytes, shows5678);
    }
}

TEST_F(HostlinkEndToEnd, ConnectsAgainFiveToTenSecondsAfterTheHostCloses) {
    startGateway();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.connectionCount() == 1; }, kFirstConnectMs));
    QElapsedTimer sinceClose;
    host_.closeConnection();
    sinceClose.start();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return host_.connectionCount() == 2; }, kReconnectMaxMs + 1000));
    EXPECT_GE(sinceClose.elapsed(), kReconnectMinMs);
    EXPECT_LE(sinceClose.elapsed(), kReconnectMaxMs);
}

TEST_F(HostlinkEndToEnd, RefusedConnectionIsRetriedAtTheNextTick) {
    host_.refuse();
    startGateway();
    const QByteArray refused = "Status:Server [127.0.0.1],Error: ";
    ASSERT_TRUE(QTest::qWaitFor([&] { return logFile().contains(refused); }, kFirstConnectMs));
    EXPECT_EQ(gateway_.state(), QProcess::Running);
    ASSERT_TRUE(host_.listen(host_.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.connectionCount() == 1; }, 7000));
}

}  // namespace
