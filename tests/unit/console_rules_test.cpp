// The text rules of the terminal list, the configuration files and the shared helpers, as
// tables written from the rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/config_files.h"
#include "console/terminal_entry.h"
#include "display/terminal_frame.h"
#include "platform/ipv4.h"
#include "platform/local_time.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace plx {
namespace {

using Lines = std::vector<std::string>;

TEST(ConsoleRules, ExtractFieldReadsAndReplaces) {
    const struct {
        std::string text;
        int field;
        std::string read, replacedByX;
    } cases[] = {
        {"0001,,127.0.10.1,Dock 4", 3, "127.0.10.1", "0001,,X,Dock 4"},
        {"0001,,127.0.10.1,Dock 4", 2, "", "0001,X,127.0.10.1,Dock 4"},
        {"a,b", 3, "", "a,b,X"},
        {"a,b", 0, "a", "X,b"},
        {"", 3, "", ",,X"},
        {" a , b ", 2, " b ", " a ,X"},
        {"a", 4, "", "a,,,X"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EXTRACT_FIELD(c.text, ",", c.field), c.read) << c.text << " #" << c.field;
        EXPECT_EQ(EXTRACT_FIELD(c.text, ",", c.field, "X"), c.replacedByX) << c.text;
    }
}

TEST(ConsoleRules, EscapesControlAndHighCharactersOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"A\r\n", "A%13%%10%"},
        {"\x1b[2J", "%27%[2J"},
        {"\xff\xfd\x18", "%255%%253%%24%"},
        {std::string(1, '\0'), "%0%"},
        {"\x7f\x80", "%127%%128%"},
        {" 100% ~", " 100% ~"},
        {"%65% %256% 100%", "%65% %256% 100%"},  // read back as they stand: no byte wrote them
    };
    for (const auto& [raw, escaped] : cases) {
        EXPECT_EQ(ESCAPE_CTRL_CHARS(raw), escaped);
        EXPECT_EQ(unescapeControlChars(escaped), raw) << escaped;
    }
}

TEST(ConsoleRules, LinesEndAtCrLfCrOrLfAndAreWrittenWithCrLf) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb", {"a", "b"}},       {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},   {"a\n\rb", {"a", "", "b"}}, {"", {}},
    };
    for (const auto& [bytes, lines] : cases) {
        EXPECT_EQ(splitLines(bytes), lines) << bytes;
        EXPECT_EQ(splitLines(joinLines(lines)), lines);
    }
}

TEST(ConsoleRules, ColourLinesThatCount) {
    const struct {
        std::string line;
        std::optional<int> index;
        std::string pattern;
    } cases[] = {
        {"0,1100", 0, "1100"},
        {"A,6611", 65, "6611"},
        {"B, 1234 ", 66, "1234"},
        {"Z,12", 90, "12"},
        {"12,3333", 12, "3333"},
        {"AB,1", 65, "1"},
        {",4444", 0, "4444"},
        {"a,1234", {}, ""},
        {" B,1234", {}, ""},
        {"- This file contain:", {}, ""},
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        const auto parsed = parseColourLine(c.line);
        ASSERT_EQ(parsed.has_value(), c.index.has_value()) << c.line;
        if (!parsed) continue;
        EXPECT_EQ(parsed->index, *c.index) << c.line;
        EXPECT_EQ(parsed->pattern, c.pattern) << c.line;
    }
}

// The colour file's loader and the terminal frame index the table by one rule: what a line
// "C,pattern" fills is what a command in colour C finds.
TEST(ConsoleRules, ColourIndexRoundTripFromTheFileToTheFrame) {
    for (const char colour : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
        const auto line = parseColourLine(std::string(1, colour) + ",2345");
        ASSERT_TRUE(line.has_value()) << colour;
        ColourTable table;
        table[line->index] = line->pattern;
        EXPECT_EQ(colourPattern(colour, table), "2345") << colour;
    }
    EXPECT_EQ(colourIndex("a"), 97);  // no line can fill it: lower case is skipped
}

