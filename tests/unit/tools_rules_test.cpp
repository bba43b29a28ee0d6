// The pure rules of the operator's tools: the ping script and the web page, as tables
// written from the rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/temporary_folder.h"
#include "tools/ping_script.h"
#include "tools/web_page.h"

namespace plx {
namespace {

// Every character cmd.exe acts on is echoed and pinged literally; nothing else can run.
TEST(ToolsPingScript, HostileEntriesInTheBatchFileAreLiteral) {
    const std::pair<std::string, std::string> entries[] = {
        {"0001,,127.0.10.1,a & del x | y > z < w",
         "ECHO 0001,,127.0.10.1,a ^& del x ^| y ^> z ^< w\r\nPING \"127.0.10.1\""},
        {"0002,,127.0.10.2,100% ^ \"q\" (!x!)",
         "ECHO 0002,,127.0.10.2,100%% ^^ ^\"q^\" ^(^!x^!^)\r\nPING \"127.0.10.2\""},
        {"0003,,127.0.10.3 -t & calc,x",
         "ECHO 0003,,127.0.10.3 -t ^& calc,x\r\nPING \"127.0.10.3 -t & calc\""},
        {"0004,,%PATH%\"&calc,x", "ECHO 0004,,%%PATH%%^\"^&calc,x\r\nPING \"%%PATH%%&calc\""},
        {"0005,,127.0.10.5\ncalc,x\r\ncalc",
         "ECHO 0005,,127.0.10.5 calc,x  calc\r\nPING \"127.0.10.5calc\""},
    };
    for (const auto& [entry, lines] : entries) {
        const std::string batch = pingBatchFile({{entry, true}});
        EXPECT_EQ(batch.substr(11, lines.size()), lines) << entry;
    }
}

#ifndef _WIN32
// The shell runs the script for real, with a stand-in ping that prints its arguments.
TEST(ToolsPingScript, HostileEntriesAreEchoedAndPingedLiterallyAndRunNothing) {
    const testing_support::TemporaryFolder temporary;
    const std::filesystem::path& folder = temporary.folder();
    std::filesystem::create_directories(folder / "bin");
    std::ofstream(folder / "bin" / "ping")
        << "#!/bin/sh\nprintf 'PING'\nfor a in \"$@\"; do printf ' [%s]' \"$a\"; done\necho\n";
    std::filesystem::permissions(folder / "bin" / "ping", std::filesystem::perms::owner_all);
    const std::string hostile = "0001,LED,127.0.10.1,a & rm -rf x > y; $(touch pwned) 'q'";
    const std::string hostileAddress = "0002,LED,127.0.10.2'; touch ip-pwned; ',Dock";
    std::ofstream(folder / "ping.sh", std::ios::binary)
        << pingScript({{hostile, true}, {hostileAddress, true}, {"-1,LED,-f,x", true}});
    const std::string command = "cd '" + folder.string() + "' && PATH='" +
                                (folder / "bin").string() +
                                "':\"$PATH\" /bin/sh ping.sh </dev/null";
    std::string output;
    FILE* shell = ::popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, shell) != nullptr) output += buffer;
    ::pclose(shell);
    const std::string ping = "PING [-c] [1] [-s] [10] [-W] [0.5] [--] ";
    const std::string dashes(80, '-');
    EXPECT_EQ(output, hostile + "\n" + ping + "[127.0.10.1]\n" + dashes + "\n" + hostileAddress +
                          "\n" + ping + "[127.0.10.2'; touch ip-pwned; ']\n" + dashes +
                          "\n-1,LED,-f,x\n" + ping + "[-f]\n" + dashes +
                          "\nPress Enter to continue . . . ");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2)
        << "bin and ping.sh alone: nothing ran";
}
#endif

TEST(ToolsWebPage, PlaceholdersAreFilledAndEverythingElseCopied) {
    const std::pair<std::string, std::string> names[] = {
        {"c:\\WebPageName.html", "c:\\WebPageName2.html"},
        {"  page.html  ", "page2.html"},
        {"/srv/site.v1/page.html", "/srv/site2.v1/page2.html"},
        {"a..b", "a2.2.b"},
    };
    for (const auto& [templateName, output] : names)
        EXPECT_EQ(webPageOutputName(templateName), output);

    SharedState tables;
    tables.TAB_ROW_OF_NO.fill(kNoRow);
    tables.TAB_ROW_OF_NO[1] = 0;
    tables.TAB_ROW_OF_NO[42] = 1;
    tables.TAB_AFF_VALUE = {"1234  0", "0042  3"};
    tables.TAB_IP = {"127.0.10.1", "127.0.10.42"};
    tables.TAB_DESCRIPTION[0] = "Dock 1";
    tables.TAB_TYPE[0] = "LED";
    const WebPageValues values{tables,     "ONLINE",    "127.0.0.1", "23",
                               "QUSER",    "secret",    "RX {[GT]}", "14:05:09 GENERAL:x\r\n",
                               "14:05:09", "05-12-2026"};
    const std::pair<std::string, std::string> pages[] = {
        {"{[AF0001]}", "1234  0\r\n"},
        {"<td>{[IP0042]}</td>", "<td>127.0.10.42</td>\r\n"},
        {"{[DE1]}/{[TY0001]}", "Dock 1/LED\r\n"},
        {"{[AF00000000000042]}", "0042  3\r\n"},
        {"{[SO]}{[SI0]}:{[SP1]} {[SU]}/{[SW]}", "ONLINE127.0.0.1:23 QUSER/secret\r\n"},
        {"[{[AE]}]", "[14:05:09 GENERAL:x\r\n]\r\n"},
        {"{[GT]} {[GD]}", "14:05:09 05-12-2026\r\n"},
        {"{[SR]}", "RX {[GT]}\r\n"},  // a replaced value is never searched again
        // Numbers naming no terminal give nothing; malformed placeholders stay as they are.
        {"{[AF0002]}{[IP9999]}{[DE10000]}{[TY123456789012345678]}", "\r\n"},
        {"{[AF0001 {[AF]} {[AFx1]} {[ZZ1]} {[GT 1]} {[ {[A ]}{[",
         "{[AF0001 {[AF]} {[AFx1]} {[ZZ1]} {[GT 1]} {[ {[A ]}{[\r\n"},
        {"{[{[GT]}]}", "{[14:05:09]}\r\n"},
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"", ""},
    };
    for (const auto& [text, page] : pages) EXPECT_EQ(fillWebPage(text, values), page) << text;
}

}  // namespace
}  // namespace plx
