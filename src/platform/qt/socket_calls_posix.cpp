#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/qt/socket_calls.h"

namespace plx::qtp {

bool peerAddress(MHD_socket socket, sockaddr_storage& address, socklen_t& length) {
    length = sizeof address;
    return ::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
}

void shutDownSocket(MHD_socket socket) {
    ::shutdown(socket, SHUT_RDWR);
}

void closeSocket(MHD_socket socket) {
    ::close(socket);
}

void makeNonBlocking(MHD_socket socket) {
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
}

long long sendSome(MHD_socket socket, const char* data, std::size_t size) {
    const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0) return sent;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

long long receiveSome(MHD_socket socket, char* buffer, std::size_t size) {
    const ssize_t got = ::recv(socket, buffer, size, MSG_DONTWAIT);
    if (got >= 0) return got;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? -1 : -2;
}

std::vector<MHD_socket> socketsIn(const fd_set& set, MHD_socket largest) {
    std::vector<MHD_socket> sockets;
    for (MHD_socket socket = 0; socket <= largest; ++socket) {
        if (FD_ISSET(socket, &set)) sockets.push_back(socket);
    }
    return sockets;
}

}  // namespace plx::qtp
