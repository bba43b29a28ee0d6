// The real gateway between a host and a network that misbehave. Every fault must end with
// the gateway alive and still turning host frames into datagrams, the terminal list whole
// on disk, and the fault told in the daily log file. Each case has its own folder, host
// port and terminal address (one no other program holds); the cases of one test run side by
// side, so the suite stays short although every gateway needs its first connection tick and
// sign-on delay.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "headless_program.h"
#include "scripted_host.h"
#include "self_signed_certificate.h"
#include "support/qt_integration.h"
#include "terminal_frame.h"
#include "terminal_wall.h"
#include "whole_file.h"

namespace {

using plx::sim::ScriptedHost;
using plx::sim::TerminalWall;

// First connection tick with the loaded settings (5 s), sign-on (3 s), a reconnection
// (5 to 10 s) and a second sign-on, on a shared machine running several gateways.
constexpr int kCaseBoundMs = 60000;
constexpr int kStopBoundMs = 15000;
constexpr int kProbeEveryMs = 250;  // a probe frame is repeated until its datagram arrives
constexpr int kPollMs = 50;
constexpr int kFirstTerminal = 101;         // 127.0.10.101 onwards: clear of the demo's wall
constexpr char kNobody[] = "127.0.10.250";  // no terminal ever listens there
constexpr char kProbeValue[] = "4242";      // the value of the frame sent after each fault

QByteArray frameFor(int terminal, const QByteArray& value) {
    return "<" + QByteArray::number(terminal).rightJustified(4, '0') + value + "0>";
}

// One gateway in its own folder with its own host and its one terminal.
class Rig {
  public:
    Rig() : terminal_(wall.addFreeTerminal(kFirstTerminal)) {
        QObject::connect(&host, &ScriptedHost::signOnReceived, [this] { ++signOns; });
    }
    ~Rig() { gateway.reset(); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    QByteArray log() const { return folder.log(); }
    QByteArray hostSettings(const QByteArray& lineEnd = "\r\n", const QByteArray& rxLog = " 0") {
        return "127.0.0.1" + lineEnd + QByteArray::number(host.port()) + lineEnd + "pw" + lineEnd +
               "user" + lineEnd + rxLog + lineEnd;
    }
    QByteArray terminalEntry() const { return "0001,," + terminal_.toLatin1() + ",Line 1"; }

    // The files a case has not written itself, then the gateway, logging everything.
    void start() {
        ASSERT_TRUE(folder.isValid());
        ASSERT_FALSE(terminal_.isEmpty()) << "every terminal address is taken";
        if (!QFile::exists(folder.filePath("Products.cfg")))
            folder.write("Products.cfg", terminalEntry() + "\r\n");
        if (!QFile::exists(folder.filePath("SERVER_AS400.cfg")))
            folder.write("SERVER_AS400.cfg", hostSettings());
        folder.write("LOG_ALL_MERVAX.TXT", {});
        products = folder.read("Products.cfg");
        gateway.emplace(QStringLiteral(PLX_EXECUTABLE), folder.path(), arguments, environment,
                        standardError);
        ASSERT_TRUE(gateway->started());
    }
    bool running() const { return gateway && gateway->running(); }

    // Runs `action` once, at the first poll that finds `condition` true.
    void when(std::function<bool()> condition, std::function<void()> action) {
        QTimer* timer = every(kPollMs, [] {});
        QObject::connect(timer, &QTimer::timeout, [timer, condition, action] {
            if (!condition()) return;
            timer->stop();
            action();
        });
    }
    QTimer* every(int ms, std::function<void()> action) {
        timers_.push_back(std::make_unique<QTimer>());
        QTimer* timer = timers_.back().get();
        QObject::connect(timer, &QTimer::timeout, action);
        timer->start(ms);
        return timer;
    }
    // Sends `value` to terminal 0001 again and again until its datagram has arrived.
    void probe(const QByteArray& value = kProbeValue) {
        every(kProbeEveryMs, [this, value] {
            if (host.connected() && !showed(value)) host.write(frameFor(1, value));
        });
    }
    void probeAfterSignOn(int signOnCount = 1) {
        when([this, signOnCount] { return signOns >= signOnCount; }, [this] { probe(); });
    }
    // Read by the terminal wall's own decoder: a datagram it refuses is no display at all.
    bool showed(const QByteArray& value) const {
        for (const auto& datagram : wall.received()) {
            const auto decoding = plx::wall::decodeFrame(datagram.bytes.toStdString());
            if (decoding.ok() && decoding.frame.value == value.toStdString()) return true;
        }
        return false;
    }

    plx::qtp::testing::GatewayFolder folder;
    ScriptedHost host;
    TerminalWall wall;
    std::optional<plx::sim::HeadlessProgram> gateway;
    QByteArray products;  // Products.cfg as it was at start
    QStringList arguments;
    int signOns = 0;
    QProcessEnvironment environment;
    plx::sim::HeadlessProgram::StandardError standardError =
        plx::sim::HeadlessProgram::StandardError::Gathered;

  private:
    QString terminal_;
    std::vector<std::unique_ptr<QTimer>> timers_;
};

struct Fault {
    const char* name;
    // Writes the files and arranges the host's behaviour; runs before the gateway starts.
    std::function<void(Rig&)> arrange;
    // Extra checks once the gateway has answered after the fault.
    std::function<void(Rig&)> verify = [](Rig&) {};
    // A host that never connects cannot probe: then this says the fault has played out.
    std::function<bool(Rig&)> done = [](Rig& rig) { return rig.showed(kProbeValue); };
    // The shut-down can log its end (false when the disk is kept full to the end), and the
    // journal can hear it (false when it is kept full to the end).
    bool closeLogged = true;
    bool closeInJournal = true;
    std::function<void(Rig&)> beforeStop = [](Rig&) {};
    std::function<void(Rig&)> afterStop = [](Rig&) {};
    int stopSignal = SIGTERM;  // SIGINT and SIGHUP run the same shut-down
};

class Faults : public ::testing::Test {
  protected:
    void SetUp() override { plx::qtp::testing::application(); }

