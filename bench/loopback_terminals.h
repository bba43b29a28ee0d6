#pragma once
// What every benchmark shares: terminals on loopback as plain datagram sockets, the raw
// sender that gives the machine's limit, and small helpers for folders and statistics.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace plx::bench {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kTerminalPort = 1024;
constexpr std::size_t kFrameBytes = 20;
// A small datagram takes about 1 KiB of a receive buffer: 1 MiB holds about a thousand.
constexpr int kReceiveBufferBytes = 1 << 20;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Terminal i of a wall whose addresses start at 127.0.`block`.1 listens on
// 127.0.(block + i / 250).(1 + i % 250): all on loopback.
inline std::string terminalAddress(int i, int block = 10) {
    return "127.0." + std::to_string(block + i / 250) + "." + std::to_string(1 + i % 250);
}

inline sockaddr_in socketAddress(const std::string& dotted, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, dotted.c_str(), &address.sin_addr);
    return address;
}

// The terminals: one bound datagram socket per address, read by the benchmark itself. The
// wall stands at 127.0.10.1 onwards; when another program holds one of those addresses it
// moves to the next free block of ten (127.0.20.1, 127.0.30.1, ...).
class TerminalWall {
  public:
    explicit TerminalWall(int count) : epoll_(epoll_create1(EPOLL_CLOEXEC)) {
        const int blocks = (count + 249) / 250;
        for (block_ = 10; block_ + blocks <= 250; block_ += 10) {
            if (bindAll(count)) return;
        }
        std::fprintf(stderr, "no free loopback block for %d terminals\n", count);
        std::exit(1);
    }
    ~TerminalWall() {
        for (const int fd : fds_) close(fd);
        close(epoll_);
    }
    TerminalWall(const TerminalWall&) = delete;
    TerminalWall& operator=(const TerminalWall&) = delete;

    int size() const { return static_cast<int>(fds_.size()); }
    std::string addressText(int terminal) const { return terminalAddress(terminal, block_); }
    const sockaddr_in& address(int terminal) const { return addresses_[terminal]; }

    // Empties every terminal; returns how many datagrams were waiting.
    long drain() {
        long count = 0;
        for (int i = 0; i < size(); ++i) count += drain(i);
        return count;
    }
    long drain(int terminal) {
        long count = 0;
        char buffer[64];
        while (recv(fds_[terminal], buffer, sizeof buffer, 0) >= 0) ++count;
        return count;
    }
    // Waits up to timeoutMs for a datagram at one terminal; returns how many were read.
    long await(int terminal, int timeoutMs) {
        pollfd ready{fds_[terminal], POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) <= 0) return 0;
        return drain(terminal);
    }
    // Reads every terminal until `expected` datagrams arrived or timeoutMs passed without
    // any; returns how many arrived.
    long awaitAll(long expected, int timeoutMs) {
        long count = 0;
        epoll_event events[64];
        while (count < expected) {
            const int ready = epoll_wait(epoll_, events, 64, timeoutMs);
            if (ready <= 0) break;
            for (int i = 0; i < ready; ++i) count += drain(static_cast<int>(events[i].data.u32));
        }
        return count;
    }

  private:
    // Binds every terminal in the current block; on failure nothing stays bound.
    bool bindAll(int count) {
        for (int i = 0; i < count; ++i) {
            const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            const sockaddr_in address = socketAddress(terminalAddress(i, block_), kTerminalPort);
            if (fd < 0 ||
                bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                if (fd >= 0) close(fd);
                for (const int bound : fds_) close(bound);  // also leaves the epoll set
                fds_.clear();
                addresses_.clear();
                return false;
            }
            // Room for a full window of small datagrams between two readings.
            const int bytes = kReceiveBufferBytes;
            if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0) {
                setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
            }
            epoll_event event{};
            event.events = EPOLLIN;
            event.data.u32 = static_cast<std::uint32_t>(i);
            epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
            fds_.push_back(fd);
            addresses_.push_back(address);
        }
        return true;
    }

    int epoll_;
    int block_ = 10;
    std::vector<int> fds_;
    std::vector<sockaddr_in> addresses_;
};

// The raw limit: a plain loop of two sendto() of a 20-byte frame per command.
class RawSender {
  public:
    RawSender() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~RawSender() { close(fd_); }
    RawSender(const RawSender&) = delete;
    RawSender& operator=(const RawSender&) = delete;

    // Sends one command (two copies of a frame) to the address.
    void send(const sockaddr_in& to) {
        const char frame[kFrameBytes] = {};
        for (int copy = 0; copy < 2; ++copy) {
            sendto(fd_, frame, sizeof frame, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        }
    }

  private:
    int fd_;
};

inline void writeFile(const QString& path, const std::string& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(content.data(), static_cast<qint64>(content.size())) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// Products.cfg for the wall's terminals, numbered from `first` on.
inline std::string productList(const TerminalWall& wall, int first) {
    std::string products;
    for (int i = 0; i < wall.size(); ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", first + i);
        products += std::string(number) + ",," + wall.addressText(i) + ",bench\r\n";
    }
    return products;
}

// Lets the process open one socket per terminal.
inline void raiseFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// The value at fraction q (0 to 1) of the sorted figures; 0 when there are none.
inline double quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace plx::bench
