// The whole road from host byte to datagram, measured on the real executable: the gateway
// starts headless in a folder of its own, connects to our scripted host on loopback, signs
// on, and sends its datagrams to terminals that are plain loopback sockets of this program.
// Every figure stands beside the raw limit of the same machine, measured in the same run.
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
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "gateway_process.h"
#include "loopback_terminals.h"
#include "plain_relay.h"
#include "scripted_host.h"
#include "self_signed_certificate.h"
#include "support/qt_test_platform.h"
#include "web_page_reader.h"

namespace {

using namespace plx::bench;
using Write = std::function<void(const std::string&)>;

// Terminals 0000 to 1000: a full list, with the terminal 0000 that the broadcast form needs.
constexpr int kTerminals = 1001;
constexpr int kOneTerminal = 1;       // row and number of the terminal of the one-terminal figures
constexpr int kFramesPerWrite = 16;   // host frames per write: a screen's worth of commands
constexpr int kFramesInFlight = 128;  // written but not yet delivered, well within socket buffers
constexpr int kLossTimeoutMs = 500;   // no datagram for this long: the frames in flight are lost
// Between two readings of a terminal whose window of frames is full.
constexpr std::chrono::microseconds kDrainPause{200};
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
// The host link window's initial fields name 127.0.0.1:1024: the first connect attempt of
// start-up goes there, before the settings are loaded.
constexpr std::uint16_t kFirstConnectPort = 1024;
// The first connect with the loaded settings comes at the first 5 s tick, the sign-on 3 s
// later; the rest is margin for a loaded machine.
constexpr int kSignOnTimeoutMs = 20000;

std::string hostFrame(const char* number, long value) {
    char frame[16];
    std::snprintf(frame, sizeof frame, "<%s%04ld0>", number, value % 10000);
    return frame;
}

// ----- figures -----

struct Figure {
    std::string name, unit, rawIs;
    std::vector<double> gateway, raw;
    std::vector<double> sendtoUs;  // what one sendto of the raw limit took, where it has them
};

// What a ratio should be: at most (a time) or at least (a rate) so much.
struct Aim {
    enum class Kind { None, AtMost, AtLeast } kind = Kind::None;
    double ratio = 0;
    std::string text() const {
        if (kind == Kind::None) return {};
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s %.2f", kind == Kind::AtMost ? "<=" : ">=", ratio);
        return buffer;
    }
    bool met(double value) const {
        return kind == Kind::None || (kind == Kind::AtMost ? value <= ratio : value >= ratio);
    }
};
constexpr Aim atMost(double ratio) {
    return {Aim::Kind::AtMost, ratio};
}
constexpr Aim atLeast(double ratio) {
    return {Aim::Kind::AtLeast, ratio};
}

class Table {
  public:
    // `sendtoUs`: the microseconds of one sendto in the raw limit, for a limit made of them.
    void add(const std::string& name, const std::string& unit, const std::string& rawIs,
             double gateway, double raw, Aim aim = {}, double sendtoUs = 0) {
        // One row per figure and raw limit: a figure may stand beside several limits.
        const std::string key = name + '\n' + rawIs;
        Figure& figure = figures_[key];
        if (figure.name.empty()) {
            order_.push_back(key);
            figure = Figure{name, unit, rawIs, {}, {}, {}};
            aims_[key] = aim;
        }
        figure.gateway.push_back(gateway);
        figure.raw.push_back(raw);
        if (sendtoUs > 0) figure.sendtoUs.push_back(sendtoUs);
    }
    void print() const {
        std::printf("\n%-58s %12s %12s %9s %14s %9s  %s\n", "figure (median of runs)", "gateway",
                    "raw limit", "gw/raw", "aim", "1 sendto", "raw limit is");
        for (const std::string& key : order_) {
            const Figure& f = figures_.at(key);
            const double gateway = quantile(f.gateway, 0.5), raw = quantile(f.raw, 0.5);
            const std::string label = f.name + " (" + f.unit + ")";
            if (f.rawIs.empty()) {
                std::printf("%-58s %12.*f %12s %9s %14s %9s  (no raw limit) (n=%zu)\n",
                            label.c_str(), precision(gateway), gateway, "-", "-", "", "",
                            f.gateway.size());
                continue;
            }
            const Aim& aim = aims_.at(key);
            const std::string verdict =
                aim.kind == Aim::Kind::None
                    ? ""
                    : aim.text() + (aim.met(gateway / raw) ? " met" : " MISSED");
            char sendto[16] = "";
            if (!f.sendtoUs.empty())
                std::snprintf(sendto, sizeof sendto, "%.2f us", quantile(f.sendtoUs, 0.5));
            std::printf("%-58s %12.*f %12.*f %9.3f %14s %9s  %s (n=%zu)\n", label.c_str(),
                        precision(gateway), gateway, precision(raw), raw, gateway / raw,
                        verdict.c_str(), sendto, f.rawIs.c_str(), f.gateway.size());
        }
    }

