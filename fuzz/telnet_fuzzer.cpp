// The telnet walk over any chunk: every reply is a well-formed answer to a command that
// stands in the chunk, and cutting the chunk short only drops replies from the end.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "hostlink/telnet_bytes.h"
#include "hostlink/telnet_negotiation.h"

namespace {

using namespace plx::telnet;
const std::string kTerminalTypeAnswer("\xff\xfa\x18\x00VT100\xff\xf0", 11);

bool standsInChunk(const std::string& chunk, unsigned char command, unsigned char option) {
    return chunk.find(std::string{char(IAC), char(command), char(option)}) != std::string::npos;
}

// A three-byte reply answers a command of the chunk by the fixed policy.
bool answersACommand(const std::string& chunk, const std::string& reply) {
    if (reply.size() != 3 || static_cast<unsigned char>(reply[0]) != IAC) return false;
    const auto option = static_cast<unsigned char>(reply[2]);
    switch (static_cast<unsigned char>(reply[1])) {
        case DO:
            return standsInChunk(chunk, WILL, option);
        case DONT:
            return standsInChunk(chunk, WONT, option);
        case WILL:
            return option == TERMINAL_TYPE && standsInChunk(chunk, DO, option);
        case WONT:
            return standsInChunk(chunk, DONT, option) ||
                   (option != TERMINAL_TYPE && standsInChunk(chunk, DO, option));
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t cut = input.ConsumeIntegral<std::uint16_t>();
    const std::string chunk = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> replies = plx::telnetReplies(chunk);
    const auto commands =
        static_cast<std::size_t>(std::count(chunk.begin(), chunk.end(), char(IAC)));
    FUZZ_CHECK(replies.size() <= commands);
    for (const std::string& reply : replies) {
        FUZZ_CHECK(reply == kTerminalTypeAnswer || answersACommand(chunk, reply));
        if (reply == kTerminalTypeAnswer) FUZZ_CHECK(chunk.find("\xff\xfa") != std::string::npos);
    }

    const std::vector<std::string> shortened =
        plx::telnetReplies(chunk.substr(0, std::min(cut, chunk.size())));
    FUZZ_CHECK(shortened.size() <= replies.size());
    FUZZ_CHECK(std::equal(shortened.begin(), shortened.end(), replies.begin()));
    return 0;
}
