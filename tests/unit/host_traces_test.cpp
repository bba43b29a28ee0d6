// The golden host traces (tests/data/*.trace): each host stream, replayed through the core,
// gives the answers, datagrams and Warnings its trace says. A new case is a replay's report
// saved there (plyxen400-replay --products P.cfg day.LOG > tests/data/name.trace).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host_replay.h"
#include "shared/text_lines.h"

namespace plx::replay_test {
namespace {

std::vector<std::string> traceNames() {
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(PLX_TRACES)) {
        if (file.path().extension() == ".trace") names.push_back(file.path().stem().string());
    }
    return names;
}

class HostTrace : public ::testing::TestWithParam<std::string> {};

TEST_P(HostTrace, GivesWhatItSays) {
    std::ifstream file(std::filesystem::path(PLX_TRACES) / (GetParam() + ".trace"),
                       std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string expected;  // the trace without its comments and blank lines
    for (const std::string& line : splitLines(text.str())) {
        if (!line.empty() && !line.starts_with('#')) expected += line + '\n';
    }
    ASSERT_FALSE(expected.empty()) << GetParam();
    EXPECT_EQ(replay::replay(replay::readRecording(text.str())), expected);
}

INSTANTIATE_TEST_SUITE_P(Traces, HostTrace, ::testing::ValuesIn(traceNames()),
                         [](const auto& trace) { return trace.param; });

}  // namespace
}  // namespace plx::replay_test