  private:
    static int precision(double value) { return value >= 100 ? 0 : value >= 1 ? 2 : 3; }
    std::map<std::string, Figure> figures_;
    std::map<std::string, Aim> aims_;
    std::vector<std::string> order_;
};

// ----- measurements -----

struct Push {
    double seconds = 0;
    long delivered = 0;  // frames whose two datagrams arrived
    long lost = 0;
    double perSecond() const { return seconds > 0 ? delivered / seconds : 0; }
};

// `count` frames to the one terminal, written kFramesPerWrite at a time with at most
// kFramesInFlight outstanding, until every one has arrived or is given up as lost.
Push pushFrames(long count, const Write& write, TerminalWall& wall, long& value) {
    long written = 0, datagrams = 0, lost = 0;
    wall.drain(kOneTerminal);
    const auto start = Clock::now();
    auto lastArrival = start;
    while (written < count || datagrams / 2 + lost < written) {
        const long inFlight = written - datagrams / 2 - lost;
        if (written < count && inFlight + kFramesPerWrite <= kFramesInFlight) {
            const long frames = std::min<long>(kFramesPerWrite, count - written);
            std::string bytes;
            for (long i = 0; i < frames; ++i) bytes += hostFrame("0001", value++);
            write(bytes);
            written += frames;
            datagrams += wall.drain(kOneTerminal);
            continue;
        }
        // A short pause, not a wait for the next datagram: a terminal woken at each one would
        // preempt the gateway at every send on two cores, which no real terminal does; the
        // raw loops read their terminal the same way.
        std::this_thread::sleep_for(kDrainPause);
        const long got = wall.drain(kOneTerminal);
        datagrams += got;
        if (got > 0) {
            lastArrival = Clock::now();
        } else if (secondsSince(lastArrival) * 1000 > kLossTimeoutMs) {
            lost += inFlight;
            lastArrival = Clock::now();
        }
    }
    return {secondsSince(start), datagrams / 2, lost};
}

// Frames per second of a plain loop of two sendto() per frame to the one terminal.
double rawSendRate(long count, TerminalWall& wall) {
    RawSender raw;
    wall.drain(kOneTerminal);
    const auto start = Clock::now();
    for (long i = 1; i <= count; ++i) {
        raw.send(wall.address(kOneTerminal));
        if (i % 64 == 0) wall.drain(kOneTerminal);  // a receive buffer holds ~256 datagrams
    }
    const double seconds = secondsSince(start);
    wall.drain(kOneTerminal);
    return count / seconds;
}

// Frames per second of the same host bytes pushed through a loopback TCP connection.
double rawTcpRate(long count) {
    const TcpPair pair = loopbackTcpPair();
    const std::string bytes = [] {
        std::string all;
        for (int i = 0; i < kFramesPerWrite; ++i) all += hostFrame("0001", i);
        return all;
    }();
    const long total = count / kFramesPerWrite * static_cast<long>(bytes.size());
    long received = 0;
    char buffer[65536];
    const auto start = Clock::now();
    for (long sent = 0; sent < total; sent += static_cast<long>(bytes.size())) {
        if (write(pair.writer, bytes.data(), bytes.size()) < 0) break;
        ssize_t got;
        while ((got = recv(pair.reader, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) received += got;
    }
    while (received < total) {
        const ssize_t got = recv(pair.reader, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        received += got;
    }
    const double seconds = secondsSince(start);
    close(pair.writer);
    close(pair.reader);
    return static_cast<double>(received) / static_cast<double>(bytes.size()) * kFramesPerWrite /
           seconds;
}

// Microseconds from the write of each frame to the arrival of its first datagram, frames
// written `rate` times a second.
std::vector<double> latencies(int rate, int count, const Write& write, TerminalWall& wall,
                              long& value) {
    std::vector<double> micros;
    const auto period = std::chrono::nanoseconds(1000000000 / rate);
    auto next = Clock::now();
    wall.drain(kOneTerminal);
    for (int i = 0; i < count; ++i) {
        next += period;
        std::this_thread::sleep_until(next);
        const std::string frame = hostFrame("0001", value++);
        const auto written = Clock::now();
        write(frame);
        long got = wall.await(kOneTerminal, 1000);
        if (got == 0) continue;  // lost: counted by its absence
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - written).count());
        while (got < 2) {
            const long more = wall.await(kOneTerminal, 50);  // the second copy
            if (more == 0) break;
            got += more;
        }
    }
    return micros;
}

// Milliseconds from the write of a broadcast frame to the last of its 2002 datagrams.
double broadcastMs(const Write& write, TerminalWall& wall, long& value) {
    wall.drain();
    const std::string frame = hostFrame("****", value++);
    const auto start = Clock::now();
    write(frame);
    const long got = wall.awaitAll(2L * wall.size(), 2000);
    const double ms = 1000 * secondsSince(start);
    if (got != 2L * wall.size()) {
        std::fprintf(stderr, "broadcast: %ld of %d datagrams arrived\n", got, 2 * wall.size());
    }
    return ms;
}

// Milliseconds of a plain loop of two sendto() to every terminal.
double rawBroadcastMs(TerminalWall& wall) {
    RawSender raw;
    wall.drain();
    const auto start = Clock::now();
    for (int i = 0; i < wall.size(); ++i) raw.send(wall.address(i));
    const double ms = 1000 * secondsSince(start);
    wall.drain();
    return ms;
}

// ----- the executable -----

struct Options {
    int runs = 5;
    QString display;      // the X display of the figure with windows shown; none: skipped
    long frames = 20000;  // per throughput figure
    bool million = true;
    bool onlySynchronize = false;
    QString self;     // this program, for the raw start-up
    QString gateway;  // the program started as the gateway
    // The host's certificate for the figures over TLS; none when openssl is missing.
    std::optional<plx::sim::SelfSignedCertificate> tls;
};

// Watches the address of the first connect attempt; empty when it is taken by another.
class ConnectWatch {
  public:
    ConnectWatch() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        const int on = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        const sockaddr_in address = socketAddress("127.0.0.1", kFirstConnectPort);
        listening_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     listen(fd_, 4) == 0;
    }
    ~ConnectWatch() { close(fd_); }
    ConnectWatch(const ConnectWatch&) = delete;
    ConnectWatch& operator=(const ConnectWatch&) = delete;

    // Milliseconds from `since` to the next connection, if one comes within timeoutMs.
    std::optional<double> awaitConnect(Clock::time_point since, int timeoutMs) {
        if (!listening_) return std::nullopt;
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) <= 0) return std::nullopt;
        const double ms = 1000 * secondsSince(since);
        close(accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
        return ms;
    }