    // Starts every case at once, waits for all, then checks each and stops it.
    void run(const std::vector<Fault>& faults) {
        std::vector<std::unique_ptr<Rig>> rigs;
        for (std::size_t i = 0; i < faults.size(); ++i) {
            rigs.push_back(std::make_unique<Rig>());
            Rig& rig = *rigs.back();
            ASSERT_TRUE(rig.host.listen());
            faults[i].arrange(rig);
            rig.start();
            if (::testing::Test::HasFatalFailure()) return;
        }
        // Each case says below whether it got there; one late case must not hide the others.
        [[maybe_unused]] const bool allDone = QTest::qWaitFor(
            [&] {
                bool all = true;
                for (std::size_t i = 0; i < faults.size(); ++i) {
                    // A gateway that died will never answer: no use waiting for the others.
                    if (!rigs[i]->running()) return true;
                    all = all && faults[i].done(*rigs[i]);
                }
                return all;
            },
            kCaseBoundMs);

        for (std::size_t i = 0; i < faults.size(); ++i) {
            SCOPED_TRACE(faults[i].name);
            Rig& rig = *rigs[i];
            EXPECT_TRUE(faults[i].done(rig)) << "the gateway did not answer after the fault";
            ASSERT_TRUE(rig.running()) << rig.log().right(2000).data();
            for (const auto& datagram : rig.wall.received())
                EXPECT_TRUE(plx::wall::decodeFrame(datagram.bytes.toStdString()).ok());
            faults[i].verify(rig);
            faults[i].beforeStop(rig);
            ASSERT_EQ(::kill(static_cast<pid_t>(rig.gateway->pid()), faults[i].stopSignal), 0);
        }
        for (std::size_t i = 0; i < faults.size(); ++i) {
            SCOPED_TRACE(faults[i].name);
            Rig& rig = *rigs[i];
            QProcess& process = rig.gateway->process();
            // Another case's wait may already have seen it end (then waiting says false).
            ASSERT_TRUE(process.state() == QProcess::NotRunning ||
                        process.waitForFinished(kStopBoundMs));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 0);
            EXPECT_TRUE(rig.folder.read("Products.cfg") == rig.products)
                << "the terminal list whole";
            EXPECT_EQ(rig.log().contains("CLOSE SOFTWARE"), faults[i].closeLogged);
            // Headless, the journal gets what the day's file always gets: never the traffic.
            const QByteArray journal = rig.gateway->errors();
            EXPECT_TRUE(journal.contains(",START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)\n"));
            EXPECT_EQ(journal.contains(",CLOSE SOFTWARE\n"), faults[i].closeInJournal);
            EXPECT_FALSE(journal.contains(" CMD:") || journal.contains(" RX-AS400:"));
            faults[i].afterStop(rig);
        }
    }
};

bool logHas(const Rig& rig, const QByteArray& text) {
    return rig.log().contains(text);
}

const QByteArray kHostStatus = "Status:Server [127.0.0.1],";

TEST_F(Faults, HostAndNetworkMisbehaviourNeverStopsTheGateway) {
    std::vector<Fault> faults;
    faults.push_back({
        .name = "the host refuses",
        .arrange =
            [](Rig& rig) {
                rig.host.refuse();
                // Two refusals logged, then the host comes back on the same port.
                rig.when([&rig] { return rig.log().count(kHostStatus + "Error: ") >= 2; },
                         [&rig] { ASSERT_TRUE(rig.host.listen(rig.host.port())); });
                rig.probeAfterSignOn();
            },
        .verify =
            [](Rig& rig) { EXPECT_TRUE(logHas(rig, kHostStatus + "Error: Connection refused")); },
        .stopSignal = SIGINT,  // the same shut-down as SIGTERM
    });
    faults.push_back({
        .name = "a shortcut passes arguments the gateway does not take",
        .arrange =
            [](Rig& rig) {
                // Qt's own options are acted on, not ignored.
                rig.arguments = {"-platform", "offscreen", "--minimized", "C:\\Plant 1"};
                rig.probeAfterSignOn();
            },
        .verify =
            [](Rig& rig) {
                const QByteArray warning =
                    " Warning:Server [127.0.0.1],Arguments ignored: "
                    "\"--minimized\" \"C:\\Plant 1\"";
                EXPECT_EQ(rig.log().count(warning + "\r\n"), 1) << rig.log().data();
                EXPECT_TRUE(rig.gateway->errors().contains(warning + '\n'));
            },
    });
    faults.push_back({
        .name = "the host sends a frame every millisecond",
        .arrange =
            [](Rig& rig) {
                // 2000 frames, each a new value for terminal 0001, then the probe.
                rig.when([&rig] { return rig.signOns >= 1; },
                         [&rig] {
                             auto sent = std::make_shared<int>(0);
                             QTimer* burst = rig.every(1, [] {});
                             burst->setTimerType(Qt::PreciseTimer);
                             QObject::connect(burst, &QTimer::timeout, [&rig, sent, burst] {
                                 if (*sent == 2000) {
                                     burst->stop();
                                     rig.probe();
                                     return;
                                 }
                                 const QByteArray value = QByteArray::number((*sent)++);
                                 rig.host.write(frameFor(1, value.rightJustified(4, '0')));
                             });
                         });
            },
        .verify =
            [](Rig& rig) {
                std::set<QByteArray> values;
                for (const auto& datagram : rig.wall.received())
                    values.insert(datagram.bytes.mid(7, 4));
                // Every frame stood whole in the stream: none may be lost.
                EXPECT_EQ(values.size(), 2001u);
                EXPECT_EQ(rig.host.connectionCount(), 1);
                EXPECT_TRUE(logHas(rig, "CMD:0001,"));
            },
    });
    faults.push_back({
        .name = "terminal addresses are unreachable or malformed",
        .arrange =
            [](Rig& rig) {
                rig.folder.write("Products.cfg", rig.terminalEntry() + "\r\n0002,," + kNobody +
                                                     ",nobody\r\n0003,,999.1.1.1,no address\r\n"
                                                     "0004,,abc,a name\r\n0005,,,empty\r\n");
                QObject::connect(&rig.host, &ScriptedHost::signOnReceived, &rig.host, [&rig] {
                    // "1***": every row, as terminal 0001 is in the list.
                    rig.host.write("<1***56781>" + frameFor(2, "1111") + frameFor(3, "3333") +
                                   frameFor(4, "4444") + frameFor(5, "5555"));
                    rig.probe();
                });
            },
        .verify =
            [](Rig& rig) {
                EXPECT_TRUE(rig.showed("5678")) << rig.log().data();
                for (const char* terminal : {"0002", "0003", "0004", "0005"})
                    EXPECT_TRUE(logHas(rig, QByteArray("CMD:") + terminal + ",")) << terminal;
            },
        .stopSignal = SIGHUP,  // a hang-up too
    });
    run(faults);
}

// Over TLS the sign-on and the frames go only to a host whose certificate the gateway
// accepted; anything else is a TLS error and a retry, never a clear connection.
TEST_F(Faults, OverTlsTheSignOnGoesOnlyToTheCertifiedHost) {
    using plx::sim::SelfSignedCertificate;
    const auto byAddress = plx::sim::makeSelfSignedCertificate("IP:127.0.0.1");
    const auto byName = plx::sim::makeSelfSignedCertificate("DNS:localhost");
    const auto another = plx::sim::makeSelfSignedCertificate("IP:127.0.0.1");
    ASSERT_TRUE(byAddress && byName && another) << "openssl made no certificate";
    const auto arrange = [](const SelfSignedCertificate* served, const QByteArray& pinned,
                            const QByteArray& address) {
        return [served, pinned, address](Rig& rig) {
            if (served != nullptr) {
                ASSERT_TRUE(rig.host.serveTls(served->certificate, served->key));
            }
            rig.folder.write("SERVER_AS400.pem", pinned);
            rig.folder.write("SERVER_AS400.cfg", address + "\r\n" +
                                                     QByteArray::number(rig.host.port()) +
                                                     "\r\npw\r\nuser\r\n 0\r\n");
            rig.probeAfterSignOn();
        };
    };
    // Refused twice: the error, then the retry at the next tick.
    const auto refusedTwice = [](const QByteArray& error) {
        return [error](Rig& rig) { return rig.log().count(kHostStatus + "Error: " + error) >= 2; };
    };
    // A host in clear takes the TLS handshake for typing: none of it may be the sign-on.
    const auto nothingOfTheSignOnLeft = [](Rig& rig) {
        EXPECT_FALSE(rig.host.received().contains("user"));
        EXPECT_FALSE(logHas(rig, kHostStatus + "Connected"));
    };
    std::vector<Fault> faults;
    faults.push_back({
        .name = "the host shows the pinned certificate, made out to the configured name",
        .arrange = arrange(&*byName, byName->certificate, "localhost"),
        .verify =
            [](Rig& rig) {
                EXPECT_TRUE(logHas(rig, kHostStatus + "Connected (TLS)\r\n"));
                EXPECT_EQ(rig.host.terminalType(), "VT100");
                EXPECT_EQ(rig.host.signOn(), "user\tpw\r");
            },
    });
    faults.push_back({
        .name = "the host shows another certificate than the pinned one",
        .arrange = arrange(&*another, byAddress->certificate, "127.0.0.1"),
        .verify =
            [&](Rig& rig) {
                nothingOfTheSignOnLeft(rig);
                EXPECT_EQ(rig.host.connectionCount(), 0);
            },
        .done = refusedTwice("TLS: The certificate is self-signed, and untrusted"),
    });
    faults.push_back({
        .name = "the host speaks telnet in clear",
        .arrange = arrange(nullptr, byAddress->certificate, "127.0.0.1"),
        .verify = nothingOfTheSignOnLeft,
        // Said in words an administrator can act on, not the TLS library's.
        .done =
            [&](Rig& rig) {
                return refusedTwice("TLS: the host did not answer in TLS: is port " +
                                    QByteArray::number(rig.host.port()) + " a TLS port?")(rig);
            },
    });
    faults.push_back({
        .name = "the certificates file is damaged",
        .arrange = arrange(nullptr,
                           "-----BEGIN CERTIFICATE-----\r\nnot base64!\r\n"
                           "-----END CERTIFICATE-----\r\n",
                           "127.0.0.1"),
        .verify = [](Rig& rig) { EXPECT_EQ(rig.host.connectionCount(), 0); },
        .done = refusedTwice("SERVER_AS400.pem: the certificate of line 1 is damaged"),
    });
    faults.push_back({
        .name = "the certificates file cannot be read",
        .arrange = [](Rig& rig) { ASSERT_TRUE(QDir(rig.folder.path()).mkdir("SERVER_AS400.pem")); },
        .verify = [](Rig& rig) { EXPECT_EQ(rig.host.connectionCount(), 0); },
        .done = refusedTwice("SERVER_AS400.pem cannot be read: Is a directory"),  // the reason
    });
    run(faults);
}

TEST_F(Faults, ShutDownInTheMiddleOfBroadcastsEndsTheProcessAtOnce) {
    run({{
        .name = "SIGTERM while the host's broadcasts go to a 1001-terminal list",
        .arrange =
            [](Rig& rig) {
                QByteArray products;
                for (int number = 0; number < 1001; ++number) {
                    products += number == 1 ? rig.terminalEntry()
                                            : QByteArray::number(number).rightJustified(4, '0') +
                                                  ",,127.0.12." +
                                                  QByteArray::number(number % 250 + 1) + ",Line";
                    products += "\r\n";
                }
                rig.folder.write("Products.cfg", products);
                QObject::connect(&rig.host, &ScriptedHost::signOnReceived, &rig.host, [&rig] {
                    QByteArray backlog;
                    for (int value = 0; value < 400; ++value)
                        backlog += "<****" + QByteArray::number(1000 + value) + "0>";
                    rig.host.write(backlog);
                });
            },
        // A few broadcasts are out, most of the backlog is still to come.
        .done = [](Rig& rig) { return rig.log().count(" CMD:") > 3000; },
        .afterStop =
            [](Rig& rig) {
                const QByteArray log = rig.log();
                EXPECT_TRUE(log.endsWith(",CLOSE SOFTWARE\r\n")) << log.right(300).data();
                EXPECT_LT(log.count(" CMD:"), 400 * 1001) << "the backlog ran on after the stop";
            },
    }});
}

TEST_F(Faults, FullDiskCostsLogLinesNeverTheProcessNorTheList) {
    rlimit unlimited{};
    if (::getrlimit(RLIMIT_FSIZE, &unlimited) != 0 || unlimited.rlim_max != RLIM_INFINITY)
        GTEST_SKIP() << "file size limits cannot be lifted again here";
    // A file size limit of 0 bytes refuses every write, as a full disk does.
    const auto limitFiles = [](Rig& rig, rlim_t bytes) {
        const rlimit limit{bytes, RLIM_INFINITY};
        ASSERT_EQ(::prlimit(static_cast<pid_t>(rig.gateway->pid()), RLIMIT_FSIZE, &limit, nullptr),
                  0);
    };
    run({{
        .name = "the disk fills, empties, and fills again at shut-down",
        .arrange =
            [limitFiles](Rig& rig) {
                QObject::connect(&rig.host, &ScriptedHost::signOnReceived, &rig.host,
                                 [&rig, limitFiles] {
                                     limitFiles(rig, 0);
                                     rig.probe("7777");
                                     // A value's log line follows its datagrams: once the
                                     // next value shows, 7777's line has met the full disk.
                                     rig.when([&rig] { return rig.showed("7777"); },
                                              [&rig] { rig.probe("7778"); });
                                     rig.when([&rig] { return rig.showed("7778"); },
                                              [&rig, limitFiles] {
                                                  limitFiles(rig, RLIM_INFINITY);
                                                  rig.probe();
                                              });
                                 });
            },
        // Lines written while full are missing, and the file says how many.
        .verify =
            [](Rig& rig) {
                EXPECT_TRUE(rig.gateway->errors().contains("The log file cannot be written"));
                EXPECT_FALSE(logHas(rig, "7777"));
                EXPECT_TRUE(logHas(rig, "event(s) could not be written to this file"));
                EXPECT_TRUE(logHas(rig, "CMD:0001,"));
            },
        .closeLogged = false,
        .beforeStop = [limitFiles](Rig& rig) { limitFiles(rig, 0); },
    }});
}

// The journal is a copy of the day's file: a reader that stops (a stalled journal, a paused
// pager) costs journal lines, counted, never the terminals nor the shut-down.
TEST_F(Faults, AJournalThatStopsReadingCostsLinesNeverTheTerminals) {
    // 10000 Warnings, a megabyte of journal lines: more than a pipe, a socket and the
    // gateway's queue together hold.
    using StandardError = plx::sim::HeadlessProgram::StandardError;
    const auto stalled = [](StandardError unread) {
        return [unread](Rig& rig) {
            rig.standardError = unread;
            QObject::connect(&rig.host, &ScriptedHost::signOnReceived, &rig.host, [&rig] {
                rig.host.write(frameFor(999, "9999").repeated(10000));
                rig.probe();
            });
        };
    };
    const QByteArray dropped = " line(s) were dropped here";
    run({{
             .name = "standard error a pipe nobody reads, to the end",
             .arrange = stalled(StandardError::UnreadPipe),
             .closeInJournal = false,
             .afterStop = [](Rig& rig) { EXPECT_TRUE(rig.log().endsWith(",CLOSE SOFTWARE\r\n")); },
         },
         {
             .name = "the journal's stream stops, then reads again",
             .arrange = stalled(StandardError::UnreadJournal),
             // Once it reads again, one line says how many it missed.
             .beforeStop =
                 [&](Rig& rig) {
                     EXPECT_TRUE(QTest::qWaitFor(
                         [&] { return rig.gateway->errors().contains(dropped); }, kStopBoundMs));
                 },
             // Each event line with its priority: the loss, link errors and Warnings warning;
             // every Warning of the day's file heard, or counted among the lines told lost.
             .afterStop =
                 [&](Rig& rig) {
                     qsizetype heardOrLost = 0;
                     for (const QByteArray& line : rig.gateway->errors().split('\n')) {
                         heardOrLost += line.contains(dropped)
                                            ? line.mid(3, line.indexOf(' ') - 3).toLongLong()
                                            : line.contains(" Warning:");
                         if (!line.contains(":Server [") && !line.contains(dropped)) continue;
                         const bool warning = line.contains(" Warning:") ||
                                              line.contains(",Error: ") || line.contains(dropped);
                         EXPECT_TRUE(line.startsWith(warning ? "<4>" : "<6>")) << line.data();
                     }
                     EXPECT_GE(heardOrLost, rig.log().count(" Warning:"));
                 },
         }});
}

// Under systemd (Type=notify, WatchdogSec=): the manager hears that start-up is done, what
// the link is doing, and the event loop's pings.
TEST_F(Faults, TheServiceManagerHearsReadinessTheLinkAndTheWatchdog) {
    QTemporaryDir sockets;
    const QByteArray path = QFile::encodeName(sockets.filePath("notify"));
    const int manager = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(manager, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QByteArray heard;
    const auto hear = [&] {
        char message[4096];
        for (ssize_t size; (size = ::recv(manager, message, sizeof message, 0)) > 0;)
            heard += QByteArray(message, size) + "\n";
        return heard;
    };
    Rig rig;
    ASSERT_TRUE(rig.host.listen());
    rig.environment.insert("NOTIFY_SOCKET", QString::fromLocal8Bit(path));
    rig.environment.insert("WATCHDOG_USEC", "400000");
    ASSERT_NO_FATAL_FAILURE(rig.start());
    const QByteArray online = "STATUS=ONLINE 127.0.0.1:" + QByteArray::number(rig.host.port());
    EXPECT_TRUE(QTest::qWaitFor([&] { return hear().contains(online); }, kCaseBoundMs))
        << heard.data();
    EXPECT_TRUE(heard.startsWith("STATUS=OFFLINE")) << "the link before start-up is done";
    EXPECT_TRUE(heard.contains("READY=1\n"));
    const qsizetype pings = heard.count("WATCHDOG=1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return hear().count("WATCHDOG=1") > pings + 2; }, 2000));
    rig.host.closeConnection();
    EXPECT_TRUE(QTest::qWaitFor([&] { return hear().contains("STATUS=OFFLINE, next attempt"); },
                                kCaseBoundMs));
    EXPECT_TRUE(rig.gateway->stop());
    ::close(manager);
}

TEST_F(Faults, OneGatewayPerFolderAndACrashLeavesNoLockBehind) {
    using plx::sim::HeadlessProgram;
    const plx::qtp::testing::GatewayFolder folder;
    ASSERT_TRUE(folder.isValid());
    const auto starts = [&folder] { return folder.log().count("START SOFTWARE"); };
    HeadlessProgram first(QStringLiteral(PLX_EXECUTABLE), folder.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return starts() == 1; }, kStopBoundMs));
    HeadlessProgram second(QStringLiteral(PLX_EXECUTABLE), folder.path());
    ASSERT_TRUE(second.process().waitForFinished(kStopBoundMs));
    EXPECT_EQ(second.process().exitCode(), 3) << "the status the units do not restart";
    EXPECT_TRUE(second.errors().contains("already running")) << "says why";
    EXPECT_TRUE(first.running());
    EXPECT_EQ(starts(), 1) << "the second one touched nothing";

    // A crash cannot release anything by itself: the kernel must.
    first.process().kill();
    ASSERT_TRUE(first.process().waitForFinished(kStopBoundMs));
    HeadlessProgram third(QStringLiteral(PLX_EXECUTABLE), folder.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return starts() == 2; }, kStopBoundMs));
    EXPECT_TRUE(third.stop());
}

}  // namespace
