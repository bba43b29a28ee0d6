#include "platform/qt/qt_udp_socket.h"

#include <QHostAddress>

#include "platform/ipv4.h"
#include "platform/qt/qt_address.h"

namespace plx::qtp {

QtUdpSocket::QtUdpSocket() {
    // An IPv4 socket from the start, so that a batch can hand it IPv4 addresses itself; a
    // bind that fails here is tried again by the first send.
    socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
}

bool QtUdpSocket::sendDatagram(const std::string& ipv4, std::uint16_t port,
                               const std::string& bytes) {
    const auto address = parseDottedIPv4(ipv4);
    if (!address) return false;
    const auto size = static_cast<qint64>(bytes.size());
    return socket_.writeDatagram(bytes.data(), size, toQt(*address), port) == size;
}

}  // namespace plx::qtp
