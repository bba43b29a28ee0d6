#pragma once
// The few socket calls the web console's server makes on sockets it holds as descriptors (an
// accepted connection, a live stream's socket): one implementation per system. The types are
// those of the HTTP library's header, which brings each system's own.

#include <microhttpd.h>

#include <cstddef>
#include <vector>

namespace plx::qtp {

// The address of the connected peer, as the system gives it.
bool peerAddress(MHD_socket socket, sockaddr_storage& address, socklen_t& length);
// Ends both directions at once: whoever reads the socket next meets its end.
void shutDownSocket(MHD_socket socket);
void closeSocket(MHD_socket socket);
void makeNonBlocking(MHD_socket socket);
// Bytes sent from the front of `data`, possibly none now; -1 when the socket is gone.
long long sendSome(MHD_socket socket, const char* data, std::size_t size);
// Bytes read into `buffer`; 0 at the end of the stream; -1 when nothing waits now; -2 when
// the socket is gone.
long long receiveSome(MHD_socket socket, char* buffer, std::size_t size);
// The sockets of a set filled by the library, up to `largest`.
std::vector<MHD_socket> socketsIn(const fd_set& set, MHD_socket largest);

}  // namespace plx::qtp
