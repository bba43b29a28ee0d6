#include <gtest/gtest.h>

#include <filesystem>

#include "gateway_fixture.h"
#include "hostlink/f_as400.h"
#include "tools/web_page.h"

namespace plx::tools_test {
namespace {

TEST(ToolsWebPage, OutputNameWritesEveryDotAsTwoDot) {
    const struct {
        std::string templateName, output;
    } cases[] = {
        {"c:\\WebPageName.html", "c:\\WebPageName2.html"},
        {"  page.html  ", "page2.html"},
        {"/srv/site.v1/page.html", "/srv/site2.v1/page2.html"},
        {"a..b", "a2.2.b"},
        {"noext", "noext"},
        {"   ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webPageOutputName(c.templateName), c.output) << c.templateName;
}

class ToolsWebPageFill : public ::testing::Test {
  protected:
    ToolsWebPageFill() {
        tables.TAB_ROW_OF_NO.fill(kNoRow);
        tables.TAB_ROW_OF_NO[1] = 0;
        tables.TAB_ROW_OF_NO[42] = 1;
        tables.TAB_AFF_VALUE[0] = "1234  0";
        tables.TAB_IP[0] = "127.0.10.1";
        tables.TAB_DESCRIPTION[0] = "Dock 1";
        tables.TAB_TYPE[0] = "LED";
        tables.TAB_AFF_VALUE[1] = "0042  3";
        tables.TAB_IP[1] = "127.0.10.42";
    }
    std::string fill(const std::string& text) { return fillWebPage(text, values); }

    SharedState tables;
    WebPageValues values{
        tables,     "ONLINE",    "127.0.0.1", "23",
        "QUSER",    "secret",    "RX {[GT]}", "14:05:09 GENERAL:Server [127.0.0.1],A\r\n",
        "14:05:09", "05-12-2026"};
};

TEST_F(ToolsWebPageFill, EveryPrefixIsReplacedByItsValue) {
    const struct {
        std::string line, page;
    } cases[] = {
        {"{[AF0001]}", "1234  0"},
        {"<td>{[IP0042]}</td>", "<td>127.0.10.42</td>"},
        {"{[DE1]}/{[TY0001]}", "Dock 1/LED"},
        {"{[AF00000000000042]}", "0042  3"},
        {"{[SO]}{[SI0]}:{[SP1]} {[SU]}/{[SW]}", "ONLINE127.0.0.1:23 QUSER/secret"},
        {"[{[AE]}]", "[14:05:09 GENERAL:Server [127.0.0.1],A\r\n]"},
        {"{[GT]} {[GD]}", "14:05:09 05-12-2026"},
        // A replaced value is never searched again.
        {"{[SR]}", "RX {[GT]}"},
    };
    for (const auto& c : cases) EXPECT_EQ(fill(c.line), c.page + "\r\n") << c.line;
}

TEST_F(ToolsWebPageFill, NumbersNamingNoTerminalGiveAnEmptyValue) {
    for (const char* line :
         {"{[AF0002]}", "{[IP9999]}", "{[DE10000]}", "{[TY123456789012345678]}", "{[AF0]}"}) {
        EXPECT_EQ(fill(line), "\r\n") << line;
    }
}

TEST_F(ToolsWebPageFill, MalformedPlaceholdersAreCopiedUnchanged) {
    for (const char* line : {"{[AF0001", "{[AF0001]", "{[AF]}", "{[AFx1]}", "{[ZZ1]}", "{[GT 1]}",
                             "{[", "{[A", "]}{[", "{{[[GT]}"}) {
        EXPECT_EQ(fill(line), std::string(line) + "\r\n") << line;
    }
    EXPECT_EQ(fill("{[AF0001 then {[GT]} and {[GD]}"), "{[AF0001 then 14:05:09 and 05-12-2026\r\n");
    EXPECT_EQ(fill("{[{[GT]}]}"), "{[14:05:09]}\r\n");
}

TEST_F(ToolsWebPageFill, EveryLineEndsWithCrLf) {
    const struct {
        std::string text, page;
    } cases[] = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"\n\n", "\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(fill(c.text), c.page);
}

class ToolsWebPageButton : public testing_support::StartedGatewayTest {
  protected:
    void writeTemplate(const std::string& text) { writeFile("page.html", text); }
    std::string templatePath = path("page.html");
    std::string pagePath = path("page2.html");
};

TEST_F(ToolsWebPageButton, ProducesThePageAndOpensIt) {
    EXPECT_EQ(main().URL_WEBPAGE.text(), "View Web Page 2");
    EXPECT_EQ(main().INP_WEBPAGE.toolTip().rfind("Dans la page Web {[AF0001]} = Valeur ", 0), 0u);
    addTerminal("0001,LED,127.0.10.1,Dock 1");
    gateway.state().TAB_AFF_VALUE[0] = "1234  0";
    gateway.as400().INP_PORT.setText("2323");
    writeTemplate("<p>{[AF0001]} {[IP1]} {[DE1]} {[TY1]}</p>\n<p>{[SP]} {[GT]} {[GD]}</p>\n");
    main().INP_WEBPAGE.setText(" " + templatePath + " ");
    main().B_OPEN_WEBP.click();

    const std::string page = readFile("page2.html");
    EXPECT_EQ(page, "<p>1234  0 127.0.10.1 Dock 1 LED</p>\r\n<p>2323 14:05:09 05-12-2026</p>\r\n");
    EXPECT_EQ(main().URL_WEBPAGE.URL(), pagePath);
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{pagePath});
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ToolsWebPageButton, MissingTemplateStopsSilentlyAndKeepsTheLink) {
    main().URL_WEBPAGE.setURL("earlier.html");
    main().INP_WEBPAGE.setText(templatePath);
    main().B_OPEN_WEBP.click();
    EXPECT_FALSE(std::filesystem::exists(pagePath));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(main().URL_WEBPAGE.URL(), "earlier.html");
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{"earlier.html"});
}

TEST_F(ToolsWebPageButton, PageThatCannotBeWrittenIsReportedAndNotOpened) {
    writeTemplate("x");
    main().INP_WEBPAGE.setText(templatePath);
    platform.fakeFiles().failWrites = true;
    main().B_OPEN_WEBP.click();
    EXPECT_TRUE(platform.openedAddresses.empty());
    EXPECT_EQ(main().URL_WEBPAGE.URL(), "");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Error !");
}

}  // namespace
}  // namespace plx::tools_test
