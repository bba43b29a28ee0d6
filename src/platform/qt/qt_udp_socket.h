#pragma once
// Terminal datagrams over one QUdpSocket, bound to a port the system picks when it is made.

#include <QUdpSocket>

#include "platform/platform.h"

namespace plx::qtp {

class QtUdpSocket : public UdpSocketPort {
  public:
    QtUdpSocket();
    // Only a dotted IPv4 address is accepted: a name is refused, never looked up.
    bool sendDatagram(const std::string& ipv4, std::uint16_t port,
                      const std::string& bytes) override;
#ifndef Q_OS_WIN
    // One system call for the whole batch where the system has one (Linux).
    std::vector<bool> sendDatagrams(const std::vector<OutgoingDatagram>& datagrams) override;
#endif

  private:
    QUdpSocket socket_;
};

}  // namespace plx::qtp
