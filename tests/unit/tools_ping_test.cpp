#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gateway_fixture.h"
#include "tools/ping_script.h"

namespace plx::tools_test {
namespace {

const std::string kDashes(80, '-');
const std::string kSeparatorLine = "printf '%s\\n' '" + kDashes + "'\n";
const std::string kWaitLines =
    "printf '%s' 'Press Enter to continue . . . '\n"
    "read -r answer\n";

class ToolsPing : public testing_support::StartedGatewayTest {
  protected:
    ToolsPing() {
        addTerminal("0001,LED,127.0.10.1,Dock 1");
        addTerminal("0002,LED,127.0.10.2,Dock 2", true);
        addTerminal("0003,LED,127.0.10.3,Dock 3");
        forgetEvents();
    }
    std::string scriptPath() { return platform.privateFolder() + "/ping-selected-products.sh"; }
};

TEST_F(ToolsPing, SecondOfThreeRowsSelectedStartsItsScriptInTheDesktopsTerminal) {
    platform.programs["x-terminal-emulator"] = "/usr/bin/x-terminal-emulator";
    main().B_PING.click();

    EXPECT_EQ(readFileAt(scriptPath()), "#!/bin/sh\n" + kSeparatorLine +
                                            "printf '%s\\n' '0002,LED,127.0.10.2,Dock 2'\n"
                                            "ping -c 1 -s 10 -W 0.5 -- '127.0.10.2'\n" +
                                            kSeparatorLine + kSeparatorLine + kWaitLines);
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program, "/usr/bin/x-terminal-emulator");
    EXPECT_EQ(
        platform.started[0].arguments,
        (std::vector<std::string>{"-T", "Ping Selected Product", "-e", "/bin/sh", scriptPath()}));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(eventTexts("TEST"), std::vector<std::string>{"Request Ping"});
    // Private to the user: nobody else may read or swap it.
    struct stat info {};
    ASSERT_EQ(::stat(scriptPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
}

TEST_F(ToolsPing, EveryRowSelectedGivesEchoPingAndSeparatorForEachAndOneEventPerRun) {
    platform.programs["x-terminal-emulator"] = "/usr/bin/x-terminal-emulator";
    main().B_SELECT_ALL.click();
    main().B_PING.click();
    const std::string first = readFileAt(scriptPath());
    main().B_PING.click();

    std::string expected = "#!/bin/sh\n";
    for (int n = 1; n <= 3; ++n) {
        const std::string address = "127.0.10." + std::to_string(n);
        expected += "printf '%s\\n' '000" + std::to_string(n) + ",LED," + address + ",Dock " +
                    std::to_string(n) + "'\nping -c 1 -s 10 -W 0.5 -- '" + address + "'\n" +
                    kSeparatorLine;
    }
    EXPECT_EQ(first, expected + kWaitLines);
    EXPECT_EQ(readFileAt(scriptPath()), first) << "replaced, not appended to";
    EXPECT_EQ(eventTexts("TEST"), (std::vector<std::string>{"Request Ping", "Request Ping"}));
}

TEST_F(ToolsPing, NoSelectionOnlyWarns) {
    platform.programs["x-terminal-emulator"] = "/usr/bin/x-terminal-emulator";
    list().setSelected(1, false);
    main().B_PING.click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Please seclect a product(s)");
    EXPECT_TRUE(platform.started.empty());
    EXPECT_FALSE(std::filesystem::exists(scriptPath()));
    EXPECT_TRUE(eventTexts("TEST").empty());
}

TEST_F(ToolsPing, WithoutTheDesktopsChoiceTheFirstCommonTerminalFoundRuns) {
    platform.programs["xfce4-terminal"] = "/usr/bin/xfce4-terminal";
    platform.programs["xterm"] = "/usr/bin/xterm";
    main().B_PING.click();
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program, "/usr/bin/xfce4-terminal");
    EXPECT_EQ(
        platform.started[0].arguments,
        (std::vector<std::string>{"-T", "Ping Selected Product", "-x", "/bin/sh", scriptPath()}));
}

TEST_F(ToolsPing, NoTerminalWindowIsReportedAndLogged) {
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed but fails to start" : "none installed");
        platform.messages.clear();
        forgetEvents();
        if (installed) platform.programs["xterm"] = "/usr/bin/xterm";
        platform.startFails = installed;
        main().B_PING.click();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].title, "Error !");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(eventTexts("TEST"),
                  std::vector<std::string>{"Request Ping failed: no terminal window"});
    }
}

TEST_F(ToolsPing, ScriptThatCannotBeWrittenStartsNothing) {
    platform.programs["x-terminal-emulator"] = "/usr/bin/x-terminal-emulator";
    platform.fakeFiles().failWrites = true;
    main().B_PING.click();
    EXPECT_TRUE(platform.started.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Error !");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(eventTexts("TEST"),
              std::vector<std::string>{"Request Ping failed: script not written"});
}

// The shell runs the script for real, with a stand-in ping that prints its arguments.
TEST(ToolsPingScript, HostileEntriesAreEchoedAndPingedLiterallyAndRunNothing) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tools-ping-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "bin");
    {
        std::ofstream stub(folder / "bin" / "ping");
        stub << "#!/bin/sh\nprintf 'PING'\nfor a in \"$@\"; do printf ' [%s]' \"$a\"; done\n"
                "printf '\\n'\n";
    }
    std::filesystem::permissions(folder / "bin" / "ping", std::filesystem::perms::owner_all);

    const std::string hostile = "0001,LED,127.0.10.1,a & rm -rf x > y; $(touch pwned) 'q'";
    const std::string hostileAddress = "0002,LED,127.0.10.2'; touch ip-pwned; ',Dock";
    {
        std::ofstream script(folder / "ping.sh", std::ios::binary);
        script << pingScript({{hostile, true}, {hostileAddress, true}, {"-1,LED,-f,x", true}});
    }
    const std::string command = "cd '" + folder.string() + "' && PATH='" +
                                (folder / "bin").string() +
                                "':\"$PATH\" /bin/sh ping.sh </dev/null";
    std::string output;
    FILE* shell = ::popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, shell) != nullptr) output += buffer;
    ::pclose(shell);

    EXPECT_EQ(output,
              hostile + "\n" + "PING [-c] [1] [-s] [10] [-W] [0.5] [--] [127.0.10.1]\n" + kDashes +
                  "\n" + hostileAddress + "\n" +
                  "PING [-c] [1] [-s] [10] [-W] [0.5] [--] [127.0.10.2'; touch ip-pwned; ']\n" +
                  kDashes + "\n" + "-1,LED,-f,x\n" +
                  "PING [-c] [1] [-s] [10] [-W] [0.5] [--] [-f]\n" + kDashes + "\n" +
                  "Press Enter to continue . . . ");
    std::vector<std::string> created;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        created.push_back(entry.path().filename().string());
    }
    std::sort(created.begin(), created.end());
    EXPECT_EQ(created, (std::vector<std::string>{"bin", "ping.sh"}));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace plx::tools_test
