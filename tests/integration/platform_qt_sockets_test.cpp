// The Qt platform's sockets, timers and event loop on loopback.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include "integration/platform_qt_test_support.h"
#include "platform/qt/qt_platform.h"

namespace plx::qtp {
namespace {

using testing::application;
using testing::waitFor;

// A simulated terminal: its own loopback address, listening on the terminals' UDP port.
constexpr const char* kTerminalAddress = "127.0.10.1";
constexpr quint16 kTerminalPort = 1024;

class PlatformQtUdp : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(
            receiver.bind(QHostAddress(QString::fromLatin1(kTerminalAddress)), kTerminalPort))
            << receiver.errorString().toStdString();
    }
    std::vector<QByteArray> received() {
        std::vector<QByteArray> datagrams;
        while (receiver.hasPendingDatagrams())
            datagrams.push_back(receiver.receiveDatagram().data());
        return datagrams;
    }
    QtPlatform platform;
    QUdpSocket receiver;
};

TEST_F(PlatformQtUdp, DatagramArrivesWithExactlyItsBytes) {
    auto socket = platform.createUdpSocket();
    // Every byte value a terminal frame may hold, NUL and 0xFF included.
    std::string frame(20, '\0');
    for (int i = 0; i < 20; ++i) frame[i] = static_cast<char>(i * 13 + (i == 19 ? 0xF0 : 0));
    frame[0] = '\0';
    frame[1] = '\xff';
    ASSERT_TRUE(socket->sendDatagram(kTerminalAddress, kTerminalPort, frame));
    ASSERT_TRUE(socket->sendDatagram(kTerminalAddress, kTerminalPort, frame));
    std::vector<QByteArray> datagrams;
    ASSERT_TRUE(waitFor([&] {
        for (auto& d : received()) datagrams.push_back(d);
        return datagrams.size() >= 2;
    }));
    ASSERT_EQ(datagrams.size(), 2u);
    for (const auto& datagram : datagrams) {
        EXPECT_EQ(std::string(datagram.constData(), static_cast<std::size_t>(datagram.size())),
                  frame);
    }
}

TEST_F(PlatformQtUdp, DottedPartsAreDecimalEvenWithLeadingZeros) {
    // Read as octal, "010" would be 8 and the datagram would go to 127.0.8.1.
    auto socket = platform.createUdpSocket();
    ASSERT_TRUE(socket->sendDatagram("127.000.010.001", kTerminalPort, "x"));
    ASSERT_TRUE(waitFor([&] { return receiver.hasPendingDatagrams(); }));
    EXPECT_EQ(receiver.receiveDatagram().data(), QByteArray("x"));
}

TEST_F(PlatformQtUdp, AnythingButADottedAddressIsRefusedWithoutSending) {
    auto socket = platform.createUdpSocket();
    for (const char* address : {"", "localhost", "127.0.10", "127.0.10.1.1", "127.0.10.256",
                                " 127.0.10.1", "127.0.10.1 ", "::1", "127.0.10.x"}) {
        EXPECT_FALSE(socket->sendDatagram(address, kTerminalPort, "x")) << address;
    }
    QTest::qWait(50);
    EXPECT_TRUE(received().empty());
}

// The host side of a telnet connection, on loopback.
class PlatformQtTcp : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        client = platform.createTcpClient();
        client->onConnect = [this] { events.push_back("connect"); };
        client->onDataArrival = [this] {
            events.push_back("data");
            received += client->readAll();
        };
        client->onClose = [this] { events.push_back("close"); };
        client->onError = [this](const std::string& description) {
            events.push_back("error");
            errorDescription = description;
        };
    }
    std::uint16_t port() const { return server.serverPort(); }
    // Connects and returns the host's end of the connection. The address's parts are read
    // as decimal: as octal, "000.001" would still be 0.1, but "010" would be 8.
    QTcpSocket* connectToHost(const std::string& address = "127.0.0.1") {
        client->connectTo(address, port());
        EXPECT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
        QTcpSocket* host = server.nextPendingConnection();
        EXPECT_TRUE(waitFor([&] { return !events.empty(); }));
        EXPECT_EQ(events, std::vector<std::string>{"connect"});
        events.clear();
        return host;
    }

    QtPlatform platform;
    QTcpServer server;
    std::unique_ptr<TcpClientPort> client;
    std::vector<std::string> events;
    std::string received;
    std::string errorDescription;
};

TEST_F(PlatformQtTcp, RefusedConnectionIsAnErrorAndStaysNotClosedUntilClosed) {
    const std::uint16_t freePort = port();
    server.close();  // nothing listens there any more
    client->connectTo("127.0.0.1", freePort);
    EXPECT_TRUE(events.empty()) << "no event from inside the call";
    ASSERT_TRUE(waitFor([&] { return !events.empty(); }));
    QTest::qWait(50);
    EXPECT_EQ(events, std::vector<std::string>{"error"});
    EXPECT_FALSE(errorDescription.empty());
    EXPECT_EQ(client->state(), TcpClientPort::State::Closing);
    client->close();
    EXPECT_EQ(client->state(), TcpClientPort::State::Closed);
}

