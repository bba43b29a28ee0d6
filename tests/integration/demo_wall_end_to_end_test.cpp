// The demo's three programs together, headless, on loopback: our AS/400 simulator signs
// the gateway on and commands values, the gateway sends them, and the LED terminal wall
// shows exactly what the simulator commanded, broadcasts included.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <set>

#include "headless_program.h"
#include "integration/platform_qt_test_support.h"

namespace {

constexpr int kTerminals = 12;
// Terminal n listens on 127.0.10.(kFirstHost + n): away from the addresses that other
// tests take, so this one can run beside them.
constexpr int kFirstHost = 181;
// The gateway connects at its second connection tick (within 10 s) and signs on 3 s later.
constexpr int kFirstFramesMs = 20000;
// At a screen every 250 ms a broadcast (every 10th screen) comes every 2.5 s; a loaded
// machine gets a few of them.
constexpr int kScreensMs = 20000;

// The default colour file: colour character -> the four attribute digits it gives.
const std::map<char, QByteArray> kDefaultPatterns = {
    {'0', "1100"}, {'1', "0011"}, {'2', "1111"}, {'3', "0000"}, {'4', "6666"}, {'5', "1144"},
    {'6', "1155"}, {'7', "1166"}, {'8', "4411"}, {'9', "5511"}, {'A', "6611"}};

QString program(const char* name) {
    return QFileInfo(QStringLiteral(PLX_EXECUTABLE)).absoluteDir().filePath(name);
}

using Program = plx::sim::HeadlessProgram;

class DemoEndToEnd : public ::testing::Test {
  protected:
    DemoEndToEnd() : application_(argc_, argv_) {}

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QFileInfo::exists(program("plyxen400-as400-sim")));
        ASSERT_TRUE(QFileInfo::exists(program("plyxen400-terminal-wall")));
    }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(QDir(folder_.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray logFile() { return plx::qtp::testing::dailyLogs(folder_.path()); }

    int argc_ = 1;
    char name_[16] = "demo_e2e";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
    QTemporaryDir folder_;
};

TEST_F(DemoEndToEnd, WallShowsWhatTheSimulatorCommanded) {
    Program simulator(program("plyxen400-as400-sim"), folder_.path(),
                      {"--headless", "--port", "0", "--interval", "250", "--user", "DEMO",
                       "--password", "PLX400"});
    ASSERT_TRUE(simulator.started());
    const QRegularExpression listening("Listening on 127\\.0\\.0\\.1:(\\d+)");
    QString port;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const QString& line : simulator.lines()) {
                const auto match = listening.match(line);
                if (match.hasMatch()) port = match.captured(1);
            }
            return !port.isEmpty();
        },
        Program::kBoundMs));

    QByteArray products;
    for (int number = 0; number < kTerminals; ++number) {
        products += QStringLiteral("%1,,127.0.10.%2,Line %3\r\n")
                        .arg(number, 4, 10, QChar('0'))
                        .arg(kFirstHost + number)
                        .arg(number)
                        .toLatin1();
    }
    writeFile("Products.cfg", products);
    writeFile("SERVER_AS400.cfg",
              "127.0.0.1\r\n" + port.toLatin1() + "\r\nPLX400\r\nDEMO\r\n 1\r\n");

    Program wall(program("plyxen400-terminal-wall"), folder_.path(),
                 {"--headless", "--report", "--products", folder_.filePath("Products.cfg")});
    ASSERT_TRUE(wall.started());
    Program gateway(QStringLiteral(PLX_EXECUTABLE), folder_.path());
    ASSERT_TRUE(gateway.started());

    // Terminal number -> values shown on the wall; the broadcast's value on each terminal.
    const QRegularExpression frameLine("^frame (\\d{4}) 127\\.0\\.10\\.(\\d+) (.{4}) (\\d{6})$");
    std::map<QString, std::set<QString>> shown;
    const auto wallShows = [&] {
        shown.clear();
        for (const QString& line : wall.lines()) {
            const auto match = frameLine.match(line.trimmed());
            if (match.hasMatch()) shown[match.captured(1)].insert(match.captured(3));
        }
        return shown;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wallShows().empty(); }, kFirstFramesMs));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            wallShows();
            int broadcastSeen = 0;
            for (const auto& [number, values] : shown) broadcastSeen += values.count("8888");
            return broadcastSeen == kTerminals;
        },
        kScreensMs))
        << "every terminal shows the broadcast; the wall said:\n"
        << wall.lines().join("").toStdString();

    // Every frame on the wall is one the simulator said it sent, to that terminal or to
    // all, on the right terminal address, with the default colour file's attributes.
    simulator.stop();  // so that every frame it sent is in its output
    std::set<QByteArray> commanded;
    for (const QString& line : simulator.lines()) {
        for (const QString& word : line.trimmed().split(' ')) {
            if (word.size() == 11 && word.startsWith('<'))
                commanded.insert(word.mid(1, 9).toLatin1());
        }
    }
    int checked = 0;
    for (const QString& line : wall.lines()) {
        const auto match = frameLine.match(line.trimmed());
        if (!match.hasMatch()) continue;
        const QByteArray number = match.captured(1).toLatin1();
        EXPECT_EQ(match.captured(2).toInt(), kFirstHost + number.toInt()) << line.toStdString();
        const QByteArray value = match.captured(3).toLatin1();
        const QByteArray attributes = match.captured(4).toLatin1();
        bool found = false;
        for (const auto& [colour, pattern] : kDefaultPatterns) {
            if (attributes != pattern + "00") continue;
            found = found || commanded.count(number + value + colour) > 0 ||
                    commanded.count("****" + value + colour) > 0;
        }
        EXPECT_TRUE(found) << line.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 2 * kTerminals);
    EXPECT_EQ(static_cast<int>(shown.size()), kTerminals);
    // The number in no list was sent too, and the gateway said so.
    EXPECT_TRUE(logFile().contains("The product number 0999 does not exist !"));
}

}  // namespace
