#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/qt/socket_calls.h"

namespace plx::qtp {

bool peerAddress(MHD_socket socket, sockaddr_storage& address, socklen_t& length) {
    length = sizeof address;
    return ::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
}

void shutDownSocket(MHD_socket socket) {
    ::shutdown(socket, SD_BOTH);
}

void closeSocket(MHD_socket socket) {
    ::closesocket(socket);
}

void makeNonBlocking(MHD_socket socket) {
    u_long on = 1;
    ::ioctlsocket(socket, FIONBIO, &on);
}

long long sendSome(MHD_socket socket, const char* data, std::size_t size) {
    const int sent = ::send(socket, data, static_cast<int>(size), 0);
    if (sent != SOCKET_ERROR) return sent;
    return ::WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

long long receiveSome(MHD_socket socket, char* buffer, std::size_t size) {
    const int got = ::recv(socket, buffer, static_cast<int>(size), 0);
    if (got != SOCKET_ERROR) return got;
    return ::WSAGetLastError() == WSAEWOULDBLOCK ? -1 : -2;
}

// A Windows set is a list of sockets, not a map of numbers.
std::vector<MHD_socket> socketsIn(const fd_set& set, MHD_socket) {
    return {set.fd_array, set.fd_array + set.fd_count};
}

}  // namespace plx::qtp
