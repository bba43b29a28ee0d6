#pragma once
// A started gateway seen from the host link: its socket, its status lines, and the
// terminals 0001 and 0002 on 127.0.10.1 and 127.0.10.2.

#include <cstdint>
#include <string>
#include <vector>

#include "gateway_fixture.h"

namespace plx::hostlink_test {

// Not a test itself, so that one test can play a session through several fresh gateways.
struct HostLine : testing_support::FakeGateway {
    HostLine() {
        gateway.start();
        addTerminal(1);
        addTerminal(2);
        useDefaultColourPatterns();
        forgetEvents();
    }

    fake::FakeTcpClient& tcp() { return platform.tcp(); }
    std::uint8_t linkState() { return state().LINK_STATE; }
    std::vector<std::string> statuses() { return eventTexts("Status"); }

    // From start-up to ONLINE: the tick that connects with the settings, the host accepts.
    void goOnline() {
        platform.advance(F_AS400::kConnectPeriodMs);
        ASSERT_EQ(tcp().state(), TcpClientPort::State::Connecting);
        tcp().acceptConnection();
        platform.runEvents();
        ASSERT_EQ(linkState(), ONLINE);
    }

    // Host data arrives and the event loop delivers it.
    void hostSends(const std::string& bytes) {
        tcp().receive(bytes);
        platform.runEvents();
    }

    // The display commands that reached the terminals, as "address value" per datagram.
    std::vector<std::string> shown() {
        std::vector<std::string> result;
        for (const auto& datagram : platform.datagrams) {
            result.push_back(datagram.address + " " + datagram.bytes.substr(7, 4));
        }
        return result;
    }
};

class HostGateway : public ::testing::Test, public HostLine {};

}  // namespace plx::hostlink_test
