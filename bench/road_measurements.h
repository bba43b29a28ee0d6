#pragma once
// What the benchmark measures on the display road, the gateway's and the raw limits alike:
// frames pushed to one terminal, the latency of each frame at a given rate, a broadcast to
// every terminal, and the plain loops of sendto() and of loopback TCP they stand beside.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "loopback_terminals.h"
#include "plain_relay.h"

namespace plx::bench {

// How host bytes reach the gateway (through the scripted host, or written straight).
using Write = std::function<void(const std::string&)>;

constexpr int kOneTerminal = 1;       // row and number of the terminal of the one-terminal figures
constexpr int kFramesPerWrite = 16;   // host frames per write: a screen's worth of commands
constexpr int kFramesInFlight = 128;  // written but not yet delivered, well within socket buffers
constexpr int kLossTimeoutMs = 500;   // no datagram for this long: the frames in flight are lost
// Between two readings of a terminal whose window of frames is full.
constexpr std::chrono::microseconds kDrainPause{200};

inline std::string hostFrame(const char* number, long value) {
    char frame[16];
    std::snprintf(frame, sizeof frame, "<%s%04ld0>", number, value % 10000);
    return frame;
}

struct Push {
    double seconds = 0;
    long delivered = 0;  // frames whose two datagrams arrived
    long lost = 0;
    double perSecond() const { return seconds > 0 ? delivered / seconds : 0; }
};

// `count` frames to the one terminal, written kFramesPerWrite at a time with at most
// kFramesInFlight outstanding, until every one has arrived or is given up as lost.
inline Push pushFrames(long count, const Write& write, TerminalWall& wall, long& value) {
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
inline double rawSendRate(long count, TerminalWall& wall) {
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
inline double rawTcpRate(long count) {
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
inline std::vector<double> latencies(int rate, int count, const Write& write, TerminalWall& wall,
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
inline double broadcastMs(const Write& write, TerminalWall& wall, long& value) {
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
inline double rawBroadcastMs(TerminalWall& wall) {
    RawSender raw;
    wall.drain();
    const auto start = Clock::now();
    for (int i = 0; i < wall.size(); ++i) raw.send(wall.address(i));
    const double ms = 1000 * secondsSince(start);
    wall.drain();
    return ms;
}
}  // namespace plx::bench