  private:
    int fd_;
    bool listening_ = false;
};

// How a gateway other than the executable is started: this program, what it is told, and
// what its environment adds (the display).
struct Launch {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};

// The gateway running, connected to the scripted host and signed on.
class Session {
  public:
    // Over TLS when given the host's certificate, which the gateway then pins.
    // With `webPort`, the web console on at that port and a page open on it.
    Session(const Options& options, const TerminalWall& wall, bool fileLog, Table* table,
            const plx::sim::SelfSignedCertificate* tls = nullptr, const Launch* launch = nullptr,
            quint16 webPort = 0) {
        if (!folder_.isValid() || !host_.listen()) throw std::runtime_error("no folder or port");
        if (tls != nullptr) {
            if (!host_.serveTls(tls->certificate, tls->key)) throw std::runtime_error("no TLS");
            writeFile(folder_.filePath("SERVER_AS400.pem"), tls->certificate.toStdString());
        }
        writeFile(folder_.filePath("Products.cfg"), productList(wall, 0));
        writeFile(folder_.filePath("SERVER_AS400.cfg"),
                  "127.0.0.1\r\n" + std::to_string(host_.port()) + "\r\npw\r\nuser\r\n1\r\n");
        if (fileLog) writeFile(folder_.filePath("LOG_ALL_MERVAX.TXT"), "");
        if (webPort != 0) {
            writeFile(folder_.filePath("WebConsole.cfg"),
                      "listen 127.0.0.1:" + std::to_string(webPort) + "\r\n");
        }

        ConnectWatch watch;
        if (table != nullptr) {
            // The same program start and connect with nothing in between: this program
            // itself, which loads the same libraries, connects and leaves.
            GatewayProcess plain(options.self, folder_.path(),
                                 {"--connect", QString::number(kFirstConnectPort)});
            const auto rawMs = watch.awaitConnect(plain.startedAt(), 10000);
            gateway_.emplace(options.gateway, folder_.path());
            const auto ms = watch.awaitConnect(gateway_->startedAt(), 10000);
            if (ms && rawMs) {
                table->add("start-up to first connect attempt", "ms", "program start + connect",
                           *ms, *rawMs);
            }
        } else if (launch != nullptr) {
            gateway_.emplace(launch->program, folder_.path(), launch->arguments,
                             launch->environment);
        } else {
            gateway_.emplace(options.gateway, folder_.path());
        }
        if (!gateway_->started()) throw std::runtime_error("the gateway did not start");
        if (!waitFor([this] { return !host_.signOn().isEmpty(); }, kSignOnTimeoutMs)) {
            // Thrown, not exit(): the stack unwinds and the gateway is stopped.
            throw std::runtime_error("the gateway did not sign on");
        }
        waitFor([] { return false; }, 300);  // let the start-up settle
        if (webPort != 0) {
            page_.emplace(webPort);
            // Open means open: the stream is up and its first notice read (3 reads).
            if (!waitFor([this] { return page_->reads() >= 3; }, kSignOnTimeoutMs))
                throw std::runtime_error("the page did not open");
        }
    }
    long pageReads() const { return page_ ? page_->reads() : 0; }

    Write write() {
        return [this](const std::string& bytes) {
            host_.write(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        };
    }
    // The same bytes written straight to the socket, as the plain relay's are: the latency
    // figures then time the same write(2) on both sides, not Qt's write path in this program
    // (tens of microseconds after a pause). Clear telnet only.
    Write directWrite() {
        return [this](const std::string& bytes) {
            const int socket = static_cast<int>(host_.socketDescriptor());
            if (socket < 0 || host_.bytesToWrite() != 0)
                throw std::runtime_error("no direct write");
            writeAll(socket, bytes);
        };
    }
    long residentKiB() const { return gateway_->residentKiB(); }

  private:
    QTemporaryDir folder_;
    plx::sim::ScriptedHost host_;
    std::optional<GatewayProcess> gateway_;
    std::optional<WebPageInThread> page_;
};

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
