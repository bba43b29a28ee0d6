#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/f_test.h"
#include "display_gateway_fixture.h"

namespace plx::display_test {
namespace {

class DisplayTestWindow : public DisplayGateway {
protected:
    F_TEST& window() { return gateway.test(); }
};

TEST_F(DisplayTestWindow, EachButtonSendsItsValueInTheColourOfItsOwnBox) {
    const std::string a = addTerminal(42);
    list().setSelected(0, true);
    platform.setTime({2026, 12, 5, 9, 5, 30});
    window().INP_TEST_COLOR(2).setText("1");
    window().INP_TEST_COLOR(0).setText("2");
    window().INP_TEST_COLOR(1).setText("A");

    window().B_CMD_TERM_DASH.click();
    window().B_CMD_TERM_NO.click();
    window().B_CMD_TERM_TIME.click();

    ASSERT_EQ(platform.datagrams.size(), 6u);
    EXPECT_EQ(platform.datagrams[0].bytes, frameOf("----", "001100"));
    EXPECT_EQ(platform.datagrams[2].bytes, frameOf("0042", "111100"));
    EXPECT_EQ(platform.datagrams[4].bytes, frameOf("0905", "661100"));
    const auto tests = loggedEvents("TEST");
    ASSERT_EQ(tests.size(), 3u);
    EXPECT_EQ(tests[0].text, "Dash Only");
    EXPECT_EQ(tests[1].text, "Show Terminal Number");
    EXPECT_EQ(tests[2].text, "Current Time");
}

TEST_F(DisplayTestWindow, ColourTextsAreTrimmedAndOnlyTheirLastCharacterCounts) {
    addTerminal(42);
    list().setSelected(0, true);
    struct {
        const char* box;
        const char* attributes;
    } const cases[] = {
        {"", "000000"},     // the dispatcher takes the last dash as colour: no pattern
        {"12", "111100"},   // colour "2"
        {" 9 ", "551100"},  // blanks around are removed
    };
    for (const auto& c : cases) {
        shown(0).clear();
        forgetHistory();
        window().INP_TEST_COLOR(2).setText(c.box);
        window().B_CMD_TERM_DASH.click();
        ASSERT_EQ(platform.datagrams.size(), 2u) << c.box;
        EXPECT_EQ(platform.datagrams[0].bytes, frameOf("----", c.attributes)) << c.box;
    }
}

TEST_F(DisplayTestWindow, RepeatedDashesAreSentOnceUntilTheColourChanges) {
    const std::string a = addTerminal(3);
    list().setSelected(0, true);
    window().B_CMD_TERM_DASH.click();
    window().B_CMD_TERM_DASH.click();
    EXPECT_EQ(destinations(), (Strings{a, a}));
    EXPECT_EQ(loggedEvents("TEST").size(), 2u);  // logged all the same
    window().INP_TEST_COLOR(2).setText("5");
    window().B_CMD_TERM_DASH.click();
    EXPECT_EQ(destinations(), (Strings{a, a, a, a}));
}

TEST_F(DisplayTestWindow, OnlySelectedTerminalsInListOrderThenOneEvent) {
    const std::string a = addTerminal(9);
    addTerminal(8);
    const std::string c = addTerminal(7);
    list().setSelected(0, true);
    list().setSelected(2, true);
    window().B_CMD_TERM_NO.click();
    EXPECT_EQ(destinations(), (Strings{a, a, c, c}));
    EXPECT_EQ(platform.datagrams[2].bytes, frameOf("0007", "110000"));
    const auto logged = loggedEvents();
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[0].source, "0009");
    EXPECT_EQ(logged[1].source, "0007");
    EXPECT_EQ(logged[2].mode, "TEST");
    EXPECT_EQ(logged[2].text, "Show Terminal Number");
}

TEST_F(DisplayTestWindow, TheTimeIsReadAnewForEachTerminal) {
    addTerminal(1);
    addTerminal(2);
    list().setSelected(0, true);
    list().setSelected(1, true);
    platform.setTime({2026, 12, 5, 23, 59, 59});
    atNextPump([this] { platform.setTime({2026, 12, 6, 0, 0, 0}); });
    window().B_CMD_TERM_TIME.click();
    ASSERT_EQ(platform.datagrams.size(), 4u);
    EXPECT_EQ(platform.datagrams[0].bytes.substr(7, 4), "2359");
    EXPECT_EQ(platform.datagrams[2].bytes.substr(7, 4), "0000");
}

TEST_F(DisplayTestWindow, WithoutSelectionOnlyTheOperatorIsWarned) {
    addTerminal(1);
    window().B_CMD_TERM_DASH.click();
    EXPECT_TRUE(platform.datagrams.empty());
    EXPECT_TRUE(loggedEvents().empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Please seclect a product(s)");
}

TEST_F(DisplayTestWindow, SelectAllActsOnTheMainList) {
    addTerminal(1);
    addTerminal(2);
    window().B_SELECT_ALL.click();
    EXPECT_TRUE(list().selected(0));
    EXPECT_TRUE(list().selected(1));
    window().B_SELECT_ALL.click();
    EXPECT_FALSE(list().selected(0));
}

}  // namespace
}  // namespace plx::display_test
