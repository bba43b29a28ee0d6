// The toolkit-free controls, as a view and the operator drive them.
#include <gtest/gtest.h>

#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"

namespace plx {
namespace {

TEST(Controls, ValuesAndRowsChangeAsTheOperatorExpects) {
    Form form("F", "", 100, 100);
    CheckBox box(form, "SW");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    EXPECT_TRUE(box.setValue(1));
    EXPECT_TRUE(box.setValue(1));  // no change, no click
    EXPECT_FALSE(box.setValue(3));
    box.click();
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(clicks, 2);

    // The current row follows its row up, and goes with it.
    ListBox list(form, "LST", true);
    for (auto text : {"a", "b", "c"}) list.addItem(text);
    list.setCurrentRow(2);
    list.removeItem(0);
    EXPECT_EQ(list.currentRow(), 1);
    list.removeItem(1);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.texts(), std::vector<std::string>{"b"});
}

}  // namespace
}  // namespace plx
