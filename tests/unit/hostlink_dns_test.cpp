#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "tools/dns.h"

namespace plx {
namespace {

TEST(HostlinkDns, AddressBytesWrittenMostSignificantFirstWithoutLeadingZeros) {
    EXPECT_EQ(IP_TO_TEXT({127, 0, 10, 1}), "127.0.10.1");
    EXPECT_EQ(IP_TO_TEXT({127, 128, 200, 254}), "127.128.200.254");
    EXPECT_EQ(IP_TO_TEXT({0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(IP_TO_TEXT({255, 255, 255, 255}), "255.255.255.255");
}

TEST(HostlinkDns, NameResolvesToItsFirstAddressOrToNothing) {
    fake::FakePlatform platform;
    platform.hostNames["as400"] = {127, 0, 10, 5};
    EXPECT_EQ(GET_HOST_IP(platform, "as400"), "127.0.10.5");
    EXPECT_EQ(GET_HOST_IP(platform, "nowhere"), "");
    // Looked up as given: the blanks are the caller's business.
    EXPECT_EQ(GET_HOST_IP(platform, " as400"), "");
    EXPECT_EQ(platform.lookups, (std::vector<std::string>{"as400", "nowhere", " as400"}));
}

}  // namespace
}  // namespace plx
