#pragma once
// A started gateway on the fake platform, seen from the host link: its socket, its status
// and event lines, and the terminals 0001 and 0002 on 127.0.10.1 and 127.0.10.2.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/f_main.h"
#include "console/gateway.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"

namespace plx::hostlink_test {

struct HostLine {
    HostLine() {
        gateway.start();
        gateway.main().LST_PRODUIT.addItem("0001,,127.0.10.1,Line 1");
        gateway.main().LST_PRODUIT.addItem("0002,,127.0.10.2,Line 2");
        EXPECT_TRUE(gateway.main().SYNC_TABLES());
        gateway.state().TAB_COLOR_PATERN[0] = "1100";
        forgetEvents();
    }

    F_AS400& as400() { return gateway.as400(); }
    fake::FakeTcpClient& tcp() { return platform.tcp(); }
    std::uint8_t linkState() { return gateway.state().LINK_STATE; }

    void forgetEvents() { gateway.events().LST_EVENTS.clear(); }

    // "TEXT" of the event lines "HH:MM:SS MODE:Server [address],TEXT" of one mode.
    std::vector<std::string> events(const std::string& mode) {
        std::vector<std::string> texts;
        const ListBox& lines = gateway.events().LST_EVENTS;
        const std::string marker = " " + mode + ":";
        for (int row = 0; row < lines.count(); ++row) {
            const std::string& line = lines.text(row);
            if (line.compare(8, marker.size(), marker) != 0) continue;
            texts.push_back(line.substr(line.find(',', 8 + marker.size()) + 1));
        }
        return texts;
    }
    std::vector<std::string> statuses() { return events("Status"); }

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

    fake::FakePlatform platform;
    Gateway gateway{platform};
};

class HostGateway : public ::testing::Test, public HostLine {};

}  // namespace plx::hostlink_test