// Written as the host link window saves it, read as start-up loads it.
TEST(ConsoleRules, HostSettingsRoundTrip) {
    const HostSettings cases[] = {
        {"198.18.0.5", "23", "secret", "QUSER", 1},
        {" as400.plant ", " 2323 ", " pass word ", " user ", 0},
        {"", "", "", "", 2},
    };
    for (const HostSettings& settings : cases) {
        const std::string file = hostSettingsFile(settings);
        const HostSettingsLines read = readHostSettings(file);
        ASSERT_EQ(read.texts.size(), 4u) << file;
        EXPECT_EQ(HostSettings({read.texts[0], read.texts[1], read.texts[2], read.texts[3],
                                read.logSwitch.value_or(-1)}),
                  settings)
            << file;
    }
    EXPECT_EQ(hostSettingsFile({"198.18.0.5", "23", "pw", "me", 1}),
              "198.18.0.5\r\n23\r\npw\r\nme\r\n 1\r\n");
    // Hand-written files: the lines present, in order; a switch that does not fit is none.
    const struct {
        std::string bytes;
        Lines texts;
        std::optional<int> logSwitch;
    } files[] = {
        {"a\rb\rc\rd\r1\r", {"a", "b", "c", "d"}, 1},
        {"a\nb", {"a", "b"}, {}},
        {"a\r\nb\r\nc\r\nd\r\n", {"a", "b", "c", "d"}, {}},
        {"a\r\nb\r\nc\r\nd\r\n 0 \r\nextra\r\n", {"a", "b", "c", "d"}, 0},
        {"a\r\nb\r\nc\r\nd\r\n99999\r\n", {"a", "b", "c", "d"}, {}},
    };
    for (const auto& f : files) {
        const HostSettingsLines read = readHostSettings(f.bytes);
        EXPECT_EQ(read.texts, f.texts) << f.bytes;
        EXPECT_EQ(read.logSwitch, f.logSwitch) << f.bytes;
    }
}

// What the terminal editor accepts, against a list whose rows are 0001, 0002 (row 1, the one
// edited where a case edits), 0003 and 0008 without an address.
TEST(ConsoleRules, TerminalEditorChecksTheTypedEntryAgainstEveryOtherRow) {
    Lines list = {"0001,,127.0.10.1,A", "0002,T,127.0.10.2,B", "0003,,127.0.10.3,C", "0008,,,D"};
    const std::string range = "Error the terminal number must be a whole number from 1 to 9999";
    const std::string number = "Error this terminal number is already in use";
    const std::string address = "Error this IP address is already in use (Terminal:";
    const struct {
        int edited;
        const char *typedNumber, *typedAddress;
        std::string verdict;  // the entry when accepted, else the message
        bool numberRefused, anotherTerminal;
    } cases[] = {
        {-1, "0", "127.0.10.5", "", true, false},  // no number at all: only the focus moves
        {-1, "abc", "127.0.10.5", "", true, false},
        {-1, "10000", "127.0.10.5", range, true, false},
        {-1, "-3", "127.0.10.5", range, true, false},
        {-1, "2.5", "127.0.10.5", range, true, false},
        {-1, "3", "127.0.10.5", number, false, false},
        {-1, "0002", "127.0.10.2", number, false, false},  // the number before the address
        {-1, "1abc", "127.0.10.5", number, false, false},
        {-1, "5", " 127.0.10.2 ", address + "0002)", false, false},
        {-1, "3", "127.0.10.1", address + "0001)", false, false},  // row 0 comes before row 2
        {-1, "9", "", address + "0008)", false, false},
        {-1, "9999", " 127.0.10.02 ", "9999,,127.0.10.02, Dock 9 ", false, false},
        {1, "2", " 127.0.10.2", "0002,,127.0.10.2, Dock 9 ", false, false},  // its own row skipped
        {1, "7", "127.0.10.2", "0007,,127.0.10.2, Dock 9 ", false, true},
        {1, "2.0", "127.0.10.9", "0002,,127.0.10.9, Dock 9 ", false, true},
        {1, "3", "127.0.10.9", number, false, false},
        // A control character, however it came (pasted, from the web console), in any field.
        {-1, "5\t", "127.0.10.5", "Error the terminal number holds a control character (code 9)",
         true, false},
        {1, "2", "127.0.10.2\x1b", "Error the IP address holds a control character (code 27)",
         false, false},
    };
    for (const auto& c : cases) {
        const TerminalEntryCheck check =
            checkTerminalEntry(list, c.edited, {c.typedNumber, c.typedAddress, " Dock 9 "});
        EXPECT_EQ(check.accepted ? check.entry : check.message, c.verdict) << c.typedNumber;
        EXPECT_EQ(check.accepted, c.verdict.find(",,") != std::string::npos) << c.typedNumber;
        EXPECT_EQ(check.numberRefused, c.numberRefused) << c.typedNumber;
        EXPECT_EQ(check.anotherTerminal, c.anotherTerminal) << c.typedNumber;
    }
    for (const auto& [description, code] :
         {std::pair{"two\r\n0032,,127.0.20.1,forged", "13"}, std::pair{"Dock\x7f", "127"}}) {
        EXPECT_EQ(
            checkTerminalEntry(list, -1, {"5", "127.0.10.5", description}).message,
            "Error the description holds a control character (code " + std::string(code) + ")");
    }
    // 1001 terminals fill the list; 1000 leave room for one more.
    list.clear();
    for (int n = 1; n <= kMaxRows - 1; ++n) list.push_back(fourDigits(n) + ",,,");
    EXPECT_TRUE(checkTerminalEntry(list, -1, {"5000", "127.0.10.5", ""}).accepted);
    list.push_back("1001,,,");
    EXPECT_EQ(checkTerminalEntry(list, -1, {"5000", "127.0.10.5", ""}).message,
              "Error the terminal list is full (1001 terminals)");
}

