// A batch of datagrams in one system call: sendmmsg on Linux, one send each elsewhere.
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/ipv4.h"
#include "platform/qt/qt_udp_socket.h"

namespace plx::qtp {
namespace {

#ifdef __linux__
DatagramOutcome outcomeOf(int error) {
    switch (error) {
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case ENOBUFS:
            return DatagramOutcome::Busy;
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
        case EHOSTDOWN:
            return DatagramOutcome::NoRoute;
        case EACCES:
        case EPERM:
            return DatagramOutcome::Refused;
        case EINVAL:
        case EADDRNOTAVAIL:
        case EAFNOSUPPORT:
        case EDESTADDRREQ:
            return DatagramOutcome::BadAddress;
        default:
            return DatagramOutcome::Failed;
    }
}

// Datagrams handed to one system call at most; a longer batch takes several.
constexpr std::size_t kMessagesPerCall = 64;
#endif

}  // namespace

std::size_t QtUdpSocket::send(std::span<const OutgoingDatagram> datagrams,
                              std::span<DatagramOutcome> outcomes) {
#ifdef __linux__
    noBuffers_ = false;
    if (socket_.state() != QAbstractSocket::BoundState) return sendOneByOne(datagrams, outcomes);
    const auto descriptor = static_cast<int>(socket_.socketDescriptor());
    std::array<sockaddr_in, kMessagesPerCall> addresses;
    std::array<iovec, kMessagesPerCall> payloads;
    std::array<mmsghdr, kMessagesPerCall> messages;
    std::array<std::size_t, kMessagesPerCall> numbers;  // the datagram each message carries
    std::size_t next = 0;                               // the first datagram not yet handled
    while (next < datagrams.size()) {
        // The next messages, past the texts that are no address at all.
        std::size_t count = 0;
        std::size_t number = next;
        for (; number < datagrams.size() && count < kMessagesPerCall; ++number) {
            const OutgoingDatagram& datagram = datagrams[number];
            const auto bytes = parseDottedIPv4(datagram.ipv4);
            if (!bytes) {
                outcomes[number] = DatagramOutcome::BadAddress;
                continue;
            }
            sockaddr_in& address = addresses[count];
            address = {};
            address.sin_family = AF_INET;
            address.sin_port = htons(datagram.port);
            std::memcpy(&address.sin_addr, bytes->data(), bytes->size());
            payloads[count] = {const_cast<char*>(datagram.bytes.data()), datagram.bytes.size()};
            messages[count] = {};
            messages[count].msg_hdr.msg_name = &address;
            messages[count].msg_hdr.msg_namelen = sizeof address;
            messages[count].msg_hdr.msg_iov = &payloads[count];
            messages[count].msg_hdr.msg_iovlen = 1;
            numbers[count++] = number;
        }
        // The call stops at the first message that fails, and tells its error only when it
        // is the first: what follows it is handed over again.
        std::size_t done = 0;
        while (done < count) {
            const int sent = ::sendmmsg(descriptor, &messages[done],
                                        static_cast<unsigned>(count - done), MSG_NOSIGNAL);
            if (sent > 0) {
                for (std::size_t i = done; i < done + static_cast<std::size_t>(sent); ++i) {
                    const bool whole = messages[i].msg_len == datagrams[numbers[i]].bytes.size();
                    outcomes[numbers[i]] = whole ? DatagramOutcome::Left : DatagramOutcome::Failed;
                }
                done += static_cast<std::size_t>(sent);
                continue;
            }
            if (sent < 0 && errno == EINTR) continue;
            const DatagramOutcome outcome = sent < 0 ? outcomeOf(errno) : DatagramOutcome::Failed;
            noBuffers_ = sent < 0 && errno == ENOBUFS;
            if (outcome == DatagramOutcome::Busy) return numbers[done];
            outcomes[numbers[done++]] = outcome;
        }
        next = number;
    }
    return datagrams.size();
#else
    return sendOneByOne(datagrams, outcomes);
#endif
}

}  // namespace plx::qtp
