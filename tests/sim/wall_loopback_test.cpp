// The wall on real loopback sockets: what is sent to a terminal's port 1024 is decoded and
// reported, and a terminal that cannot listen is shown as such.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QTest>
#include <QUdpSocket>
#include <algorithm>
#include <string>
#include <vector>

#include "wall_listener.h"
#include "wall_model.h"

namespace plx::wall {
namespace {

// Addresses of their own, so other loopback tests running at the same time do not meet them.
const char* const kFirst = "127.0.10.231";
const char* const kSecond = "127.0.10.232";
const char* const kTaken = "127.0.10.233";
constexpr int kWaitBoundMs = 5000;

// The event loop of one test, gone with it, so each test of this program has its own.
class Application {
  public:
    Application() : application_(argc_, argv_) {}

  private:
    int argc_ = 1;
    char name_[14] = "plx-wall-test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
};

void send(const char* address, const QByteArray& bytes) {
    QUdpSocket sender;
    ASSERT_EQ(sender.writeDatagram(bytes, QHostAddress(address), WallListener::kTerminalPort),
              bytes.size());
}

TEST(WallLoopback, DatagramsAreDecodedAndReported) {
    const Application application;
    QUdpSocket holder;  // another program already on this terminal's port
    ASSERT_TRUE(holder.bind(QHostAddress(kTaken), WallListener::kTerminalPort,
                            QAbstractSocket::DontShareAddress));

    WallModel model(
        {{"0001", kFirst}, {"0002", kSecond}, {"0003", kTaken}, {"0004", "plant-office"}});
    std::vector<std::string> lines;
    WallListener listener(model, [&lines](const std::string& line) { lines.push_back(line); });
    listener.open();
    ASSERT_EQ(model.terminals()[0].binding, Binding::Listening);
    ASSERT_EQ(model.terminals()[1].binding, Binding::Listening);
    EXPECT_EQ(model.terminals()[2].binding, Binding::Failed);
    EXPECT_EQ(model.terminals()[2].bindError, "port 1024 in use");
    EXPECT_EQ(model.terminals()[3].binding, Binding::Refused);

    const QByteArray frame = QByteArray::fromHex("FEF808023E3C4631323334202031313030303003");
    send(kFirst, frame);
    send(kSecond, frame.left(19));
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.size() >= 2; }, kWaitBoundMs));

    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"frame 0001 127.0.10.231 1234 110000",
                                               "malformed 127.0.10.232 19"}));
    EXPECT_EQ(model.terminals()[0].shown.value, "1234");
    EXPECT_EQ(model.malformed(), 1u);
}

}  // namespace
}  // namespace plx::wall