TEST(ConsoleRules, NumbersAndTimesAsTheOperatorReadsThem) {
    const std::pair<long long, const char*> numbers[] = {
        {0, "0000"},      {7, "0007"},   {999, "0999"},      {9999, "9999"},
        {10000, "10000"}, {-5, "-0005"}, {-12345, "-12345"},
    };
    for (const auto& [number, text] : numbers) EXPECT_EQ(fourDigits(number), text);
    const std::pair<LocalTime, const char*> times[] = {
        {{2026, 1, 2, 9, 5, 7}, "09:05:07"},
        {{2026, 1, 2, 12, 0, 60}, "12:00:60"},
    };
    for (const auto& [time, text] : times) EXPECT_EQ(time.timeText(), text);
    EXPECT_EQ(LocalTime({2026, 1, 2, 9, 5, 7}).dateText(), "02-01-2026");
    EXPECT_EQ(LocalTime({2026, 1, 2, 9, 5, 7}).hourMinuteText(), "0905");
}

// A port and a dotted address mean what the operator means, to the host connection and to
// the terminal datagrams alike.
TEST(ConsoleRules, PortsAndAddressesAsTheOperatorMeansThem) {
    const std::pair<const char*, std::optional<std::uint16_t>> ports[] = {
        {"23", 23},       {" 23", 23},    {"2323 ", 2323}, {"\t992\t", 992},     {"0023", 23},
        {"65535", 65535}, {"0", {}},      {"65536", {}},   {"999999999999", {}}, {"", {}},
        {"  ", {}},       {"telnet", {}}, {"2 3", {}},     {"-1", {}},
    };
    for (const auto& [text, port] : ports) EXPECT_EQ(portNumber(text), port) << text;
    using Bytes = std::array<std::uint8_t, 4>;
    const std::pair<const char*, std::optional<Bytes>> addresses[] = {
        {"10.1.200.11", Bytes{10, 1, 200, 11}},
        {"010.000.000.001", Bytes{10, 0, 0, 1}},
        {"255.255.255.255", Bytes{255, 255, 255, 255}},
        {"256.0.0.1", {}},
        {"0010.0.0.1", {}},
        {"10.0.0", {}},
        {"10.0.0.1.", {}},
        {" 10.0.0.1", {}},
        {"a.b.c.d", {}},
        {"", {}},
    };
    for (const auto& [text, bytes] : addresses) EXPECT_EQ(parseDottedIPv4(text), bytes) << text;
}

}  // namespace
}  // namespace plx
