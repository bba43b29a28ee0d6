#pragma once
// Terminal datagrams over one QUdpSocket; the system picks its local port at the first send.

#include <QUdpSocket>

#include "platform/platform.h"

namespace plx::qtp {

class QtUdpSocket : public UdpSocketPort {
  public:
    // Only a dotted IPv4 address is accepted: a name is refused, never looked up.
    bool sendDatagram(const std::string& ipv4, std::uint16_t port,
                      const std::string& bytes) override;

  private:
    QUdpSocket socket_;
};

}  // namespace plx::qtp
