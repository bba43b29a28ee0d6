#include "hostlink/telnet_negotiation.h"

#include "hostlink/telnet_bytes.h"

namespace plx {

namespace {

using namespace telnet;

std::string bytes(std::initializer_list<unsigned char> values) {
    std::string text;
    for (const unsigned char value : values) text += static_cast<char>(value);
    return text;
}

const std::string kTerminalTypeAnswer =
    bytes({IAC, SB, TERMINAL_TYPE, IS}) + "VT100" + bytes({IAC, SE});

}  // namespace

std::vector<std::string> TelnetNegotiation::replies(const std::string& piece) {
    std::vector<std::string> replies;
    for (std::size_t at = 0; at < piece.size(); ++at) {
        // Screen output is passed over at once, to the next IAC.
        if (walk_ == Walk::Data && (at = piece.find(static_cast<char>(IAC), at)) == piece.npos)
            break;
        step(static_cast<unsigned char>(piece[at]), replies);
    }
    return replies;
}

void TelnetNegotiation::step(unsigned char byte, std::vector<std::string>& replies) {
    switch (walk_) {
        case Walk::Data:
            // Screen output is the frame scanner's; IAC starts a command.
            if (byte == IAC) walk_ = Walk::Command;
            return;
        case Walk::Command:
            if (byte >= WILL && byte <= DONT) {
                verb_ = byte;
                walk_ = Walk::Option;
            } else if (byte == SB) {
                walk_ = Walk::SubOption;
            } else if (byte != IAC) {
                // Any other command (NOP, GA, ...) has no answer, and the byte after it has
                // always been passed over with it.
                walk_ = Walk::PassOver;
            }
            // IAC IAC: the second IAC starts the command in its turn, as it always has.
            return;
        case Walk::Option:
            answerOption(byte, replies);
            walk_ = Walk::Data;
            return;
        case Walk::PassOver:
            walk_ = Walk::Data;
            return;
        case Walk::SubOption:
            walk_ = byte == TERMINAL_TYPE ? Walk::SubRequest
                    : byte == IAC         ? Walk::SubIac
                                          : Walk::SubData;
            return;
        case Walk::SubRequest:
            // The host asks for our terminal type (RFC 1091); our own answer sent back to us
            // (IS) asks nothing, so a host that echoes it gets no second one.
            terminalTypeAsked_ = byte == SEND;
            walk_ = byte == IAC ? Walk::SubIac : Walk::SubData;
            return;
        case Walk::SubData:
            if (byte == IAC) walk_ = Walk::SubIac;
            return;
        case Walk::SubIac:
            if (byte == IAC) {
                walk_ = Walk::SubData;  // an escaped 255 among the data
                return;
            }
            // IAC SE ends it: answered once it is whole, and only once we have agreed to tell
            // the terminal type. Any other command ends a sub-negotiation that was never closed,
            // unanswered, and is taken as the command it is.
            if (byte == SE && terminalTypeAsked_ && ours_[TERMINAL_TYPE])
                replies.push_back(kTerminalTypeAnswer);
            terminalTypeAsked_ = false;
            walk_ = byte == SE ? Walk::Data : Walk::Command;
            if (byte != SE) step(byte, replies);
            return;
    }
}

void TelnetNegotiation::answerOption(unsigned char option, std::vector<std::string>& replies) {
    const auto answer = [&](unsigned char verb) { replies.push_back(bytes({IAC, verb, option})); };
    // A request for the state the option already has is not answered; one that changes it is
    // agreed, and the answer says the new state.
    const auto agree = [&](std::bitset<256>& side, bool on, unsigned char verb) {
        if (side[option] == on) return;
        side[option] = on;
        answer(verb);
    };
    switch (verb_) {
        case WILL:
            // Every option the host offers to perform is accepted, but the terminal type: only
            // a client tells one (RFC 1091), and no option is then one we both perform and
            // accept from the host, so a host that sends our answers back cannot keep us
            // switching one on and off between the two sides.
            if (option == TERMINAL_TYPE) {
                answer(DONT);
            } else {
                agree(hosts_, true, DO);
            }
            return;
        case WONT:
            agree(hosts_, false, DONT);
            return;
        case DO:
            // The terminal type is the one option we perform. Any other is refused each time
            // it is asked: our refusal sent back to us is a WONT for an option that is off,
            // which gets no answer.
            if (option == TERMINAL_TYPE) {
                agree(ours_, true, WILL);
            } else {
                answer(WONT);
            }
            return;
        case DONT:
            agree(ours_, false, WONT);
            return;
    }
}

}  // namespace plx
