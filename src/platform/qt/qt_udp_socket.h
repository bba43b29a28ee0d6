#pragma once
// Terminal datagrams over one QUdpSocket, bound to a port the system picks when it is made.

#include <QSocketNotifier>
#include <QUdpSocket>
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace plx::qtp {

class QtUdpSocket : public UdpSocketPort {
  public:
    // `nest` runs each wait as the platform runs a pump (windows do not repaint meanwhile).
    using Nest = std::function<void(const std::function<void()>& wait)>;
    explicit QtUdpSocket(Nest nest);

    // Only a dotted IPv4 address is accepted: a name is refused, never looked up. One system
    // call for the whole batch where the system has one (Linux).
    std::size_t send(std::span<const OutgoingDatagram> datagrams,
                     std::span<DatagramOutcome> outcomes) override;
    // Until the system says the socket takes datagrams again; after "no buffers", which the
    // system signals no end of, a short pause instead.
    void awaitWritable(int timeoutMs) override;

  private:
    // Through Qt, one by one: the systems without a batch call, and a socket whose bind
    // failed (Qt binds it at its first datagram).
    std::size_t sendOneByOne(std::span<const OutgoingDatagram> datagrams,
                             std::span<DatagramOutcome> outcomes);

    static constexpr int kNoBuffersPauseMs = 1;
    Nest nest_;
    QUdpSocket socket_;
    // One notifier however many waits are nested (a handler run in one may wait as well).
    std::unique_ptr<QSocketNotifier> writable_;
    int waits_ = 0;
    bool noBuffers_ = false;  // the last datagram refused was refused for "no buffers"
};

}  // namespace plx::qtp
