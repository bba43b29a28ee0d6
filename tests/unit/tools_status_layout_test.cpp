#include <gtest/gtest.h>

#include "gateway_fixture.h"
#include "tools/f_status.h"

namespace plx::tools_test {
namespace {

std::vector<std::string> lines(const ListBox& list) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.text(row));
    return texts;
}

class ToolsStatus : public testing_support::StartedGatewayTest {
  protected:
    F_STATUS& open() {
        main().B_STATUS.click();
        return gateway.status();
    }
};

TEST_F(ToolsStatus, EmptyTerminalListGivesAnEmptyWindow) {
    F_STATUS& status = open();
    EXPECT_EQ(status.form.caption(), "Mervax Products Status");
    EXPECT_EQ(status.LST_STATUS.count(), 0);
}

TEST_F(ToolsStatus, EachRowShowsItsNumberAndTheValueRememberedForIt) {
    addTerminal("0007,LED,127.0.10.1,Dock 7");
    addTerminal("0123,LED,127.0.10.2,Dock 123");
    gateway.state().TAB_AFF_VALUE[0] = "0042  3";
    EXPECT_EQ(lines(open().LST_STATUS), (std::vector<std::string>{"0007,0042  3", "0123,"}));
}

TEST_F(ToolsStatus, SnapshotIsRebuiltOnlyOnRefreshOrDoubleClick) {
    addTerminal("0001,LED,127.0.10.1,Dock 1");
    F_STATUS& status = open();
    gateway.state().TAB_AFF_VALUE[0] = "1234  0";
    main().B_STATUS.click();
    EXPECT_EQ(lines(status.LST_STATUS), std::vector<std::string>{"0001,"});
    status.B_REFRESH.click();
    EXPECT_EQ(lines(status.LST_STATUS), std::vector<std::string>{"0001,1234  0"});
    gateway.state().TAB_AFF_VALUE[0] = "----  0";
    status.LST_STATUS.doubleClick();
    EXPECT_EQ(lines(status.LST_STATUS), std::vector<std::string>{"0001,----  0"});
}

TEST_F(ToolsStatus, RowsBeyondTheMemoryAreListedWithNoValue) {
    for (int row = 0; row <= kMaxRows; ++row) {
        list().addItem("x");
        list().setItemData(row, row + 1);
    }
    gateway.state().TAB_AFF_VALUE[kMaxRows - 1] = "9999  1";
    const ListBox& status = open().LST_STATUS;
    ASSERT_EQ(status.count(), kMaxRows + 1);
    EXPECT_EQ(status.text(kMaxRows - 1), "1001,9999  1");
    EXPECT_EQ(status.text(kMaxRows), "1002,");
}

// ------------------------------------------------------------------ window layout

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};
Box boxOf(const Control& c) {
    return {c.left(), c.top(), c.width(), c.height()};
}
void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

class ToolsLayout : public testing_support::StartedGatewayTest {};

