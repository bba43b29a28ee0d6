// A batch of datagrams in one system call: sendmmsg on Linux, one send each elsewhere.
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/ipv4.h"
#include "platform/qt/qt_udp_socket.h"

namespace plx::qtp {

std::vector<bool> QtUdpSocket::sendDatagrams(const std::vector<OutgoingDatagram>& datagrams) {
#ifdef __linux__
    if (socket_.state() != QAbstractSocket::BoundState)
        return UdpSocketPort::sendDatagrams(datagrams);
    std::vector<bool> left(datagrams.size(), false);
    std::vector<sockaddr_in> addresses;
    std::vector<iovec> payloads;
    std::vector<mmsghdr> messages;
    std::vector<std::size_t> numbers;  // the datagram each message carries
    addresses.reserve(datagrams.size());
    payloads.reserve(datagrams.size());
    for (std::size_t number = 0; number < datagrams.size(); ++number) {
        const OutgoingDatagram& datagram = datagrams[number];
        const auto bytes = parseDottedIPv4(datagram.ipv4);
        if (!bytes) continue;  // refused as a single send refuses it
        sockaddr_in& address = addresses.emplace_back();
        address.sin_family = AF_INET;
        address.sin_port = htons(datagram.port);
        std::memcpy(&address.sin_addr, bytes->data(), bytes->size());
        payloads.push_back({const_cast<char*>(datagram.bytes.data()), datagram.bytes.size()});
        mmsghdr& message = messages.emplace_back();
        message.msg_hdr.msg_name = &address;
        message.msg_hdr.msg_namelen = sizeof address;
        message.msg_hdr.msg_iov = &payloads.back();
        message.msg_hdr.msg_iovlen = 1;
        numbers.push_back(number);
    }
    const auto descriptor = static_cast<int>(socket_.socketDescriptor());
    // The call stops at the first datagram that fails (the error is told only when it is the
    // first): that one is given up, as its own send would be, and the rest tried again.
    for (std::size_t next = 0; next < messages.size();) {
        const int sent = ::sendmmsg(descriptor, &messages[next],
                                    static_cast<unsigned>(messages.size() - next), MSG_NOSIGNAL);
        if (sent <= 0) {
            if (sent == 0 || errno != EINTR) ++next;
            continue;
        }
        for (std::size_t done = next; done < next + static_cast<std::size_t>(sent); ++done)
            left[numbers[done]] = messages[done].msg_len == datagrams[numbers[done]].bytes.size();
        next += static_cast<std::size_t>(sent);
    }
    return left;
#else
    return UdpSocketPort::sendDatagrams(datagrams);
#endif
}

}  // namespace plx::qtp
