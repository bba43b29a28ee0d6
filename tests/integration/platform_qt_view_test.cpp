// The generic form view: one widget per control, kept in step both ways, on a window built
// for the test from every kind of control.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <chrono>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/link_label.h"
#include "platform/controls/list_box.h"
#include "platform/controls/option_button.h"
#include "platform/controls/picture.h"
#include "platform/controls/text_box.h"
#include "platform/qt/window_placement.h"
#include "support/qt_integration.h"
#include "support/qt_test_platform.h"

namespace plx::qtp {
namespace {

using testing::application;
using testing::waitFor;

struct SampleWindow {
    SampleWindow() {
        LBL_NAME.move(300, 150, 1500, 300);
        INP_NAME.move(1950, 150, 3000, 300);
        INP_IP.move(1950, 600, 3000, 315);
        AFF_RX.setMultiLine(true);
        AFF_RX.move(300, 1050, 2700, 1200);
        B_GO.move(3150, 1050, 1200, 375);
        B_GO.setDefault(true);
        B_STOP.move(4500, 1050, 1200, 375);
        B_STOP.setCancel(true);
        SW_LOG.move(3150, 1500, 1800, 300);
        SW_MODE_0.move(3150, 1800, 900, 300);
        SW_MODE_1.move(4050, 1800, 900, 300);
        LST_ITEMS.move(300, 2400, 2700, 1200);
        PIC_LAMP.move(3150, 2400, 480, 480);
        URL_LINK.move(3750, 2400, 1500, 300);
        URL_LINK.setText("www.example.org");
        FR_BUTTONS.move(3150, 3000, 2400, 600);
        B_IN_FRAME.move(150, 150, 1200, 375);
        PIC_FOOTER.setHeight(300);
        PIC_FOOTER.setDockedBottom(true);
    }
    Form form{"F_SAMPLE", "Sample window", 6000, 4500};
    Label LBL_NAME{form, "LBL_NAME", "Name:"};
    TextBox INP_NAME{form, "INP_NAME"};
    ComboBox INP_IP{form, "INP_IP"};
    TextBox AFF_RX{form, "AFF_RX"};
    Button B_GO{form, "B_GO", "Go"};
    Button B_STOP{form, "B_STOP", "Stop"};
    CheckBox SW_LOG{form, "SW_LOG", "Log"};
    OptionButton SW_MODE_0{form, "SW_MODE", 0, "Edit"};
    OptionButton SW_MODE_1{form, "SW_MODE", 1, "Add"};
    ListBox LST_ITEMS{form, "LST_ITEMS", true};
    Picture PIC_LAMP{form, "PIC_LAMP", "lamp-online"};
    LinkLabel URL_LINK{form, "URL_LINK"};
    Frame FR_BUTTONS{form, "FR_BUTTONS", "Buttons"};
    Button B_IN_FRAME{form, "B_IN_FRAME", "Inside", &FR_BUTTONS};
    Picture PIC_FOOTER{form, "PIC_FOOTER", "footer"};
};

class PlatformQtView : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        platform.attachView(window.form);
        view = platform.viewOf(window.form);
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { platform.detachView(window.form); }

