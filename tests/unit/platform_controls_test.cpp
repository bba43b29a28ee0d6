// The toolkit-free controls, as a view and the operator drive them.
#include <gtest/gtest.h>

#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/fake/fake_platform.h"

namespace plx {
namespace {

TEST(Controls, ValuesTextsAndRowsChangeAsTheOperatorExpects) {
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

    TextBox field(form, "INP"), other(form, "OTHER");
    int changes = 0, lost = 0;
    field.onKeyPress = [](int& key) {
        if (key == ',') key = 0;
    };
    field.onChange = [&] { ++changes; };
    field.onLostFocus = [&] { ++lost; };
    field.type("a,b");
    EXPECT_EQ(field.text(), "ab");
    EXPECT_EQ(changes, 2);
    field.setFocus();
    other.setFocus();
    other.setFocus();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(field.hasFocus());

    ListBox list(form, "LST", true);
    for (auto text : {"a", "b", "c"}) list.addItem(text);
    list.setCurrentRow(2);
    list.removeItem(0);
    EXPECT_EQ(list.currentRow(), 1);
    list.removeItem(1);
    EXPECT_EQ(list.currentRow(), -1);
    list.setHeight(50);
    EXPECT_FALSE(list.setHeight(-1));
    EXPECT_EQ(list.height(), 50);
}

TEST(Controls, TimerFiresEveryIntervalUntilItIsZero) {
    fake::FakePlatform platform;
    Timer timer(platform, 1000);
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    platform.advance(2999);
    EXPECT_EQ(ticks, 2);
    timer.setInterval(0);
    platform.advance(5000);
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace plx
