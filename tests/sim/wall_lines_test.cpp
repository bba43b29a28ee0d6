// The terminal wall where its output is no terminal: a line for each change it sees, none
// for the second copy of a frame, so a pipe or a log file keeps what the drawing shows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_wall.h"

namespace plx::wall {
namespace {

using Lines = std::vector<std::string>;

std::string frameOf(const std::string& value, const std::string& attributes) {
    return "\xFE\xF8\x08\x02><F" + value + "  " + attributes + "\x03";
}

TEST(WallLines, ALinePerChangeOfATerminalNoneForARepeat) {
    WallModel model({{"0001", "127.0.10.1"}, {"0002", "127.0.10.2"}, {"0003", "198.18.0.3"}});
    LineWall lines(model);
    model.setBinding("127.0.10.1", Binding::Listening);  // the usual: counted, not told
    model.setBinding("127.0.10.2", Binding::Failed, "port 1024 in use");
    model.setBinding("198.18.0.3", Binding::Refused, "not a 127.x address");
    EXPECT_EQ(lines.changes(), (Lines{"0002 127.0.10.2 cannot bind: port 1024 in use",
                                      "0003 198.18.0.3 refused: not a 127.x address"}));
    const struct {
        std::string datagram;
        Lines lines;
    } steps[] = {
        {frameOf("1234", "110000"), {"0001 127.0.10.1 [1234] attr 110000"}},
        {frameOf("1234", "110000"), {}},  // the second copy
        {frameOf("  12", "110000"), {"0001 127.0.10.1 [  12] attr 110000"}},
        {frameOf("  12", "910000"), {"0001 127.0.10.1 [  12] attr 910000 (9 red)"}},
        {"short", {"malformed: 127.0.10.1: 5 bytes, length not 20 (1 in all)"}},
    };
    for (const auto& step : steps) {
        model.receive("127.0.10.1", step.datagram);
        EXPECT_EQ(lines.changes(), step.lines) << step.datagram.size() << " bytes";
    }
}

}  // namespace
}  // namespace plx::wall
