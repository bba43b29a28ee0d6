// The whole road from host byte to datagram, measured on the real executable: the gateway
// starts headless in a folder of its own, connects to our scripted host on loopback, signs
// on, and sends its datagrams to terminals that are plain loopback sockets of this program.
// Every figure stands beside the raw limit of the same machine, measured in the same run.
// This file holds the runs and what each figure is; the figures' table, the measurements and
// the gateway's session are each a header of their own.
//
//   gateway_bench [--runs N] [--frames N] [--no-million] [--no-tls] [--only-synchronize]
//                 [--gateway PROGRAM]
// With DISPLAY set (an X server), one more figure: the latency with the windows shown.
// --only-synchronize measures the in-process Synchronize alone, for a profiler; --gateway
// starts PROGRAM instead of the built gateway (a script that runs it under a profiler, or
// an older build to compare with: --no-tls then, if it has no TLS).
#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "figure_table.h"
#include "gateway/gateway.h"
#include "gateway_session.h"
#include "road_measurements.h"

namespace {

using namespace plx::bench;

// Terminals 0000 to 1000: a full list, with the terminal 0000 that the broadcast form needs.
constexpr int kTerminals = 1001;
constexpr int kLowRate = 100;  // frames per second
constexpr int kHighRate = 1000;
constexpr int kLatencyFramesLow = 300;    // 3 s at the low rate
constexpr int kLatencyFramesHigh = 3000;  // 3 s at the high rate
constexpr int kBroadcastRounds = 5;
// With a page open: a second or more at full speed, so that the page is told of changes
// (4 times a second) and reads them while the frames flow.
constexpr long kPageOpenFrames = 150000;
constexpr long kWarmUpFrames = 100000;
constexpr long kMillion = 1000000;

void oneRun(const Options& options, TerminalWall& wall, Table& table, long& value) {
    const long frames = options.frames;
    double clear = 0;      // frames per second over clear telnet, file log off
    double clearLong = 0;  // the same over as many frames as with a page open
    {
        Session session(options, wall, false, &table);
        table.add("resident memory, idle", "KiB", "", session.residentKiB(), 0);
        const Write write = session.write();
        const Push push = pushFrames(frames, write, wall, value);
        if (push.lost != 0) std::fprintf(stderr, "file log off: %ld frames lost\n", push.lost);
        clear = push.perSecond();
        // The reference of the figure with a page open, pushed as long.
        clearLong = pushFrames(std::max(frames, kPageOpenFrames), write, wall, value).perSecond();
        const double rawSend = rawSendRate(frames, wall);
        table.add("throughput, file log off", "frames/s", "2 x sendto per frame", push.perSecond(),
                  rawSend, atLeast(0.7), 1e6 / (2 * rawSend));
        table.add("throughput, file log off", "frames/s", "host bytes through loopback TCP",
                  push.perSecond(), rawTcpRate(frames));
        PlainRelay relay(wall.address(kOneTerminal));
        const Write relayWrite = [&relay](const std::string& bytes) { relay.write(bytes); };

        for (const int rate : {kLowRate, kHighRate}) {
            const int count = rate == kLowRate ? kLatencyFramesLow : kLatencyFramesHigh;
            const auto gateway = latencies(rate, count, session.directWrite(), wall, value);
            const auto raw = latencies(rate, count, relayWrite, wall, value);
            const std::string at = " at " + std::to_string(rate) + "/s";
            if (gateway.size() != static_cast<std::size_t>(count)) {
                std::fprintf(stderr, "latency%s: %zu of %d frames arrived\n", at.c_str(),
                             gateway.size(), count);
            }
            table.add("latency median" + at, "us", "plain relay process", quantile(gateway, 0.5),
                      quantile(raw, 0.5));
            table.add("latency 99th percentile" + at, "us", "plain relay process",
                      quantile(gateway, 0.99), quantile(raw, 0.99), atMost(1.5));
        }

        std::vector<double> gateway, raw;
        for (int i = 0; i < kBroadcastRounds; ++i) {
            gateway.push_back(broadcastMs(write, wall, value));
            raw.push_back(rawBroadcastMs(wall));
        }
        const double rawMs = quantile(raw, 0.5);
        table.add("broadcast <****VVVV0> to 1001 terminals", "ms", "2002 x sendto",
                  quantile(gateway, 0.5), rawMs, atMost(1.2), 1000 * rawMs / (2 * kTerminals));
    }
    {
        // Its cost: the same figure with a page following the console all along.
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 webPort = probe.serverPort();
        probe.close();
        Session session(options, wall, false, nullptr, nullptr, nullptr, webPort);
        const long readsBefore = session.pageReads();
        const Push push =
            pushFrames(std::max(frames, kPageOpenFrames), session.write(), wall, value);
        if (push.lost != 0) std::fprintf(stderr, "web console on: %ld frames lost\n", push.lost);
        table.add("throughput, web console on, a page open", "frames/s", "the same, console off",
                  push.perSecond(), clearLong, atLeast(0.95));
        std::fprintf(stderr, "the page made %ld reads meanwhile\n",
                     session.pageReads() - readsBefore);
    }
    {
        Session session(options, wall, true, nullptr);
        const Push push = pushFrames(frames, session.write(), wall, value);
        if (push.lost != 0) std::fprintf(stderr, "file log on: %ld frames lost\n", push.lost);
        const double rawSend = rawSendRate(frames, wall);
        table.add("throughput, file log on", "frames/s", "2 x sendto per frame", push.perSecond(),
                  rawSend, {}, 1e6 / (2 * rawSend));
    }
    if (options.tls) {
        Session session(options, wall, false, nullptr, &*options.tls);
        const Push push = pushFrames(frames, session.write(), wall, value);
        if (push.lost != 0) std::fprintf(stderr, "over TLS: %ld frames lost\n", push.lost);
        table.add("throughput over TLS, file log off", "frames/s", "the same over clear telnet",
                  push.perSecond(), clear);
    }
}

// The p99 latency at the low rate with the main, host link and event windows shown on the X
// display, beside the same gateway and windows offscreen: what showing them costs the
// terminals.
void shownWindows(const Options& options, TerminalWall& wall, Table& table, long& value) {
    const auto p99 = [&](const char* screen) {
        QProcessEnvironment environment;
        environment.insert("QT_QPA_PLATFORM", screen);
        environment.insert("DISPLAY", options.display);
        const Launch launch{options.self, {"--shown-gateway"}, environment};
        Session session(options, wall, false, nullptr, nullptr, &launch);
        return quantile(latencies(kLowRate, kLatencyFramesLow, session.directWrite(), wall, value),
                        0.99);
    };
    const double shown = p99("xcb");
    const double offscreen = p99("offscreen");
    table.add("latency 99th percentile at 100/s, windows shown on X", "us", "the same offscreen",
              shown, offscreen, atMost(1.5));
}

// The gateway of that figure: on the Qt platform in this process, in its folder, with the
// windows the operator opens from the main one shown, until it is stopped.
int runShownGateway() {
    plx::qtp::testing::QtTestPlatform platform;
    plx::Gateway gateway(platform);
    gateway.start();
    gateway.window<plx::F_MAIN>().B_AS400_COMM_Click();
    gateway.window<plx::F_MAIN>().B_EVENTS_Click();
    return QApplication::exec();
}

// Resident memory at start, after the warm-up and after a million frames.
void million(const Options& options, TerminalWall& wall, Table& table, long& value) {
    Session session(options, wall, false, nullptr);
    const Write write = session.write();
    const double idle = session.residentKiB();
    const Push warmUp = pushFrames(kWarmUpFrames, write, wall, value);
    const double warm = session.residentKiB();
    const Push rest = pushFrames(kMillion - kWarmUpFrames, write, wall, value);
    const double after = session.residentKiB();
    table.add("resident memory, idle (million session)", "KiB", "", idle, 0);
    table.add("resident memory after 100k frames", "KiB", "", warm, 0);
    table.add("resident memory after 1M frames", "KiB", "the same after 100k frames", after, warm);
    table.add("throughput over 1M frames, file log off", "frames/s", "",
              (warmUp.delivered + rest.delivered) / (warmUp.seconds + rest.seconds), 0);
    if (warmUp.lost + rest.lost != 0) {
        std::fprintf(stderr, "million: %ld frames lost\n", warmUp.lost + rest.lost);
    }
}

// Synchronize on the Qt platform in this process, as the operator's button runs it.
void synchronizeInProcess(int rounds, TerminalWall& wall, Table& table) {
    QTemporaryDir folder;
    if (!folder.isValid()) return;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    writeFile(folder.filePath("Products.cfg"), productList(wall, 0));
    // A host port where nobody answers: the link stays OFFLINE.
    writeFile(folder.filePath("SERVER_AS400.cfg"), "127.0.0.1\r\n9\r\n\r\n\r\n0\r\n");
    {
        plx::qtp::testing::QtTestPlatform platform;
        plx::Gateway gateway(platform);
        gateway.start();
        QApplication::processEvents();
        for (int i = 0; i < rounds; ++i) {
            wall.drain();
            const auto start = Clock::now();
            gateway.window<plx::F_MAIN>().B_SYNCHRONIZE_Click();
            const double ms = 1000 * secondsSince(start);
            if (wall.drain() != 2L * kTerminals)
                std::fprintf(stderr, "synchronize: datagrams lost\n");
            const double rawMs = rawBroadcastMs(wall);
            table.add("Synchronize 1001 terminals, in process", "ms", "2002 x sendto", ms, rawMs,
                      atMost(1.0), 1000 * rawMs / (2 * kTerminals));
        }
    }
    QDir::setCurrent(previous);
}

// The raw start-up: connect to the port and leave.
int plainConnect(const char* port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address =
        socketAddress("127.0.0.1", static_cast<std::uint16_t>(std::atoi(port)));
    return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : 1;
}

void measure(const Options& options) {
    TerminalWall wall(kTerminals);
    Table table;
    long value = 0;  // a new value for every frame, so that none is dropped as a repeat
    for (int run = 1; run <= options.runs && !options.onlySynchronize; ++run) {
        std::fprintf(stderr, "run %d of %d\n", run, options.runs);
        oneRun(options, wall, table, value);
        if (!options.display.isEmpty()) shownWindows(options, wall, table, value);
    }
    synchronizeInProcess(options.runs, wall, table);
    if (options.million && !options.onlySynchronize) {
        std::fprintf(stderr, "a million frames\n");
        million(options, wall, table, value);
    }
    std::printf(
        "Host frames through the gateway executable to loopback terminals; %d frames "
        "per write, %d in flight; %ld frames per throughput figure\n",
        kFramesPerWrite, kFramesInFlight, options.frames);
    table.print();
    if (options.display.isEmpty() && !options.onlySynchronize) {
        std::printf(
            "latency with windows shown on X: skipped, no X display (make bench starts "
            "one where Xvfb and openbox can be installed)\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const char* gateway = PLX_EXECUTABLE;
    bool withTls = true;
    bool shownGateway = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--connect") == 0 && hasValue) return plainConnect(argv[i + 1]);
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue) {
            options.runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
            options.frames = std::max(1000L, std::atol(argv[++i]));
        } else if (std::strcmp(argv[i], "--gateway") == 0 && hasValue) {
            gateway = argv[++i];
        } else if (std::strcmp(argv[i], "--no-million") == 0) {
            options.million = false;
        } else if (std::strcmp(argv[i], "--no-tls") == 0) {
            withTls = false;
        } else if (std::strcmp(argv[i], "--shown-gateway") == 0) {
            shownGateway = true;
        } else if (std::strcmp(argv[i], "--only-synchronize") == 0) {
            options.onlySynchronize = true;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    options.display = qEnvironmentVariable("DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    raiseFileLimit();
    QApplication application(argc, argv);
    if (shownGateway) return runShownGateway();
    options.self = QCoreApplication::applicationFilePath();
    options.gateway = QString::fromLocal8Bit(gateway);
    if (withTls) {
        options.tls = plx::sim::makeSelfSignedCertificate(QStringLiteral("IP:127.0.0.1"));
        if (!options.tls) std::fprintf(stderr, "no certificate from openssl: no figure over TLS\n");
    }

    try {
        measure(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gateway_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
