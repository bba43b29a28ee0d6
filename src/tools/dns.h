#pragma once
// Host name resolution for the host link.

#include <array>
#include <cstdint>
#include <string>

namespace plx {

class Platform;

// The host's first IPv4 address as dotted text, or empty when the name does not resolve.
std::string GET_HOST_IP(Platform& platform, const std::string& THE_HOST);
// Four address bytes, most significant first, as "a.b.c.d".
std::string IP_TO_TEXT(const std::array<std::uint8_t, 4>& THE_ADDR);

}  // namespace plx
