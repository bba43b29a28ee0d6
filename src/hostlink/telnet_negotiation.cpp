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

std::vector<std::string> telnetReplies(const std::string& chunk) {
    std::vector<std::string> replies;
    const std::size_t length = chunk.size();
    const auto at = [&chunk](std::size_t i) { return static_cast<unsigned char>(chunk[i]); };

    for (std::size_t p = 0; p < length; ++p) {
        if (at(p) != IAC) continue;
        if (p + 1 >= length) break;  // IAC cut from its command
        const unsigned char command = at(p + 1);
        switch (command) {
            case SB:
                // Whatever the sub-negotiation asks, the answer is our terminal type; the
                // host's request IAC SB 24 1 IAC SE is passed over exactly by +5 and the step.
                replies.push_back(kTerminalTypeAnswer);
                p += 5;
                break;
            case WILL:
            case WONT:
            case DO:
            case DONT: {
                if (p + 2 >= length) return replies;  // option byte cut off: not answered
                const unsigned char option = at(p + 2);
                unsigned char answer = 0;
                if (command == WILL) {
                    answer = DO;  // accept every option the host performs
                } else if (command == WONT) {
                    answer = DONT;
                } else if (command == DO && option == TERMINAL_TYPE) {
                    answer = WILL;  // the one option we perform
                } else {
                    answer = WONT;  // DO anything else, and every DONT
                }
                replies.push_back(bytes({IAC, answer, option}));
                p += 2;
                break;
            }
            case IAC:
                // IAC IAC: no reply, and the second IAC is examined in its turn.
                break;
            default:
                // Any other command (NOP, GA, ...): no reply, and the byte after it is
                // passed over with it.
                p += 2;
                break;
        }
    }
    return replies;
}

}  // namespace plx
