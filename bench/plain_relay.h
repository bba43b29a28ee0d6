#pragma once
// The raw limit of the whole road: a child process that reads the host's bytes from a
// loopback TCP connection and, for every frame's closing ">", sends two 20-byte datagrams
// to one terminal. Nothing else: no negotiation, no memory, no log, no event loop.
#include <sys/wait.h>

#include <csignal>

#include "loopback_terminals.h"

namespace plx::bench {

// A connected loopback TCP pair: `writer` for the host's side, `reader` for the relay's.
struct TcpPair {
    int writer = -1;
    int reader = -1;
};

inline TcpPair loopbackTcpPair() {
    TcpPair pair;
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = socketAddress("127.0.0.1", 0);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("loopback listener");
        std::exit(1);
    }
    pair.writer = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(pair.writer, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        std::perror("loopback connect");
        std::exit(1);
    }
    pair.reader = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    close(listener);
    return pair;
}

// Host bytes handed to a connected socket with write(2), as a plain program writes them.
inline void writeAll(int socket, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(socket, bytes.data() + done, bytes.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

class PlainRelay {
  public:
    explicit PlainRelay(const sockaddr_in& terminal) {
        const TcpPair pair = loopbackTcpPair();
        child_ = fork();
        if (child_ == 0) {
            close(pair.writer);
            relay(pair.reader, terminal);  // never returns
        }
        close(pair.reader);
        host_ = pair.writer;
    }
    ~PlainRelay() {
        close(host_);  // end of stream: the child leaves
        int status = 0;
        if (child_ > 0) waitpid(child_, &status, 0);
    }
    PlainRelay(const PlainRelay&) = delete;
    PlainRelay& operator=(const PlainRelay&) = delete;

    void write(const std::string& bytes) { writeAll(host_, bytes); }

  private:
    [[noreturn]] static void relay(int from, const sockaddr_in& to) {
        const int out = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const char frame[kFrameBytes] = {};
        char buffer[65536];
        for (;;) {
            const ssize_t got = read(from, buffer, sizeof buffer);
            if (got <= 0) _exit(0);
            for (ssize_t i = 0; i < got; ++i) {
                if (buffer[i] != '>') continue;
                for (int copy = 0; copy < 2; ++copy) {
                    sendto(out, frame, sizeof frame, 0, reinterpret_cast<const sockaddr*>(&to),
                           sizeof to);
                }
            }
        }
    }

    pid_t child_ = -1;
    int host_ = -1;
};

}  // namespace plx::bench
