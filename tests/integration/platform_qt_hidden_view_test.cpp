// A hidden window's lists are brought up to date when it is shown, not while nobody sees
// them: the event window stays hidden for months and receives a line per datagram.
#include <gtest/gtest.h>

#include <QListWidget>

#include "integration/platform_qt_test_support.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"
#include "platform/qt/qt_platform.h"

namespace plx::qtp {
namespace {

using testing::application;
using testing::waitFor;

// Longer than a few refresh periods of a shown window's lists (tens of ms).
constexpr int kSeveralRefreshesMs = 300;

class PlatformQtHiddenView : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        LST_LINES.move(120, 120, 3000, 2000);
        platform.attachView(form);
        list = platform.viewOf(form)->findChild<QListWidget*>("LST_LINES");
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override { platform.detachView(form); }

    void addLines(int from, int to) {
        for (int i = from; i < to; ++i) LST_LINES.addItem("line " + std::to_string(i));
    }
    // Runs the event loop for a while: whatever a refresh would do has been done.
    static void runEvents() {
        waitFor([] { return false; }, kSeveralRefreshesMs);
    }

    QtPlatform platform;
    Form form{"F_LINES", "Lines", 4000, 3000};
    ListBox LST_LINES{form, "LST_LINES"};
    QListWidget* list = nullptr;
};

TEST_F(PlatformQtHiddenView, HiddenListIsNotRebuiltAndShowsEveryLineOnceShown) {
    addLines(0, 350);
    runEvents();
    EXPECT_EQ(list->count(), 0) << "rebuilt while hidden";

    form.show();
    ASSERT_EQ(list->count(), 350) << "shown without its lines";
    EXPECT_EQ(list->item(349)->text(), "line 349");
}

TEST_F(PlatformQtHiddenView, LinesAddedWhileHiddenAgainAppearAtTheNextShow) {
    form.show();
    addLines(0, 10);
    ASSERT_TRUE(waitFor([&] { return list->count() == 10; }));

    form.hide();
    LST_LINES.removeItem(0);
    addLines(10, 20);
    runEvents();
    EXPECT_EQ(list->count(), 10);
    EXPECT_EQ(list->item(0)->text(), "line 0") << "rebuilt while hidden";

    form.show();
    ASSERT_EQ(list->count(), 19);
    EXPECT_EQ(list->item(0)->text(), "line 1");
    EXPECT_EQ(list->item(18)->text(), "line 19");
}

}  // namespace
}  // namespace plx::qtp
