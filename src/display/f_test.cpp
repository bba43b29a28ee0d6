#include "display/f_test.h"

#include <utility>

#include "console/f_main.h"
#include "display/display_road.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "shared/numeric_text.h"

namespace plx {
namespace {

// Design geometry, twips: a column of three test buttons, each with its colour box.
constexpr int kMargin = 240;
constexpr int kButtonWidth = 3255;
constexpr int kRowHeight = 375;
constexpr int kRowPitch = 540;
constexpr int kFirstRowInFrame = 360;  // below the frame's caption
constexpr int kColourLeft = kMargin + kButtonWidth + kMargin;
constexpr int kColourWidth = 735;
constexpr int kFrameTop = kMargin + kRowHeight + 165;
constexpr int kFrameWidth = kColourLeft + kColourWidth + kMargin;
constexpr int kFrameHeight = kFirstRowInFrame + 2 * kRowPitch + kRowHeight + kMargin;

}  // namespace

F_TEST::F_TEST(Gateway& gateway)
    : form("F_TEST", "Test Mervax Products", 5400, 3600),
      B_SELECT_ALL(form, "B_SELECT_ALL", "Select/Unselect All"),
      Frame1(form, "Frame1", "View on each selected product"),
      B_CMD_TERM_DASH(form, "B_CMD_TERM_DASH", "Dash Only", &Frame1),
      B_CMD_TERM_NO(form, "B_CMD_TERM_NO", "Terminal Number", &Frame1),
      B_CMD_TERM_TIME(form, "B_CMD_TERM_TIME", "Current Time", &Frame1),
      INP_TEST_COLOR_0(form, "INP_TEST_COLOR", "0", 0, &Frame1),
      INP_TEST_COLOR_1(form, "INP_TEST_COLOR", "0", 1, &Frame1),
      INP_TEST_COLOR_2(form, "INP_TEST_COLOR", "0", 2, &Frame1),
      gateway_(gateway) {
    B_SELECT_ALL.move(kMargin, kMargin, kButtonWidth, kRowHeight);
    Frame1.move(kMargin, kFrameTop, kFrameWidth, kFrameHeight);
    // Each row: the button, then the colour box it reads.
    const std::pair<Button*, TextBox*> rows[] = {{&B_CMD_TERM_DASH, &INP_TEST_COLOR_2},
                                                 {&B_CMD_TERM_NO, &INP_TEST_COLOR_0},
                                                 {&B_CMD_TERM_TIME, &INP_TEST_COLOR_1}};
    int top = kFirstRowInFrame;
    for (const auto& [button, colour] : rows) {
        button->move(kMargin, top, kButtonWidth, kRowHeight);
        colour->move(kColourLeft, top, kColourWidth, kRowHeight);
        colour->setToolTip("Color Partern");
        top += kRowPitch;
    }

    B_SELECT_ALL.onClick = [this] { B_SELECT_ALL_Click(); };
    B_CMD_TERM_DASH.onClick = [this] { B_CMD_TERM_DASH_Click(); };
    B_CMD_TERM_NO.onClick = [this] { B_CMD_TERM_NO_Click(); };
    B_CMD_TERM_TIME.onClick = [this] { B_CMD_TERM_TIME_Click(); };
}

TextBox& F_TEST::INP_TEST_COLOR(int index) {
    return index == 0 ? INP_TEST_COLOR_0 : index == 1 ? INP_TEST_COLOR_1 : INP_TEST_COLOR_2;
}

void F_TEST::B_SELECT_ALL_Click() {
    gateway_.window<F_MAIN>().B_SELECT_ALL_Click();
}

void F_TEST::B_CMD_TERM_DASH_Click() {
    testSelected(Test::Dash);
}

void F_TEST::B_CMD_TERM_NO_Click() {
    testSelected(Test::Number);
}

void F_TEST::B_CMD_TERM_TIME_Click() {
    testSelected(Test::Time);
}

void F_TEST::testSelected(Test test) {
    F_MAIN& main = gateway_.window<F_MAIN>();
    if (!main.LST_PRODUIT_SELECT()) return;
    std::vector<int> rows;
    for (int row = 0; row < main.LST_PRODUIT.count(); ++row) {
        if (main.LST_PRODUIT.selected(row)) rows.push_back(row);
    }
    testRows(test, rows, {});
}

void F_TEST::testRows(Test test, const std::vector<int>& rows, const std::string& origin) {
    // Each test's colour box and event text.
    struct Kind {
        int colourBox;
        const char* eventText;
    };
    static constexpr Kind kKinds[] = {
        {2, "Dash Only"}, {0, "Show Terminal Number"}, {1, "Current Time"}};
    const Kind& kind = kKinds[static_cast<int>(test)];
    F_MAIN& main = gateway_.window<F_MAIN>();
    const std::string colour = trimSpaces(INP_TEST_COLOR(kind.colourBox).text());
    for (const int row : rows) {
        // Rows named from outside the window (the web console) may be past the list.
        if (row < 0 || row >= main.LST_PRODUIT.count()) continue;
        const std::string number = fourDigits(main.LST_PRODUIT.itemData(row));
        // The time is read for each terminal: those served after a minute change show it.
        const std::string value = test == Test::Dash ? std::string("----")
                                  : test == Test::Number
                                      ? number
                                      : gateway_.platform().now().hourMinuteText();
        gateway_.display().GEST_CMD(number + value + colour);
    }
    gateway_.eventLog().ADD_EVENTS(-1, "TEST", kind.eventText + origin, true);
}

}  // namespace plx
