#pragma once
// A started gateway whose terminals listen on 127.0.10.x, with the default colour patterns;
// the events and datagrams of the start-up are cleared.

#include <functional>
#include <string>
#include <vector>

#include "gateway_fixture.h"

namespace plx::display_test {

using Strings = std::vector<std::string>;

class DisplayGateway : public testing_support::StartedGatewayTest {
  protected:
    DisplayGateway() {
        useDefaultColourPatterns();
        forgetHistory();
    }

    std::string& shown(int row) { return state().TAB_AFF_VALUE[row]; }

    // Runs the task once, at the next pump: "in the middle" of the send under test.
    void atNextPump(std::function<void()> task) {
        pumpTask = std::move(task);
        platform.onPump = [this] {
            if (!pumpTask) return;
            const auto task = std::move(pumpTask);
            pumpTask = nullptr;
            task();
        };
    }

    void forgetHistory() {
        platform.datagrams.clear();
        forgetEvents();
    }

    // The destinations of the datagrams sent, in order; every one must go to port 1024.
    std::vector<std::string> destinations() {
        std::vector<std::string> addresses;
        for (const auto& datagram : platform.datagrams) {
            EXPECT_EQ(datagram.port, 1024);
            addresses.push_back(datagram.address);
        }
        return addresses;
    }

    std::function<void()> pumpTask;
};

// The frame for a value and an attribute field, as the terminal receives it.
inline std::string frameOf(const std::string& value, const std::string& attributes) {
    return "\xFE\xF8\x08\x02><F" + value + "  " + attributes + "\x03";
}

}  // namespace plx::display_test
