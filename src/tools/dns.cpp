#include "tools/dns.h"

#include "platform/platform.h"

namespace plx {

std::string GET_HOST_IP(Platform& platform, const std::string& THE_HOST) {
    // The name is looked up as given, blanks included: the caller decides what to pass.
    const auto address = platform.lookupIPv4(THE_HOST);
    return address ? IP_TO_TEXT(*address) : std::string();
}

std::string IP_TO_TEXT(const std::array<std::uint8_t, 4>& THE_ADDR) {
    return std::to_string(THE_ADDR[0]) + "." + std::to_string(THE_ADDR[1]) + "." +
           std::to_string(THE_ADDR[2]) + "." + std::to_string(THE_ADDR[3]);
}

}  // namespace plx
