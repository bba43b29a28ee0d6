// The display path on the real platform: loopback sockets play the LED terminals and
// receive exactly what the gateway sends them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/f_main.h"
#include "gateway/gateway.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "support/qt_test_platform.h"
#include "integration/platform_qt_test_support.h"

namespace plx {
namespace {

using qtp::testing::application;

constexpr int kWaitLimitMs = 5000;  // bound for loopback delivery; never reached when healthy
constexpr quint16 kTerminalPort = 1024;

// One LED terminal: a socket on its own loopback address, port 1024.
struct Terminal {
    explicit Terminal(const QString& address) {
        bound = socket.bind(QHostAddress(address), kTerminalPort);
    }
    // Every datagram waiting now.
    void drain() {
        while (socket.hasPendingDatagrams()) {
            received.push_back(socket.receiveDatagram().data().toStdString());
        }
    }
    QUdpSocket socket;
    bool bound = false;
    std::vector<std::string> received;
};

class DisplayUdp : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        // Three listed terminals, listed out of address order; the fourth is not listed.
        writeFile("Products.cfg",
                  "0003,,127.0.10.23,third\r\n0001,,127.0.10.21,first\r\n"
                  "0002,,127.0.10.22,second\r\n");
        // The host link stays on loopback, on a port where no host answers.
        writeFile("SERVER_AS400.cfg", "127.0.0.1\r\n9\r\n\r\n\r\n0\r\n");
        for (const char* address : {"127.0.10.21", "127.0.10.22", "127.0.10.23", "127.0.10.24"}) {
            terminals.push_back(std::make_unique<Terminal>(address));
            ASSERT_TRUE(terminals.back()->bound) << address;
        }
        platform = std::make_unique<qtp::testing::QtTestPlatform>();
        gateway = std::make_unique<Gateway>(*platform);
        gateway->start();
        gateway->events().LST_EVENTS.clear();
    }

    void TearDown() override {
        gateway.reset();
        platform.reset();
        QDir::setCurrent(previous);
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // Waits until each terminal holds the given number of datagrams; then a marker from
    // the test itself shows that nothing more was on its way to any terminal.
    void receive(const std::vector<std::size_t>& expected) {
        QDeadlineTimer deadline(kWaitLimitMs);
        const auto complete = [&] {
            for (std::size_t i = 0; i < terminals.size(); ++i) {
                terminals[i]->drain();
                if (terminals[i]->received.size() < expected[i]) return false;
            }
            return true;
        };
        while (!complete() && !deadline.hasExpired()) QApplication::processEvents();
        QUdpSocket marker;
        for (auto& terminal : terminals) {
            marker.writeDatagram("marker", 6, terminal->socket.localAddress(), kTerminalPort);
        }
        for (auto& terminal : terminals) {
            while (terminal->received.empty() || terminal->received.back() != "marker") {
                if (deadline.hasExpired()) break;
                terminal->socket.waitForReadyRead(50);
                terminal->drain();
            }
            ASSERT_FALSE(terminal->received.empty());
            EXPECT_EQ(terminal->received.back(), "marker");
            terminal->received.pop_back();
        }
    }

    std::vector<std::string> cmdSources() {
        std::vector<std::string> sources;
        const ListBox& lines = gateway->events().LST_EVENTS;
        for (int row = 0; row < lines.count(); ++row) {
            const std::string& line = lines.text(row);
            if (line.compare(8, 5, " CMD:") == 0) sources.push_back(line.substr(13, 4));
        }
        return sources;
    }

    QTemporaryDir folder;
    QString previous;
    std::vector<std::unique_ptr<Terminal>> terminals;
    std::unique_ptr<qtp::testing::QtTestPlatform> platform;
    std::unique_ptr<Gateway> gateway;
};

std::string frameOf(const std::string& value, const std::string& attributes) {
    return "\xFE\xF8\x08\x02><F" + value + "  " + attributes + "\x03";
}

TEST_F(DisplayUdp, AHostCommandReachesOnlyItsTerminalTwice) {
    gateway->as400().GEST_CMD("000212340");
    receive({0, 2, 0, 0});
    const std::string frame = frameOf("1234", "110000");  // colour 0 of the default file
    EXPECT_EQ(terminals[1]->received, (std::vector<std::string>{frame, frame}));
    for (const std::size_t other : {0u, 2u, 3u}) EXPECT_TRUE(terminals[other]->received.empty());
}

TEST_F(DisplayUdp, SynchronizePutsDashesOnEveryListedTerminalInListOrder) {
    gateway->main().B_SYNCHRONIZE_Click();
    receive({2, 2, 2, 0});
    const std::string dashes = frameOf("----", "110000");
    for (std::size_t listed = 0; listed < 3; ++listed) {
        EXPECT_EQ(terminals[listed]->received, (std::vector<std::string>{dashes, dashes}));
    }
    EXPECT_TRUE(terminals[3]->received.empty());
    EXPECT_EQ(cmdSources(), (std::vector<std::string>{"0003", "0001", "0002"}));
}

}  // namespace
}  // namespace plx