TEST_F(PlatformQtTcp, BytesGoBothWaysUnchanged) {
    QTcpSocket* host = connectToHost("127.000.000.001");
    EXPECT_EQ(client->state(), TcpClientPort::State::Connected);
    const std::string negotiation("\xff\xfd\x18\xff\xfb\x01\x00<000112340>", 17);
    host->write(negotiation.data(), static_cast<qint64>(negotiation.size()));
    ASSERT_TRUE(waitFor([&] { return received.size() >= negotiation.size(); }));
    EXPECT_EQ(received, negotiation);
    EXPECT_FALSE(client->hasPendingData());

    const std::string reply("\xff\xfb\x18\xff\xfe\x01", 6);
    ASSERT_TRUE(client->send(reply));
    QByteArray atHost;
    ASSERT_TRUE(waitFor([&] {
        atHost += host->readAll();
        return atHost.size() >= 6;
    }));
    EXPECT_EQ(std::string(atHost.constData(), 6), reply);
}

TEST_F(PlatformQtTcp, PeerCloseIsACloseNotAnErrorAndLastBytesComeFirst) {
    QTcpSocket* host = connectToHost();
    host->write("bye");
    host->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return !events.empty() && events.back() == "close"; }));
    QTest::qWait(50);
    EXPECT_EQ(events, (std::vector<std::string>{"data", "close"}));
    EXPECT_EQ(received, "bye");
    // Not closed until the supervision closes it itself.
    EXPECT_EQ(client->state(), TcpClientPort::State::Closing);
    EXPECT_FALSE(client->send("x"));
    client->close();
    EXPECT_EQ(client->state(), TcpClientPort::State::Closed);
}

TEST_F(PlatformQtTcp, OurOwnCloseReportsNothing) {
    QTcpSocket* host = connectToHost();
    client->close();
    EXPECT_EQ(client->state(), TcpClientPort::State::Closed);
    host->write("late");
    host->disconnectFromHost();
    QTest::qWait(100);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(client->hasPendingData());
    EXPECT_EQ(client->readAll(), "");
}

TEST_F(PlatformQtTcp, CloseInsideAHandlerDropsTheEventsAlreadyQueued) {
    QTcpSocket* host = connectToHost();
    client->onDataArrival = [this] {
        events.push_back("data");
        client->close();
    };
    // Bytes and the peer's close together: both events may be queued before the first runs.
    host->write("last words");
    host->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return !events.empty(); }));
    QTest::qWait(100);
    EXPECT_EQ(events, std::vector<std::string>{"data"});
    EXPECT_EQ(client->state(), TcpClientPort::State::Closed);
}

TEST_F(PlatformQtTcp, ReconnectingStartsAFreshConnection) {
    QTcpSocket* first = connectToHost();
    QTcpSocket* second = connectToHost();  // connectTo on an open link replaces it
    ASSERT_TRUE(waitFor([&] { return first->state() == QAbstractSocket::UnconnectedState; }));
    second->write("2");
    ASSERT_TRUE(waitFor([&] { return received == "2"; }));
    QTest::qWait(50);
    EXPECT_EQ(events, std::vector<std::string>{"data"}) << "the old link closes silently";
}

TEST_F(PlatformQtTcp, SendWithoutConnectionFails) {
    EXPECT_FALSE(client->send("x"));
    client->connectTo("127.0.0.1", port());
    EXPECT_FALSE(client->send("x")) << "still connecting";
}

class PlatformQtLoop : public ::testing::Test {
  protected:
    void SetUp() override { application(); }
    QtPlatform platform;
};

TEST_F(PlatformQtLoop, PostedTasksRunAfterTheCallerInOrder) {
    std::vector<int> order;
    platform.post([&] { order.push_back(1); });
    platform.post([&] { order.push_back(2); });
    order.push_back(0);
    platform.processPendingEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST_F(PlatformQtLoop, TasksStillQueuedAreDroppedWithThePlatform) {
    bool ran = false;
    {
        QtPlatform shortLived;
        shortLived.post([&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

TEST_F(PlatformQtLoop, LooksUpLocalNamesAndTellsTheClock) {
    EXPECT_EQ(platform.lookupIPv4("localhost"), (std::array<std::uint8_t, 4>{127, 0, 0, 1}));
    EXPECT_EQ(platform.lookupIPv4("127.0.10.7"), (std::array<std::uint8_t, 4>{127, 0, 10, 7}));
    EXPECT_EQ(platform.lookupIPv4(""), std::nullopt);
    const LocalTime now = platform.now();
    EXPECT_GE(now.year, 2024);
    EXPECT_EQ(now.dateText(), QDate::currentDate().toString("dd-MM-yyyy").toStdString());
}

TEST_F(PlatformQtLoop, PrivateFolderIsOwnerOnly) {
    const std::string folder = platform.privateFolder();
    ASSERT_FALSE(folder.empty());
    const QFileInfo info(QString::fromStdString(folder));
    EXPECT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());
}

}  // namespace
}  // namespace plx::qtp
