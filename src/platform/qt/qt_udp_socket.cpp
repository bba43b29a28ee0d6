#include "platform/qt/qt_udp_socket.h"

#include <QHostAddress>

#include "platform/ipv4.h"

namespace plx::qtp {
namespace {

// The four decimal parts of a checked dotted address. Parsed here rather than by
// QHostAddress, which reads a part with a leading zero ("010") as octal.
quint32 addressValue(const std::string& dotted) {
    quint32 value = 0;
    quint32 part = 0;
    for (const char c : dotted) {
        if (c == '.') {
            value = (value << 8) | part;
            part = 0;
        } else {
            part = part * 10 + static_cast<quint32>(c - '0');
        }
    }
    return (value << 8) | part;
}

}  // namespace

bool QtUdpSocket::sendDatagram(const std::string& ipv4, std::uint16_t port,
                               const std::string& bytes) {
    if (!isDottedIPv4(ipv4)) return false;
    const auto size = static_cast<qint64>(bytes.size());
    return socket_.writeDatagram(bytes.data(), size, QHostAddress(addressValue(ipv4)), port) ==
           size;
}

}  // namespace plx::qtp
