#pragma once
// A started gateway on the fake platform, for the operator tools' tests: terminals on
// 127.0.10.x are added to the list and indexed as the editor would leave them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/f_main.h"
#include "console/gateway.h"
#include "eventlog/f_events.h"
#include "platform/fake/fake_platform.h"

namespace plx::tools_test {

class ToolsGateway : public ::testing::Test {
  protected:
    ToolsGateway() { gateway.start(); }

    F_MAIN& main() { return gateway.main(); }
    ListBox& list() { return gateway.main().LST_PRODUIT; }

    void addTerminal(const std::string& entry, bool selected = false) {
        list().addItem(entry);
        list().setSelected(list().count() - 1, selected);
        EXPECT_TRUE(main().SYNC_TABLES());
    }

    // Texts of the event lines of one mode ("HH:MM:SS MODE:SOURCE,TEXT" gives TEXT).
    std::vector<std::string> eventTexts(const std::string& mode) {
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

    fake::FakePlatform platform;
    Gateway gateway{platform};
};

}  // namespace plx::tools_test