    template <class Widget = QWidget>
    Widget* find(const char* name) {
        auto* widget = view->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void showWindow() {
        window.form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    }
    // Where an operator clicks a check or option button: on its box, not past its caption.
    static void clickBox(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    testing::QtTestPlatform platform;
    SampleWindow window;
    QWidget* view = nullptr;
};

TEST_F(PlatformQtView, EveryControlHasAWidgetOfItsKindNamedAfterItPlacedInPixels) {
    EXPECT_EQ(view->objectName(), "F_SAMPLE");
    EXPECT_EQ(view->windowTitle(), "Sample window");
    EXPECT_EQ(view->size(), QSize(400, 300)) << "the design's client area, 15 twips a pixel";
    EXPECT_EQ(find<QListWidget>("LST_ITEMS")->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(find("LBL_NAME")->geometry(), QRect(20, 10, 100, 20));
    EXPECT_EQ(find("B_IN_FRAME")->parentWidget(), find("FR_BUTTONS"));
    EXPECT_EQ(find("B_IN_FRAME")->geometry(), QRect(10, 10, 80, 25));   // inside its frame
    EXPECT_EQ(find("PIC_FOOTER")->geometry(), QRect(0, 280, 400, 20));  // docked at the bottom
    EXPECT_EQ(find("URL_LINK")->size(), find("URL_LINK")->sizeHint());  // sized to its text
}

TEST_F(PlatformQtView, ControlChangesReachTheirWidgetsAndNeverComeBackAsTheOperators) {
    int changes = 0, clicks = 0, options = 0;
    window.INP_NAME.onChange = [&] { ++changes; };
    window.SW_LOG.onClick = [&] { ++clicks; };
    window.SW_MODE_0.onClick = [&] { ++options; };
    showWindow();
    window.LBL_NAME.setCaption("Host:");
    EXPECT_EQ(find<QLabel>("LBL_NAME")->text(), "Host:");
    window.INP_NAME.setText("caf\xe9");  // 8-bit text, one character per byte
    EXPECT_EQ(find<QLineEdit>("INP_NAME")->text(), QString::fromUtf8("café"));
    window.INP_IP.setText("127.0.10.4");
    EXPECT_EQ(find<QComboBox>("INP_IP")->currentText(), "127.0.10.4");
    for (const auto& [value, state] : std::vector<std::pair<int, Qt::CheckState>>{
             {1, Qt::Checked}, {2, Qt::PartiallyChecked}, {0, Qt::Unchecked}}) {
        window.SW_LOG.setValue(value);
        EXPECT_EQ(find<QCheckBox>("SW_LOG")->checkState(), state) << value;
    }
    window.SW_MODE_0.setValue(true);
    window.SW_MODE_1.setValue(
        true);  // the widgets of one group follow; the controls are the code's
    EXPECT_TRUE(find<QRadioButton>("SW_MODE_1")->isChecked());
    platform.flushViews();
    ASSERT_TRUE(testing::settle());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(options, 1);
    EXPECT_TRUE(window.SW_MODE_0.value());
    window.B_GO.move(1500, 750, 1500, 450);
    window.B_GO.setEnabled(false);
    window.PIC_LAMP.setToolTip("ONLINE");
    EXPECT_EQ(find("B_GO")->geometry(), QRect(100, 50, 100, 30));
    EXPECT_FALSE(find("B_GO")->isEnabled());
    EXPECT_EQ(find("PIC_LAMP")->toolTip(), "ONLINE");
    window.B_GO.setVisible(false);
    EXPECT_TRUE(find("B_GO")->isHidden());
    const QImage online = find<QLabel>("PIC_LAMP")->pixmap().toImage();
    window.PIC_LAMP.setImage("lamp-offline");
    EXPECT_FALSE(online.isNull());
    EXPECT_NE(online, find<QLabel>("PIC_LAMP")->pixmap().toImage());
}

// Lists and long texts catch up on the view's refresh, not at each change, and not at all
// while hidden: the event window stays hidden for months and receives a line per datagram.
TEST_F(PlatformQtView, ListsAndLongTextsCatchUpOnTheRefreshAndOnlyWhenShown) {
    window.LST_ITEMS.setFollowsEnd(true);  // a log
    auto* list = find<QListWidget>("LST_ITEMS");
    const auto line = [](int row) { return "line " + std::to_string(row); };
    for (int row = 0; row < 350; ++row) window.LST_ITEMS.addItem(line(row));
    {
        // A shown window's list, changed after, catches up on its refresh meanwhile.
        Form shown("F_SHOWN", "Shown", 3000, 1500);
        ListBox lines(shown, "LST_LINES", false);
        platform.attachView(shown);
        shown.show();
        lines.addItem("line");
        const auto* shownList = platform.viewOf(shown)->findChild<QListWidget*>("LST_LINES");
        ASSERT_TRUE(waitFor([&] { return shownList->count() == 1; }));
        platform.detachView(shown);
    }
    EXPECT_EQ(list->count(), 0) << "rebuilt while hidden";
    showWindow();
    ASSERT_EQ(list->count(), 350) << "shown without its lines";
    for (int row = 350; row < 500; ++row) window.LST_ITEMS.addItem(line(row));
    window.LST_ITEMS.setSelected(3, true);
    window.LST_ITEMS.setCurrentRow(4);
    window.AFF_RX.appendAtEnd("first\r\n");
    EXPECT_EQ(list->count(), 350) << "no rebuild inside the change itself";
    ASSERT_TRUE(waitFor([&] { return list->count() == 500; }));
    EXPECT_TRUE(list->item(3)->isSelected());
    EXPECT_FALSE(list->item(4)->isSelected());
    EXPECT_EQ(list->currentRow(), 4);
    // A log opens at its end and follows new lines there.
    QScrollBar* bar = list->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    // Scrolled up, it keeps the lines in view while new ones push the oldest out.
    bar->setValue(bar->maximum() - 100);
    const QString reading = list->itemAt(0, 0)->text();
    for (int row = 500; row < 520; ++row) {
        window.LST_ITEMS.addItem(line(row));
        window.LST_ITEMS.removeItem(0);
        platform.flushViews();
    }
    EXPECT_EQ(list->itemAt(0, 0)->text(), reading);
    // Only the dropped and the new rows changed, and the rows are the control's.
    const auto rows = [&] {
        std::vector<std::string> shown;
        for (int row = 0; row < list->count(); ++row)
            shown.push_back(list->item(row)->text().toStdString());
        return shown;
    };
    EXPECT_EQ(rows(), window.LST_ITEMS.texts());
    window.LST_ITEMS.setText(0, "rewritten");
    window.LST_ITEMS.removeItem(5);
    window.LST_ITEMS.addItem(line(520));
    platform.flushViews();
    EXPECT_EQ(rows(), window.LST_ITEMS.texts());
    // A refresh due while a dispatch sends (in its pumps) comes once it is over: the dispatch
    // pumps until the refresh has fallen due and been held back.
    auto* const formView = static_cast<FormView*>(view);
    const auto dispatching = formView->dispatching;
    int heldBack = 0;
    formView->dispatching = [&] {
        const bool now = dispatching();
        if (now) ++heldBack;
        return now;
    };
    bool caughtUpInside = false, over = false;
    platform.post([&] {
        window.LST_ITEMS.addItem(line(521));
        const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (heldBack == 0 && std::chrono::steady_clock::now() < bound) {
            platform.processPendingEvents();
            caughtUpInside |= rows() == window.LST_ITEMS.texts();
        }
        over = true;
    });
    EXPECT_TRUE(waitFor([&] { return over && rows() == window.LST_ITEMS.texts(); }));
    formView->dispatching = dispatching;
    EXPECT_GT(heldBack, 0);
    EXPECT_FALSE(caughtUpInside);
    // A line end split over two appends stays one line end.
    window.AFF_RX.appendAtEnd("second\r");
    window.AFF_RX.appendAtEnd("\nthird");
    platform.flushViews();
    EXPECT_EQ(find<QPlainTextEdit>("AFF_RX")->toPlainText(), "first\nsecond\nthird");
}

TEST_F(PlatformQtView, TheOperatorsClicksKeysAndFocusReachTheControls) {
    showWindow();
    int go = 0, stop = 0, inFrame = 0, add = 0, lost = 0, cleared = 0;
    std::vector<int> linkButtons;
    window.B_GO.onClick = [&] { ++go; };
    window.B_STOP.onClick = [&] { ++stop; };
    window.B_IN_FRAME.onClick = [&] { ++inFrame; };
    window.SW_MODE_1.onClick = [&] { ++add; };
    window.INP_NAME.onLostFocus = [&] { ++lost; };
    window.AFF_RX.onDblClick = [&] { ++cleared; };
    window.URL_LINK.onMouseDown = [&](int button) { linkButtons.push_back(button); };
    QTest::mouseClick(find("B_GO"), Qt::LeftButton);
    QTest::mouseClick(find("B_IN_FRAME"), Qt::LeftButton);
    for (const auto button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        QTest::mouseClick(find("URL_LINK"), button);
    QTest::mouseDClick(find<QPlainTextEdit>("AFF_RX")->viewport(), Qt::LeftButton);
    window.SW_LOG.setValue(2);  // greyed: a click ticks it
    clickBox(find("SW_LOG"));
    window.SW_MODE_0.setValue(true);
    clickBox(find("SW_MODE_1"));
    EXPECT_EQ(window.SW_LOG.value(), 1);
    EXPECT_TRUE(window.SW_MODE_1.value());
    EXPECT_FALSE(window.SW_MODE_0.value()) << "one option of a group at a time";
    EXPECT_EQ(linkButtons, (std::vector<int>{1, 2, 4}));

    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    find("INP_NAME")->setFocus(Qt::MouseFocusReason);
    lost = 0;
    find("INP_IP")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(window.form.focused(), &window.INP_IP);
    window.INP_NAME.setFocus();  // code puts the focus back: the keyboard follows
    EXPECT_TRUE(find("INP_NAME")->hasFocus());
    QGuiApplication::clipboard()->setText("pass\r\nword\n");
    find<QLineEdit>("INP_NAME")->paste();  // a line edit takes line breaks as they come
    EXPECT_EQ(window.INP_NAME.text(), "pass word ");
    EXPECT_EQ(find<QLineEdit>("INP_NAME")->text(), "pass word ");
    // Enter and Esc from a field press the default and the cancel button.
    QTest::keyClick(find("INP_NAME"), Qt::Key_Return);
    QTest::keyClick(find("INP_NAME"), Qt::Key_Escape);
    QTest::keyClick(find("INP_IP"), Qt::Key_Enter);
    // Enter on a button presses that one, which then looks like the default in its stead.
    const QImage goLooksDefault = find("B_GO")->grab().toImage();
    for (const char* button : {"B_GO", "B_STOP", "B_IN_FRAME"}) {
        find(button)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(find(button), Qt::Key_Return);
    }
    EXPECT_NE(find("B_GO")->grab().toImage(), goLooksDefault);
    // Held down, Enter and Esc act once per press: what the keyboard repeats does nothing.
    for (const auto& [target, key] :
         {std::pair{"INP_NAME", Qt::Key_Return}, std::pair{"INP_NAME", Qt::Key_Escape},
          std::pair{"B_GO", Qt::Key_Enter}}) {
        QKeyEvent repeated(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(find(target), &repeated);
    }
    window.B_GO.setEnabled(false);
    QTest::mouseClick(find("B_GO"), Qt::LeftButton);
    EXPECT_EQ(go, 4);
    EXPECT_EQ(stop, 2);
    EXPECT_EQ(inFrame, 2);
    EXPECT_EQ(add, 1);
    EXPECT_EQ(lost, 2);
    EXPECT_EQ(cleared, 1);
}

// Edit and Remove act on the current row: only the operator makes one, and it stays in sight.
TEST_F(PlatformQtView, ListRowsAreMadeCurrentOnlyByTheOperatorSelectedAndDoubleClicked) {
    for (int row = 1; row <= 30; ++row) window.LST_ITEMS.addItem(std::to_string(row));
    showWindow();
    auto* list = find<QListWidget>("LST_ITEMS");
    EXPECT_EQ(list->verticalScrollBar()->value(), 0) << "a list opens at its top";
    QTest::keyClick(list, Qt::Key_Down);  // no row current: the first
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 0);
    // Framed, also without the focus.
    const QImage framed = list->viewport()->grab().toImage();
    window.LST_ITEMS.setCurrentRow(-1);
    platform.flushViews();
    EXPECT_NE(list->viewport()->grab().toImage(), framed);
    int doubleClicks = 0;
    window.LST_ITEMS.onDblClick = [&] { ++doubleClicks; };
    const auto click = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };
    click(0);
    click(2);
    click(0);
    EXPECT_FALSE(window.LST_ITEMS.selected(0));
    EXPECT_TRUE(window.LST_ITEMS.selected(2));
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 0);
    click(1);  // the first click of a double-click
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 1);
    // A click on a list that has not caught up with its control yet is not misread.
    window.LST_ITEMS.removeItem(0);
    click(1);
    EXPECT_EQ(window.LST_ITEMS.count(), 29);
}

TEST_F(PlatformQtView, CloseResizeAndReleaseGoThroughTheWindowsLogic) {
    showWindow();
    int asked = 0, unloaded = 0, layouts = 0;
    window.form.onQueryUnload = [&] {
        window.form.hide();  // a window that hides instead of closing
        return ++asked > 0;
    };
    window.form.onUnload = [&] { ++unloaded; };
    window.form.onResize = [&] {
        ++layouts;
        window.LST_ITEMS.setWidth(window.form.width() - 600);
    };
    view->close();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(unloaded, 0);
    EXPECT_FALSE(view->isVisible());

    showWindow();
    layouts = 0;
    view->resize(500, 400);
    // The form's size is the outer one: the client area and the window system's frame.
    const QSize outer = view->frameGeometry().size();
    EXPECT_EQ(window.form.width(), outer.width() * 15);
    EXPECT_EQ(window.form.height(), outer.height() * 15);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(find("LST_ITEMS")->width(), outer.width() - 40);
    EXPECT_EQ(find("PIC_FOOTER")->geometry(), QRect(0, 380, 500, 20));

    // Released from inside its own button's click, as a window's Close button does: the
    // widgets stay until the click is over, and no longer act.
    showWindow();
    QPointer<QWidget> gone = view;
    int clicks = 0;
    window.B_GO.onClick = [&] { ++clicks; };
    auto* button = find<QPushButton>("B_GO");
    window.B_IN_FRAME.onClick = [&] { platform.detachView(window.form); };
    QTest::mouseClick(find("B_IN_FRAME"), Qt::LeftButton);
    EXPECT_EQ(platform.viewOf(window.form), nullptr);
    if (gone) {
        window.B_GO.setCaption("changed");
        EXPECT_EQ(button->text(), "Go");
        button->click();
        EXPECT_EQ(clicks, 0);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    window.form.onQueryUnload = nullptr;
}

// The main window as a desktop frames it (a 20 px title bar) with its parts never to hide,
// and the windows it opens, frames included.
constexpr int kTitleBar = 20;
Surroundings mainWindowAt(QRect screen, QPoint main, int titleBar = kTitleBar) {
    return {screen,
            QRect(main, QSize(802, 672)),
            {QRect(main, QSize(802, titleBar)), QRect(main + QPoint(9, 28), QSize(776, 33)),
             QRect(main + QPoint(519, 592), QSize(267, 33))},  // the two rows of buttons
            {},
            titleBar};
}
const QSize kHostLink(602, 492), kEvents(810, 514), kStatus(563, 564), kTest(362, 265),
    kHelp(602, 425);

TEST(WindowPlacement, BesideTheMainWindowElseHidingTheLeastOfItNeverItsTitleBarOrButtons) {
    const QRect wide(0, 0, 1600, 1000), small(0, 0, 1024, 768), tall(0, 0, 900, 1200),
        large(0, 0, 2560, 1440);
    const struct {
        const char* name;
        QRect screen;
        QPoint main;
        std::vector<QRect> open;
        QSize size;
        QPoint place;
        int titleBar = kTitleBar;
    } cases[] = {
        {"right, level with its top", wide, {0, 0}, {}, kHostLink, {810, 0}},
        {"right rather than left", large, {879, 384}, {}, kHostLink, {1689, 384}},
        {"under the one there", wide, {0, 0}, {{{810, 0}, kHostLink}}, kHelp, {810, 500}},
        {"left at the screen's edge", wide, {798, 0}, {}, kHostLink, {188, 0}},
        {"below, no room beside", tall, {0, 0}, {}, kHostLink, {0, 680}},
        // Centred on 1600 x 1000 nothing fits beside it: the least of it (203 x 164 px, then
        // 203 x 97), a corner of its list, never the buttons of its bottom right, is hidden.
        {"centred: the least of it", wide, {399, 0}, {}, kHostLink, {0, 508}},
        {"centred: not on the other", wide, {399, 0}, {{{0, 508}, kHostLink}}, kHelp, {0, 575}},
        {"too small: under the buttons", small, {0, 0}, {}, kHostLink, {422, 69}},
        {"a title bar lower", wide, {0, 0}, {{810, 0, 790, 1000}}, kHostLink, {810, 20}},
        {"no title bar drawn", wide, {0, 0}, {{810, 0, 790, 1000}}, kHostLink, {810, 16}, 0},
    };
    for (const auto& c : cases) {
        Surroundings around = mainWindowAt(c.screen, c.main, c.titleBar);
        around.open = c.open;
        EXPECT_EQ(placeOpenedWindow(c.size, around), c.place) << c.name;
    }
    // The windows opened one after the other from the main window at the left, the centre
    // and the right of the screen, and on a smaller and a larger one: each wholly on the
    // screen, none over the main window's title bar or buttons nor over the beginning of an
    // earlier one's title bar; on the larger screen none hides any of the main window.
    for (const auto& [screen, at] :
         {std::pair{wide, QPoint(0, 0)}, std::pair{wide, QPoint(399, 0)},
          std::pair{wide, QPoint(798, 0)}, std::pair{small, QPoint(111, 48)},
          std::pair{large, QPoint(879, 384)}}) {
        Surroundings around = mainWindowAt(screen, at);
        for (const QSize& size : {kHostLink, kEvents, kStatus, kTest, kHelp}) {
            const QRect place(placeOpenedWindow(size, around), size);
            SCOPED_TRACE(::testing::Message()
                         << "main at " << at.x() << "," << at.y() << " on " << screen.width() << "x"
                         << screen.height() << ", window " << size.width());
            EXPECT_TRUE(screen.contains(place));
            for (const QRect& part : around.keepClear) EXPECT_FALSE(place.intersects(part));
            for (const QRect& earlier : around.open)
                EXPECT_FALSE(place.intersects(QRect(earlier.topLeft(), QSize(60, kTitleBar))));
            if (screen == large) {
                EXPECT_FALSE(place.intersects(around.main));
            }
            around.open.push_back(place);
        }
    }
}

TEST_F(PlatformQtView, WindowsOpenBesideTheMainWindowAndComeBackWhereTheyWereLeft) {
    showWindow();
    view->move(40, 30);
    Form first("F_FIRST", "First", 3000, 1500);
    Form second("F_SECOND", "Second", 3000, 1500);
    for (Form* form : {&first, &second}) {
        platform.attachView(*form);
        form->show();
    }
    const QRect main = view->frameGeometry();
    EXPECT_EQ(platform.viewOf(first)->frameGeometry().topLeft(), QPoint(main.right() + 9, 30));
    EXPECT_EQ(platform.viewOf(second)->frameGeometry().topLeft(),
              QPoint(main.right() + 9, platform.viewOf(first)->frameGeometry().bottom() + 9));
    platform.viewOf(first)->move(5, 400);  // the operator's place, kept as it closes
    first.hide();
    platform.detachView(first);
    platform.attachView(first);
    first.show();
    EXPECT_EQ(platform.viewOf(first)->pos(), QPoint(5, 400));
    // Over a main window that fills the screen, one leaves its buttons in sight.
    view->setGeometry(view->screen()->availableGeometry());
    Form large("F_LARGE", "Large", 6000, 4500);
    platform.attachView(large);
    large.show();
    for (const QPushButton* button : view->findChildren<QPushButton*>()) {
        const QRect place(button->mapToGlobal(QPoint()), button->size());
        EXPECT_FALSE(platform.viewOf(large)->frameGeometry().intersects(place));
    }
    for (Form* form : {&first, &second, &large}) platform.detachView(*form);
}

}  // namespace
}  // namespace plx::qtp
