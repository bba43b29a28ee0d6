#pragma once
// A gateway on the fake platform, in its own empty folder (in memory), and what the tests of
// every subsystem do and read through it: the terminal list, the events, the files of the
// folder, the host connection, the datagrams and the terminal editor.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"
#include "platform/system_text.h"
#include "shared/numeric_text.h"
#include "support/colour_defaults.h"

namespace plx::testing_support {

using Strings = std::vector<std::string>;

// One event of the log, as its line "HH:MM:SS MODE:SOURCE,TEXT" shows it.
struct LoggedEvent {
    std::string time, mode, source, text;
};

// Not a test itself, so that one test can run several gateways side by side.
struct FakeGateway {
    // In a folder of this name and a number.
    explicit FakeGateway(std::u8string_view folderName = fake::FakePlatform::kFolderName)
        : platform(folderName) {}

    F_MAIN& main() { return gateway.window<F_MAIN>(); }
    F_AS400& as400() { return gateway.window<F_AS400>(); }
    F_EVENTS& eventWindow() { return gateway.window<F_EVENTS>(); }
    ListBox& list() { return gateway.window<F_MAIN>().LST_PRODUIT; }
    SharedState& state() { return gateway.state(); }
    fake::FakeTcpClient& tcp() { return platform.tcp(); }

    // Appends an entry, selected or not, and rebuilds the tables, which must accept it.
    void addTerminal(const std::string& entry, bool selected = false) {
        list().addItem(entry);
        list().setSelected(list().count() - 1, selected);
        EXPECT_TRUE(main().SYNC_TABLES()) << entry;
    }
    // Appends terminal `number` on 127.0.10.<its row + 1>; returns that address.
    std::string addTerminal(int number) {
        const std::string address = "127.0.10." + std::to_string(list().count() + 1);
        addTerminal(fourDigits(number) + ",," + address + ",Line " + std::to_string(number));
        return address;
    }
    // The list as the loader would leave it; whether the tables accept it is the test's.
    void setTerminalList(const Strings& entries) {
        list().clear();
        for (const auto& entry : entries) list().addItem(entry);
        main().SYNC_TABLES();
    }
    // The colour patterns of a new colour file, whatever file the start-up found.
    void useDefaultColourPatterns() { state().TAB_COLOR_PATERN = defaultColourTable(); }

    // The events of the log's window, oldest first, of one mode or of all.
    std::vector<LoggedEvent> loggedEvents(const std::string& mode = {}) {
        std::vector<LoggedEvent> found;
        const EventLog& log = gateway.eventLog();
        for (int i = 0; i < log.count(); ++i) {
            const Event& event = log.event(i);
            if (mode.empty() || event.mode == mode)
                found.push_back(
                    {event.time.timeText(), event.mode, EventLog::source(event), event.text});
        }
        return found;
    }
    Strings eventTexts(const std::string& mode) {
        Strings texts;
        for (const auto& event : loggedEvents(mode)) texts.push_back(event.text);
        return texts;
    }
    void forgetEvents() { eventWindow().B_CLEAR_Click(); }

    std::string path(const std::string& name) const {
        return platform.folder() + kPathSeparator + name;
    }
    // A file's path as the windows, the messages and the log show it.
    std::string shown(const std::string& name) const { return pathText(path(name)); }
    // Written past the fake's failures: the test sets the scene.
    void writeFile(const std::string& name, const std::string& bytes) {
        platform.fakeFiles().put(path(name), bytes);
    }
    std::string readFile(const std::string& name) { return readFileAt(path(name)); }
    std::string readFileAt(const std::string& fullPath) {
        return platform.files().read(fullPath).value_or("(missing)");
    }
    // Whether the file was written for the gateway's account alone.
    bool ownerOnly(const std::string& fullPath) const {
        return platform.fakeFiles().ownerOnly(fullPath);
    }
    // The day's log file (the fake clock starts on 05-12-2026).
    std::string dailyLog() { return readFile("Plyxen400_05-12-2026.LOG"); }

    // From start-up to ONLINE: the tick that connects with the settings, the host accepts.
    void goOnline() {
        platform.advance(F_AS400::kConnectPeriodMs);
        ASSERT_EQ(tcp().state(), TcpClientPort::State::Connecting);
        tcp().acceptConnection();
        platform.runEvents();
        ASSERT_EQ(state().LINK_STATE, ONLINE);
    }
    // Host data arrives and the event loop delivers it.
    void hostSends(const std::string& bytes) {
        tcp().receive(bytes);
        platform.runEvents();
    }
    // The datagrams sent, as "address value"; every one must go to port 1024.
    Strings shown() {
        Strings result;
        for (const auto& datagram : platform.datagrams) {
            EXPECT_EQ(datagram.port, 1024);
            result.push_back(datagram.address + " " + datagram.bytes.substr(7, 4));
        }
        return result;
    }
    void forgetHistory() {
        platform.datagrams.clear();
        forgetEvents();
    }
    // Runs the task once, at the next pump: "in the middle" of the send under way.
    void atNextPump(std::function<void()> task) {
        platform.onPump = [this, task = std::move(task), done = false]() mutable {
            if (done) return;
            done = true;
            task();
        };
    }

    // Whether a window of that name exists (created and not yet released).
    bool windowExists(const std::string& name) const {
        for (const Form* form : platform.attachedForms) {
            if (form->name() == name) return true;
        }
        return false;
    }
    // Runs the add or edit command with the operator's actions in the modal editor.
    void withEditor(Button& command, std::function<void(F_ADD_PRODUCT&)> operatorActions) {
        platform.modalScript = [&](Form&) { operatorActions(gateway.window<F_ADD_PRODUCT>()); };
        command.click();
        platform.modalScript = nullptr;
    }

    fake::FakePlatform platform;
    Gateway gateway{platform};
};

// Not started: a test may first put files in the folder.
class GatewayTest : public ::testing::Test, public FakeGateway {};

class StartedGatewayTest : public GatewayTest {
  protected:
    StartedGatewayTest() { gateway.start(); }
};

// Started, with terminals 0001 and 0002 on 127.0.10.1 and .2, the default colours, and the
// start-up's events forgotten.
class TerminalsGatewayTest : public StartedGatewayTest {
  protected:
    TerminalsGatewayTest() {
        addTerminal(1);
        addTerminal(2);
        useDefaultColourPatterns();
        forgetEvents();
    }
};

// The frame for a value and an attribute field, as the terminal receives it.
inline std::string frameOf(const std::string& value, const std::string& attributes) {
    return "\xFE\xF8\x08\x02><F" + value + "  " + attributes + "\x03";
}

}  // namespace plx::testing_support