TEST_F(ToolsLayout, MainWindowStretchesTheListAndKeepsClockAndButtonsOnItsEdges) {
    F_MAIN& m = main();
    const auto rightOf = [](const Control& c) { return c.left() + c.width(); };
    // At the design size the rules, applied to the outer size, put the management buttons
    // right under the list and on the footer, the clock on the list's right edge.
    EXPECT_EQ(m.FR_B_MANAGE.top(), m.LST_PRODUIT.top() + m.LST_PRODUIT.height());
    EXPECT_EQ(m.FR_B_MANAGE.top() + m.FR_B_MANAGE.height(), m.form.clientHeight() - 600);
    EXPECT_EQ(rightOf(m.AFF_HEURE), rightOf(m.LST_PRODUIT));
    EXPECT_EQ(rightOf(m.FR_B_MANAGE), rightOf(m.LST_PRODUIT));
    const Box list = boxOf(m.LST_PRODUIT), clock = boxOf(m.AFF_HEURE), buttons = boxOf(m.FR_B_MANAGE);
    // 1000 wider, then 500 taller.
    m.form.resize(m.form.width() + 1000, m.form.height());
    EXPECT_EQ(boxOf(m.LST_PRODUIT), (Box{list.left, list.top, list.width + 1000, list.height}));
    EXPECT_EQ(boxOf(m.AFF_HEURE), (Box{clock.left + 1000, clock.top, clock.width, clock.height}));
    EXPECT_EQ(boxOf(m.FR_B_MANAGE), (Box{buttons.left + 1000, buttons.top, buttons.width, buttons.height}));
    m.form.resize(m.form.width(), m.form.height() + 500);
    EXPECT_EQ(boxOf(m.LST_PRODUIT), (Box{list.left, list.top, list.width + 1000, list.height + 500}));
    EXPECT_EQ(boxOf(m.FR_B_MANAGE), (Box{buttons.left + 1000, buttons.top + 500, buttons.width, buttons.height}));
    // Too small for a list: both sizes are refused and kept, the rest follows the kept list.
    m.form.resize(300, 2000);
    EXPECT_EQ(boxOf(m.LST_PRODUIT), (Box{list.left, list.top, list.width + 1000, list.height + 500}));
    EXPECT_EQ(boxOf(m.FR_B_MANAGE), (Box{buttons.left + 1000, buttons.top + 500, buttons.width, buttons.height}));
    // The window cannot be made so small that the top row or the buttons drop out of reach.
    EXPECT_EQ(m.form.minimumClientWidth(), rightOf(m.B_HELP) + 120);
    EXPECT_GE(m.form.minimumClientHeight(), 1500 + m.FR_B_MANAGE.height() + 600);
}

TEST_F(ToolsLayout, EventWindowRulesAndRefusedSizes) {
    F_EVENTS& e = gateway.events();
    e.LST_EVENTS.move(120, 480, 100, 100);
    e.B_CLEAR.move(0, 0, 1215, 375);
    e.AFF_LOG_FILE.move(1800, 120, 100, 255);
    e.form.resize(12340, 7840);
    // Height 7840 - 1000 - 375, width 12340 - 300.
    EXPECT_EQ(boxOf(e.LST_EVENTS), (Box{120, 480, 12040, 6465}));
    EXPECT_EQ(boxOf(e.B_CLEAR), (Box{10945, 6995, 1215, 375}));
    EXPECT_EQ(boxOf(e.AFF_LOG_FILE), (Box{1800, 120, 10240, 255}));

    e.form.resize(250, 1200);
    EXPECT_EQ(boxOf(e.LST_EVENTS), (Box{120, 480, 12040, 6465}));
    EXPECT_EQ(boxOf(e.B_CLEAR), (Box{10945, 6995, 1215, 375}));
    // The label's width is refused when the list is narrower than the label's left.
    e.form.resize(1300, 1200);
    EXPECT_EQ(e.LST_EVENTS.width(), 1000);
    EXPECT_EQ(boxOf(e.AFF_LOG_FILE), (Box{1800, 120, 10240, 255}));
}

TEST_F(ToolsLayout, StatusWindowDesignFollowsTheRulesAndRefusesNegativeSizes) {
    F_STATUS& s = gateway.status();
    // Design: client area 8415 x 8085 in a classic frame, so an outer 8535 x 8490; the list at
    // 120, 120, height 8490 - 700 - 375, width 8535 - 300.
    EXPECT_EQ(boxOf(s.LST_STATUS), (Box{120, 120, 8235, 7415}));
    EXPECT_EQ(boxOf(s.B_REFRESH), (Box{7140, 7535, 1215, 375}));

    s.form.resize(8535 + 1000, 8490 + 500);
    EXPECT_EQ(boxOf(s.LST_STATUS), (Box{120, 120, 9235, 7915}));
    EXPECT_EQ(boxOf(s.B_REFRESH), (Box{8140, 8035, 1215, 375}));

    s.form.resize(250, 800);
    EXPECT_EQ(boxOf(s.LST_STATUS), (Box{120, 120, 9235, 7915}));
    EXPECT_EQ(boxOf(s.B_REFRESH), (Box{8140, 8035, 1215, 375}));
}

}  // namespace
}  // namespace plx::tools_test
