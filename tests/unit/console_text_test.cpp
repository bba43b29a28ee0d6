// The text rules of the terminal list and the configuration files, as tables.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/config_files.h"
#include "shared/text_lines.h"
#include "shared/global.h"

namespace plx {
namespace {

using Lines = std::vector<std::string>;

TEST(ConsoleText, ExtractFieldReads) {
    struct Case {
        std::string text;
        int field;
        std::string expected;
    };
    const Case cases[] = {
        {"0001,,127.0.10.1,Dock 4", 1, "0001"},
        {"0001,,127.0.10.1,Dock 4", 2, ""},
        {"0001,,127.0.10.1,Dock 4", 3, "127.0.10.1"},
        {"0001,,127.0.10.1,Dock 4", 4, "Dock 4"},
        {"0001,,127.0.10.1,Dock 4", 5, ""},
        {"a,b", 3, ""},
        {"a,b", 0, "a"},
        {"a,b", -2, "a"},
        {"abc", 1, "abc"},
        {"", 1, ""},
        {",x", 1, ""},
        {"a,b,", 3, ""},
        {" a , b ", 2, " b "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EXTRACT_FIELD(c.text, ",", c.field), c.expected) << c.text << " #" << c.field;
    }
    EXPECT_EQ(EXTRACT_FIELD("a--b--c", "--", 2), "b");
}

TEST(ConsoleText, ExtractFieldReplacesAndAddsMissingFields) {
    struct Case {
        std::string text;
        int field;
        std::string value, expected;
    };
    const Case cases[] = {
        {"a,b,c", 2, "X", "a,X,c"}, {"a,b,c", 1, "X", "X,b,c"}, {"a,b,c", 0, "X", "X,b,c"},
        {"a,b,c", 3, "", "a,b,"},   {"a,b", 4, "X", "a,b,,X"},  {"", 3, "X", ",,X"},
        {"a", 2, "X", "a,X"},       {"a,,c", 2, "X", "a,X,c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EXTRACT_FIELD(c.text, ",", c.field, c.value), c.expected)
            << c.text << " #" << c.field;
    }
    EXPECT_EQ(EXTRACT_FIELD("a--b", "--", 3, "X"), "a--b--X");
}

TEST(ConsoleText, EscapesControlAndHighCharactersOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"A\r\n", "A%13%%10%"},
        {"\x1b[2J", "%27%[2J"},
        {"\xff\xfd\x18", "%255%%253%%24%"},
        {std::string(1, '\0'), "%0%"},
        {"\x7f\x80", "%127%%128%"},
        {" 100% ~", " 100% ~"},
    };
    for (const auto& [raw, escaped] : cases) EXPECT_EQ(ESCAPE_CTRL_CHARS(raw), escaped);
}

TEST(ConsoleText, LinesEndAtCrLfCrOrLf) {
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines(""), Lines{});
}

TEST(ConsoleText, ColourLinesThatCount) {
    struct Case {
        std::string line;
        std::optional<int> index;
        std::string pattern;
    };
    const Case cases[] = {
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

}  // namespace
}  // namespace plx
