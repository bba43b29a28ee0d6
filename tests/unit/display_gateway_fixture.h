#pragma once
// A started gateway on the fake platform whose terminals listen on 127.0.10.x, with the
// default colour patterns; the events and datagrams of the start-up are cleared.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/f_main.h"
#include "console/gateway.h"
#include "console/numeric_text.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"

namespace plx::display_test {

using Strings = std::vector<std::string>;

struct Event {
    std::string mode, source, text;
};

class DisplayGateway : public ::testing::Test {
protected:
    DisplayGateway() {
        gateway.start();
        auto& colours = gateway.state().TAB_COLOR_PATERN;
        colours.fill("");
        const char* patterns[] = {"1100", "0011", "1111", "0000", "6666",
                                  "1144", "1155", "1166", "4411", "5511"};
        for (int digit = 0; digit < 10; ++digit) colours[digit] = patterns[digit];
        colours['A'] = "6611";
        forgetHistory();
    }

    F_MAIN& main() { return gateway.main(); }
    F_AS400& as400() { return gateway.as400(); }
    ListBox& list() { return gateway.main().LST_PRODUIT; }
    std::string& shown(int row) { return gateway.state().TAB_AFF_VALUE[row]; }

    // Appends a terminal to the list and rebuilds the tables; returns its address.
    std::string addTerminal(int number) {
        const std::string address = "127.0.10." + std::to_string(list().count() + 1);
        list().addItem(fourDigits(number) + ",," + address + ",Line " + std::to_string(number));
        EXPECT_TRUE(main().SYNC_TABLES());
        return address;
    }

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
        gateway.events().LST_EVENTS.clear();
    }

    // Event lines "HH:MM:SS MODE:SOURCE,TEXT", oldest first; all modes when mode is empty.
    std::vector<Event> events(const std::string& mode = {}) {
        std::vector<Event> found;
        const ListBox& lines = gateway.events().LST_EVENTS;
        for (int row = 0; row < lines.count(); ++row) {
            const std::string& line = lines.text(row);
            const auto colon = line.find(':', 9);
            const auto comma = line.find(',', colon);
            if (line.size() < 9 || colon == std::string::npos || comma == std::string::npos) {
                ADD_FAILURE() << "malformed event line: " << line;
                continue;
            }
            Event event{line.substr(9, colon - 9), line.substr(colon + 1, comma - colon - 1),
                        line.substr(comma + 1)};
            if (mode.empty() || event.mode == mode) found.push_back(event);
        }
        return found;
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

    fake::FakePlatform platform;
    Gateway gateway{platform};
    std::function<void()> pumpTask;
};

// The frame for a value and an attribute field, as the terminal receives it.
inline std::string frameOf(const std::string& value, const std::string& attributes) {
    return "\xFE\xF8\x08\x02><F" + value + "  " + attributes + "\x03";
}

}  // namespace plx::display_test
