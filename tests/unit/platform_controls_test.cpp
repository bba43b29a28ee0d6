#include <gtest/gtest.h>

#include "gateway/gateway.h"
#include "console/f_main.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/fake/fake_platform.h"

namespace plx {
namespace {

TEST(Controls, CheckBoxRunsClickOnEveryChangeOfValueAndRefusesOthers) {
    Form form("F", "", 100, 100);
    CheckBox box(form, "SW");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    EXPECT_TRUE(box.setValue(1));
    EXPECT_TRUE(box.setValue(1));
    EXPECT_FALSE(box.setValue(3));
    box.click();
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST(Controls, TypedCharactersPassTheKeyFilterOneAtATime) {
    Form form("F", "", 100, 100);
    TextBox field(form, "INP");
    int changes = 0;
    field.onKeyPress = [](int& key) {
        if (key == ',') key = 0;
    };
    field.onChange = [&] { ++changes; };
    field.type("a,b");
    EXPECT_EQ(field.text(), "ab");
    EXPECT_EQ(changes, 2);
}

TEST(Controls, ListRemovalShiftsTheCurrentRow) {
    Form form("F", "", 100, 100);
    ListBox list(form, "LST", true);
    for (auto text : {"a", "b", "c"}) list.addItem(text);
    list.setCurrentRow(2);
    list.removeItem(0);
    EXPECT_EQ(list.currentRow(), 1);
    list.removeItem(1);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.text(0), "b");
}

TEST(Controls, LosingTheFocusRunsTheHandlerOfTheControlLeft) {
    Form form("F", "", 100, 100);
    TextBox first(form, "A"), second(form, "B");
    int lost = 0;
    first.onLostFocus = [&] { ++lost; };
    first.setFocus();
    second.setFocus();
    second.setFocus();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(first.hasFocus());
}

TEST(Controls, NegativeSizesAreRefused) {
    Form form("F", "", 100, 100);
    ListBox list(form, "LST");
    list.setHeight(50);
    EXPECT_FALSE(list.setHeight(-1));
    EXPECT_EQ(list.height(), 50);
}

TEST(FakePlatform, TimersFireInVirtualTimeAndIntervalZeroStops) {
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

TEST(FakePlatform, ClockRollsOverMidnightAndMonthEnd) {
    fake::FakePlatform platform;
    platform.setTime({2026, 12, 31, 23, 59, 59});
    platform.advance(1000);
    EXPECT_EQ(platform.now().dateText(), "01-01-2027");
    EXPECT_EQ(platform.now().timeText(), "00:00:00");
}

}  // namespace
}  // namespace plx
