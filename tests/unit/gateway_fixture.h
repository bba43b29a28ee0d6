#pragma once
// A gateway on the fake platform, in its own empty folder, with the helpers every subsystem's
// tests share: the terminal list, the event lines, the files of the folder, the editor.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "gateway/gateway.h"
#include "shared/numeric_text.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"

namespace plx::testing_support {

// One line "HH:MM:SS MODE:SOURCE,TEXT" of the event list.
struct LoggedEvent {
    std::string time, mode, source, text;
};

// Not a test itself, so that a test can also run several gateways side by side.
struct FakeGateway {
    F_MAIN& main() { return gateway.main(); }
    F_AS400& as400() { return gateway.as400(); }
    F_EVENTS& eventWindow() { return gateway.events(); }
    ListBox& list() { return gateway.main().LST_PRODUIT; }
    SharedState& state() { return gateway.state(); }

    // --- Terminal list

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
    // Puts entries in the list as the loader would and rebuilds the tables; whether they
    // could be indexed is left to the test.
    void setTerminalList(const std::vector<std::string>& entries) {
        list().clear();
        for (const auto& entry : entries) list().addItem(entry);
        main().SYNC_TABLES();
    }

    // The colour patterns of a new colour file, whatever file the start-up found.
    void useDefaultColourPatterns() {
        auto& colours = state().TAB_COLOR_PATERN;
        colours.fill("");
        const char* patterns[] = {"1100", "0011", "1111", "0000", "6666",
                                  "1144", "1155", "1166", "4411", "5511"};
        for (int digit = 0; digit < 10; ++digit) colours[digit] = patterns[digit];
        colours['A'] = "6611";
    }

    // --- Event lines

    // Oldest first, of one mode or of all when mode is empty.
    std::vector<LoggedEvent> loggedEvents(const std::string& mode = {}) {
        std::vector<LoggedEvent> found;
        const ListBox& lines = eventWindow().LST_EVENTS;
        for (int row = 0; row < lines.count(); ++row) {
            const std::string& line = lines.text(row);
            const auto colon = line.find(':', 9);
            const auto comma = line.find(',', colon);
            if (line.size() < 9 || colon == std::string::npos || comma == std::string::npos) {
                ADD_FAILURE() << "malformed event line: " << line;
                continue;
            }
            LoggedEvent event{line.substr(0, 8), line.substr(9, colon - 9),
                              line.substr(colon + 1, comma - colon - 1), line.substr(comma + 1)};
            if (mode.empty() || event.mode == mode) found.push_back(event);
        }
        return found;
    }
    std::vector<std::string> eventTexts(const std::string& mode) {
        std::vector<std::string> texts;
        for (const auto& event : loggedEvents(mode)) texts.push_back(event.text);
        return texts;
    }
    void forgetEvents() { eventWindow().LST_EVENTS.clear(); }

    // --- Files of the gateway's folder

    std::string path(const std::string& name) const { return platform.folder() + "/" + name; }
    // Written past the fake's failures: the test sets the scene, the gateway is not involved.
    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) { return readFileAt(path(name)); }
    // Any file, in the folder or not.
    std::string readFileAt(const std::string& fullPath) {
        return platform.files().read(fullPath).value_or("(missing)");
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
        platform.modalScript = [&](Form&) { operatorActions(gateway.addProduct()); };
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

}  // namespace plx::testing_support
