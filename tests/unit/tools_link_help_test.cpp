#include <gtest/gtest.h>

#include "gateway_fixture.h"
#include "platform/controls/form.h"
#include "platform/fake/fake_platform.h"
#include "tools/f_help.h"
#include "tools/url_link.h"

namespace plx::tools_test {
namespace {

constexpr int kLeft = 1, kRight = 2, kMiddle = 4;

class ToolsLink : public ::testing::Test {
  protected:
    ToolsLink() { link.setURL("127.0.10.1/page.html"); }

    fake::FakePlatform platform;
    Form form{"F", "", 4000, 3000};
    URLLink link{form, "URL_LINK", platform};
};

TEST_F(ToolsLink, LeftButtonOpensTheAddressUnderABusyPointer) {
    link.mouseDown(kLeft | kRight);
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{"127.0.10.1/page.html"});
    EXPECT_EQ(platform.busyCursorChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ToolsLink, OtherButtonsOnlyResetThePointer) {
    for (const int button : {kRight, kMiddle}) link.mouseDown(button);
    EXPECT_TRUE(platform.openedAddresses.empty());
    EXPECT_EQ(platform.busyCursorChanges, (std::vector<bool>{false, false}));
}

TEST_F(ToolsLink, CancelledOrEmptyAddressOpensNothing) {
    link.GoToURL = [](std::string&, bool& cancel) { cancel = true; };
    link.lblURL_MouseDown(kLeft, 0, 0, 0);
    link.GoToURL = nullptr;
    link.setURL("");
    link.lblURL_MouseDown(kLeft, 0, 0, 0);
    EXPECT_TRUE(platform.openedAddresses.empty());
    EXPECT_TRUE(platform.busyCursorChanges.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ToolsLink, ReplacedAddressIsOpenedWithoutAMessageWhileTheUrlStays) {
    std::string offered;
    link.GoToURL = [&](std::string& url, bool&) {
        offered = url;
        url = "127.0.10.2/other.html";
    };
    link.lblURL_MouseDown(kLeft, 0, 0, 0);
    EXPECT_EQ(offered, "127.0.10.1/page.html");
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{"127.0.10.2/other.html"});
    EXPECT_EQ(link.URL(), "127.0.10.1/page.html");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.busyCursorChanges, (std::vector<bool>{true, false}));
}

TEST_F(ToolsLink, ToolTipShowsTheAddressOnlyWhenAskedFor) {
    EXPECT_EQ(link.toolTip(), "");
    link.setShowToolTip(true);
    EXPECT_EQ(link.toolTip(), "127.0.10.1/page.html");
    link.setURL("127.0.10.3/next.html");
    EXPECT_EQ(link.toolTip(), "127.0.10.3/next.html");
    link.setShowToolTip(false);
    EXPECT_EQ(link.toolTip(), "");
    link.setURL("127.0.10.4/last.html");
    EXPECT_EQ(link.toolTip(), "");
}

TEST(ToolsHelp, TextHoldsTheCommandSyntaxLineByLine) {
    const std::string& text = F_HELP::helpText();
    ASSERT_TRUE(text.ends_with("\r\n"));
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 19u);
    const struct {
        std::size_t line;
        std::string text;
    } expected[] = {
        {2, ""},
        {4, "\t9999 = Is the product number (4 digits) **** = all products"},
        {8, "\t\tColor_Patern.txt contain:"},
        {14, "\t\t\t     4=Flashing red  5=flashing green"},
        {17, ""},
        {19, "Example to display 1234 on product 0001 use this syntax: <000112340>"},
    };
    for (const auto& e : expected) EXPECT_EQ(lines[e.line - 1], e.text) << "line " << e.line;
}

class ToolsHelpWindow : public testing_support::StartedGatewayTest {};

TEST_F(ToolsHelpWindow, ShowsTheTextReadOnlyFillingTheWindow) {
    F_HELP& help = gateway.help();
    EXPECT_EQ(help.form.caption(), "Plyxen AS400 Help");
    EXPECT_EQ(help.INP_HELP.text(), F_HELP::helpText());
    EXPECT_TRUE(help.INP_HELP.multiLine());
    EXPECT_TRUE(help.INP_HELP.readOnly());
    help.form.resize(7000, 5000);
    EXPECT_EQ(help.INP_HELP.left(), 0);
    EXPECT_EQ(help.INP_HELP.top(), 0);
    EXPECT_EQ(help.INP_HELP.width(), help.form.clientWidth());
    EXPECT_EQ(help.INP_HELP.height(), help.form.clientHeight());
}

}  // namespace
}  // namespace plx::tools_test
