#pragma once
// F_TEST, the test window: dashes, the terminal's own number or the current time on the
// terminals selected in the main window.

#include <string>
#include <vector>

#include "platform/c_library_names.h"
#include "platform/controls/button.h"
#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/controls/text_box.h"

namespace plx {

class Gateway;

class F_TEST {
  public:
    explicit F_TEST(Gateway& gateway);

    Form form;
    Button B_SELECT_ALL;
    Frame Frame1;
    Button B_CMD_TERM_DASH;
    Button B_CMD_TERM_NO;
    Button B_CMD_TERM_TIME;
    TextBox INP_TEST_COLOR_0;
    TextBox INP_TEST_COLOR_1;
    TextBox INP_TEST_COLOR_2;

    TextBox& INP_TEST_COLOR(int index);

    void B_SELECT_ALL_Click();
    void B_CMD_TERM_DASH_Click();
    void B_CMD_TERM_NO_Click();
    void B_CMD_TERM_TIME_Click();

    // A test press on the given rows of the main list instead of its selection, as the web
    // console makes it; `origin` ends the "TEST" line.
    enum class Test { Dash, Number, Time };
    void testRows(Test test, const std::vector<int>& rows, const std::string& origin);

  private:
    // A press of a test button: on the main list's selection, or only the warning.
    void testSelected(Test test);

    Gateway& gateway_;
};

}  // namespace plx
