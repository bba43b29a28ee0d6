// The telnet walk over any stream: every reply is a well-formed answer to a command, the
// stream cut anywhere gives the same replies as whole, and a host that sends back what it
// receives ends the exchange within a few rounds.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "hostlink/telnet_bytes.h"
#include "hostlink/telnet_negotiation.h"

namespace {

using namespace plx::telnet;
using Replies = std::vector<std::string>;
const std::string kTerminalTypeAnswer("\xff\xfa\x18\x00VT100\xff\xf0", 11);
// An answer, echoed, may draw one answer more on the other side of its option: DO, WONT,
// DONT, then nothing.
constexpr int kEchoRounds = 4;

bool wellFormed(const std::string& reply) {
    if (reply == kTerminalTypeAnswer) return true;
    if (reply.size() != 3 || static_cast<unsigned char>(reply[0]) != IAC) return false;
    const auto verb = static_cast<unsigned char>(reply[1]);
    // We perform the terminal type only: WILL is said for nothing else.
    return verb == DO || verb == DONT || verb == WONT ||
           (verb == WILL && static_cast<unsigned char>(reply[2]) == TERMINAL_TYPE);
}

std::string joined(const Replies& replies) {
    std::string bytes;
    for (const std::string& reply : replies) bytes += reply;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t cut = input.ConsumeIntegral<std::uint16_t>();
    const std::string stream = input.ConsumeRemainingBytesAsString();

    plx::TelnetNegotiation whole;
    const Replies replies = whole.replies(stream);
    const auto commands =
        static_cast<std::size_t>(std::count(stream.begin(), stream.end(), char(IAC)));
    FUZZ_CHECK(replies.size() <= commands);
    FUZZ_CHECK(std::all_of(replies.begin(), replies.end(), wellFormed));

    plx::TelnetNegotiation split;
    const std::size_t at = std::min(cut, stream.size());
    Replies splitReplies = split.replies(stream.substr(0, at));
    for (std::string& reply : split.replies(stream.substr(at))) splitReplies.push_back(reply);
    FUZZ_CHECK(splitReplies == replies);

    Replies echoed = replies;
    for (int round = 0; round < kEchoRounds && !echoed.empty(); ++round)
        echoed = whole.replies(joined(echoed));
    FUZZ_CHECK(echoed.empty());
    return 0;
}
