// The simulated AS/400 on loopback, met by a client that talks as the gateway does:
// terminal type negotiation, the sign-on check, screens with frames, drop and silence.
#include "host/host_session.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTest>

#include "host/host_screens.h"
#include "host/vt100_screen.h"

namespace {

using namespace plx::sim;

constexpr int kWaitMs = 5000;    // generous: only a failure waits this long
constexpr int kIntervalMs = 40;  // screens come fast in the test
constexpr int kQuietSteps = 5;   // intervals waited to see that nothing comes

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray text;
    for (const int value : values) text.append(static_cast<char>(value));
    return text;
}

// The host's output without its telnet commands: what a VT100 would paint.
QByteArray withoutTelnet(const QByteArray& stream) {
    QByteArray text;
    for (qsizetype i = 0; i < stream.size(); ++i) {
        if (static_cast<unsigned char>(stream[i]) != 255) {
            text.append(stream[i]);
        } else if (i + 1 < stream.size() && static_cast<unsigned char>(stream[i + 1]) == 250) {
            i = stream.indexOf(bytes({255, 240}), i);  // sub-negotiation up to IAC SE
            if (i < 0) break;
            ++i;
        } else {
            i += 2;  // IAC, command, option
        }
    }
    return text;
}

class HostSessionOnLoopback : public ::testing::Test {
  protected:
    HostSessionOnLoopback() : application_(argc_, argv_), session_(settings()) {}

    static HostSession::Settings settings() {
        HostSession::Settings settings;
        settings.user = "DEMO";
        settings.password = "PLX400";
        settings.intervalMs = kIntervalMs;
        return settings;
    }

    void SetUp() override {
        ASSERT_TRUE(session_.listen(QHostAddress(QHostAddress::LocalHost), 0));
        QObject::connect(&session_, &HostSession::painted,
                         [this](const QByteArray&, const std::vector<HostFrame>& f) {
                             painted_.insert(painted_.end(), f.begin(), f.end());
                         });
        QObject::connect(&gateway_, &QTcpSocket::readyRead,
                         [this] { received_.append(gateway_.readAll()); });
        gateway_.connectToHost(QHostAddress(QHostAddress::LocalHost), session_.host().port());
        ASSERT_TRUE(gateway_.waitForConnected(kWaitMs));
    }

    bool waitFor(const QByteArray& text) {
        return QTest::qWaitFor([&] { return received_.contains(text); }, kWaitMs);
    }

    // The gateway's side of the negotiation, then the blind sign-on.
    void negotiateAndSignOn(const QByteArray& typed) {
        ASSERT_TRUE(waitFor(bytes({255, 253, 24})));
        gateway_.write(bytes({255, 251, 24}));
        ASSERT_TRUE(waitFor(bytes({255, 250, 24, 1, 255, 240})));
        gateway_.write(bytes({255, 250, 24, 0}) + "VT100" + bytes({255, 240}));
        ASSERT_TRUE(waitFor("Sign On"));
        gateway_.write(typed);
    }

    QStringList screen() const {
        Vt100Screen vt100;
        vt100.feed(withoutTelnet(received_));
        return vt100.rows();
    }

    int argc_ = 1;
    char name_[16] = "host_session";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
    HostSession session_;
    QTcpSocket gateway_;
    QByteArray received_;
    std::vector<HostFrame> painted_;
};

TEST_F(HostSessionOnLoopback, WrongPasswordIsToldOnTheScreenAndGetsNoFrames) {
    negotiateAndSignOn("DEMO\tWRONG\r");
    ASSERT_TRUE(waitFor(kSignOnRefused));
    EXPECT_EQ(session_.state(), HostSession::State::Refused);
    EXPECT_EQ(screen().last(), kSignOnRefused);
    QTest::qWait(kQuietSteps * kIntervalMs);
    EXPECT_FALSE(received_.contains('<'));
    EXPECT_TRUE(painted_.empty());
    EXPECT_EQ(session_.step(), 0);
}

TEST_F(HostSessionOnLoopback, RightSignOnGetsScreensCarryingTheFramesSaid) {
    negotiateAndSignOn("DEMO\tPLX400\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return session_.step() >= 3; }, kWaitMs));
    EXPECT_EQ(session_.state(), HostSession::State::Running);
    // Every frame said went out, in order, once the last screen has arrived.
    QByteArray said;
    for (const HostFrame& frame : painted_) said += '<' + frame.command + '>';
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QByteArray sent;
            const QByteArray text = withoutTelnet(received_);
            for (qsizetype at = text.indexOf('<'); at >= 0; at = text.indexOf('<', at + 1)) {
                sent += text.mid(at, 11);
            }
            return sent.startsWith(said);
        },
        kWaitMs));
    EXPECT_TRUE(screen().first().contains("PLANT DISPLAY CONTROL"));
}

TEST_F(HostSessionOnLoopback, SilenceStopsTheScreensAndDropClosesTheLine) {
    negotiateAndSignOn("DEMO\tPLX400\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return session_.step() >= 1; }, kWaitMs));
    session_.goSilent();
    const int stepWhenSilent = session_.step();
    QTest::qWait(kQuietSteps * kIntervalMs);
    EXPECT_EQ(session_.step(), stepWhenSilent);
    EXPECT_EQ(gateway_.state(), QAbstractSocket::ConnectedState);

    session_.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session_.step() > stepWhenSilent; }, kWaitMs));

    session_.dropLine();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return gateway_.state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return session_.state() == HostSession::State::Listening; },
                                kWaitMs));
}

}  // namespace
