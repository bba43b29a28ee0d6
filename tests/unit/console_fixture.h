#pragma once
// A gateway on the fake platform, started in its own empty folder unless a test first puts
// files there; helpers to read files and the event list as an operator would.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "console/gateway.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"

namespace plx::console_test {

struct Event {
    std::string time, mode, source, text;
    bool operator==(const Event&) const = default;
};

class ConsoleTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return platform.folder() + "/" + name; }
    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) {
        return platform.files().read(path(name)).value_or("(missing)");
    }

    F_MAIN& main() { return gateway.main(); }
    ListBox& list() { return gateway.main().LST_PRODUIT; }
    F_EVENTS& events() { return gateway.events(); }
    SharedState& state() { return gateway.state(); }

    // Puts entries in the list as the loader would, and rebuilds the tables.
    void setEntries(const std::vector<std::string>& entries) {
        list().clear();
        for (const auto& entry : entries) list().addItem(entry);
        main().SYNC_TABLES();
    }

    // Event lines "HH:MM:SS MODE:SOURCE,TEXT", oldest first, of one mode or of all.
    std::vector<Event> logged(const std::string& mode = {}) {
        std::vector<Event> found;
        const ListBox& lines = events().LST_EVENTS;
        for (int row = 0; row < lines.count(); ++row) {
            const std::string& line = lines.text(row);
            const auto colon = line.find(':', 9);
            const auto comma = line.find(',', colon);
            Event event{line.substr(0, 8), line.substr(9, colon - 9),
                        line.substr(colon + 1, comma - colon - 1), line.substr(comma + 1)};
            if (mode.empty() || event.mode == mode) found.push_back(event);
        }
        return found;
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

}  // namespace plx::console_test
