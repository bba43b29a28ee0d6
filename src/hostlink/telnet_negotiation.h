#pragma once
// The client side of the host's telnet option negotiation: present the terminal type
// VT100, accept every option the host offers to perform, refuse every other option the
// host asks us to perform.

#include <string>
#include <vector>

namespace plx {

// The replies to the telnet commands found in one chunk of host data, in the order the
// commands stand, one text per send. Each chunk is negotiated by itself: nothing is
// carried from one chunk to the next, and a command cut by the end of the chunk is not
// answered (a reply without its option byte would be garbage to the host).
std::vector<std::string> telnetReplies(const std::string& chunk);

}  // namespace plx
