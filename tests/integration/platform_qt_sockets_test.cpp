// The Qt platform's sockets, event loop, name lookup, clock and private folder, on loopback.
#include <gtest/gtest.h>

#include <QDate>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/qt/qt_platform.h"
#include "support/qt_integration.h"
#include "terminal_wall.h"

namespace plx::qtp {
namespace {

using testing::application;
using testing::waitFor;
using Events = std::vector<std::string>;

// The fault suite sees every datagram and host byte of the real gateway; here what it does
// not: the address rules of the sockets and the events of a link the supervision closes.
TEST(PlatformQtUdp, DottedAddressesOnlyTheirPartsDecimalAloneAndInBatches) {
    application();
    sim::TerminalWall wall;  // a terminal on a loopback address of its own
    const QString terminal = wall.addFreeTerminal(1);
    ASSERT_FALSE(terminal.isEmpty()) << "every terminal address is taken";
    const std::string address = terminal.toStdString();
    QtPlatform platform;
    auto socket = platform.createUdpSocket();
    using Outcomes = std::vector<DatagramOutcome>;
    const auto send = [&socket](const std::vector<OutgoingDatagram>& datagrams) {
        Outcomes outcomes(datagrams.size());
        EXPECT_EQ(socket->send(datagrams, outcomes), datagrams.size());
        return outcomes;
    };
    constexpr auto kLeft = DatagramOutcome::Left;
    constexpr auto kBadAddress = DatagramOutcome::BadAddress;
    // Read as octal, "127.000.010.001" would send to 127.0.8.1.
    const std::string padded =
        QStringLiteral("127.000.010.%1").arg(terminal.section('.', 3), 3, '0').toStdString();
    ASSERT_EQ(send({{padded, 1024, std::string_view("\xff\x00x", 3)}}), Outcomes{kLeft});
    for (const char* bad : {"", "localhost", "127.0.10", "127.0.10.256", " 127.0.10.1", "::1"})
        EXPECT_EQ(send({{bad, 1024, "x"}}), Outcomes{kBadAddress}) << bad;
    // In a batch, each as alone: a name is refused, the system refuses port 0 (in the middle
    // of its call), and the others still go, in their order.
    EXPECT_EQ(send({{address, 1024, "1"},
                    {"localhost", 1024, "-"},
                    {address, 0, "-"},
                    {address, 1024, "2"}}),
              (Outcomes{kLeft, kBadAddress, kBadAddress, kLeft}));
    // The last one, alone after the batch: on loopback one socket's datagrams come in order,
    // so nothing else of the batch came when it comes next.
    ASSERT_EQ(send({{address, 1024, "last"}}), Outcomes{kLeft});
    ASSERT_TRUE(waitFor([&] { return wall.received().size() >= 4; }));
    QByteArrayList received;
    for (const auto& datagram : wall.received()) received.append(datagram.bytes);
    EXPECT_EQ(received, (QByteArrayList{QByteArray("\xff\x00x", 3), "1", "2", "last"}));
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
            EXPECT_FALSE(description.empty());
        };
    }
    // Connects and returns the host's end of the connection.
    QTcpSocket* connectToHost(const std::string& address = "127.0.0.1") {
        client->connectTo(address, server.serverPort(), {});
        EXPECT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
        QTcpSocket* host = server.nextPendingConnection();
        EXPECT_TRUE(waitFor([&] { return !events.empty(); }));
        EXPECT_EQ(events, Events{"connect"});
        events.clear();
        return host;
    }
    // What came once every event on its way has arrived.
    Events settled() {
        EXPECT_TRUE(testing::settle());
        return events;
    }

    QtPlatform platform;
    QTcpServer server;
    std::unique_ptr<TcpClientPort> client;
    Events events;
    std::string received;
};

TEST_F(PlatformQtTcp, APeerCloseIsACloseAfterTheLastBytesAndLeavesTheSocketToBeClosed) {
    QTcpSocket* host = connectToHost("127.000.000.001");  // decimal parts, leading zeros and all
    host->write("bye");
    host->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return !events.empty() && events.back() == "close"; }));
    EXPECT_EQ(settled(), (Events{"data", "close"}));
    EXPECT_EQ(received, "bye");
    EXPECT_EQ(client->state(), TcpClientPort::State::Closing);
    EXPECT_FALSE(client->send("x"));
    client->close();
    EXPECT_EQ(client->state(), TcpClientPort::State::Closed);
}

TEST_F(PlatformQtTcp, OurOwnCloseAndAReconnectReportNothingOfTheOldLink) {
    QTcpSocket* host = connectToHost();
    client->close();
    host->write("late");
    host->disconnectFromHost();
    // Written and closed: whatever the client's end makes of it is on its way.
    ASSERT_TRUE(waitFor([&] { return host->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(settled().empty());
    EXPECT_EQ(client->readAll(), "");

    QTcpSocket* first = connectToHost();
    QTcpSocket* second = connectToHost();  // connectTo on an open link replaces it
    ASSERT_TRUE(waitFor([&] { return first->state() == QAbstractSocket::UnconnectedState; }));
    second->write("2");
    ASSERT_TRUE(waitFor([&] { return received == "2"; }));
    EXPECT_EQ(settled(), Events{"data"}) << "the old link closes silently";

    // Closed inside a handler: the events already queued for that link are dropped.
    events.clear();
    client->onDataArrival = [this] {
        events.push_back("data");
        client->close();
    };
    second->write("last words");
    second->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return !events.empty(); }));
    ASSERT_TRUE(waitFor([&] { return second->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(settled(), Events{"data"});
}

TEST_F(PlatformQtTcp, PumpsAMomentApartRunTheHostsData) {
    QTcpSocket* host = connectToHost();
    host->write("more");
    ASSERT_TRUE(host->flush());
    for (int pump = 0; pump < 10 && events.empty(); ++pump) {
        QTest::qSleep(2);  // past the pause between two looks; the event loop is not run
        platform.processPendingEvents();
    }
    EXPECT_EQ(events, Events{"data"});
}

TEST(PlatformQtLoop, PostedTasksNamesClockAndPrivateFolder) {
    application();
    QtPlatform platform;
    std::vector<int> order;
    platform.processPendingEvents();  // a look just now: our tasks still run at the next pump
    platform.post([&] { order.push_back(1); });
    platform.post([&] { order.push_back(2); });
    order.push_back(0);
    platform.processPendingEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    bool ran = false;
    {
        QtPlatform shortLived;  // tasks still queued are dropped with their platform
        shortLived.post([&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);

    EXPECT_EQ(platform.lookupIPv4("localhost"), (std::array<std::uint8_t, 4>{127, 0, 0, 1}));
    EXPECT_EQ(platform.lookupIPv4(""), std::nullopt);
    EXPECT_EQ(platform.now().dateText(), QDate::currentDate().toString("dd-MM-yyyy").toStdString());
    const QFileInfo folder(QString::fromStdString(platform.privateFolder()));
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());
}

}  // namespace
}  // namespace plx::qtp
