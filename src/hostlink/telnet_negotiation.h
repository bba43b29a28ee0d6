#pragma once
// The client side of the host's telnet option negotiation: present the terminal type
// VT100, accept every option the host offers to perform (but the terminal type, a client's
// alone), refuse every other option the host asks us to perform.

#include <bitset>
#include <string>
#include <vector>

namespace plx {

// The walk over the host stream, kept from one read to the next: a command cut by the end
// of a read is answered once, whole, when its last byte arrives. Options follow the Q method
// of RFC 1143: a request for the state an option already has gets no answer, so a host that
// sends back what it receives cannot start a loop.
class TelnetNegotiation {
  public:
    // The replies to the commands this piece of the stream completes, in the order they
    // stand, one text per send.
    std::vector<std::string> replies(const std::string& piece);

    // A new connection: no command under way, every option off.
    void reset() { *this = TelnetNegotiation(); }

  private:
    // Where the walk stands between two bytes.
    enum class Walk {
        Data,        // screen output; IAC starts a command
        Command,     // after IAC: the command byte
        Option,      // after IAC WILL, WONT, DO or DONT: the option byte
        PassOver,    // after a two-byte command: the byte after it goes with it
        SubOption,   // after IAC SB: the option the sub-negotiation is about
        SubRequest,  // after IAC SB TERMINAL-TYPE: SEND asks for ours
        SubData,     // the rest of the sub-negotiation, up to IAC SE
        SubIac,      // IAC inside the sub-negotiation
    };

    void step(unsigned char byte, std::vector<std::string>& replies);
    void answerOption(unsigned char option, std::vector<std::string>& replies);

    Walk walk_ = Walk::Data;
    unsigned char verb_ = 0;          // WILL, WONT, DO or DONT of the command under way
    bool terminalTypeAsked_ = false;  // the sub-negotiation under way is SB TERMINAL-TYPE SEND
    // Which options are on, each side. We never ask for an option ourselves, so none is ever
    // waiting for an answer: of the Q method's four states only NO and YES occur.
    std::bitset<256> ours_;   // options we perform (the host said DO, we said WILL)
    std::bitset<256> hosts_;  // options the host performs (it said WILL, we said DO)
};

}  // namespace plx
