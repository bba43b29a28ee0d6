#pragma once
// The gateway executable under measure: started in a folder of its own with a full terminal
// list, connected to the scripted host (in clear or over TLS, its file log and web console on
// when asked) and signed on; the time of its start-up to its first connect attempt beside a
// plain program's.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <stdexcept>

#include "figure_table.h"
#include "gateway_process.h"
#include "loopback_terminals.h"
#include "plain_relay.h"
#include "road_measurements.h"
#include "scripted_host.h"
#include "self_signed_certificate.h"
#include "support/qt_test_platform.h"
#include "web_page_reader.h"

namespace plx::bench {

// start-up goes there, before the settings are loaded.
constexpr std::uint16_t kFirstConnectPort = 1024;
// The first connect with the loaded settings comes at the first 5 s tick, the sign-on 3 s
// later; the rest is margin for a loaded machine.
constexpr int kSignOnTimeoutMs = 20000;

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

}  // namespace plx::bench
