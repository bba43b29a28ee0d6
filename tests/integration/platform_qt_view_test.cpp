// The generic form view: one widget per control, kept in step both ways, on a window built
// for the test from every kind of control.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "integration/platform_qt_test_support.h"
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
        AFF_RX.setReadOnly(true);
        AFF_RX.move(300, 1050, 2700, 1200);
        B_GO.move(3150, 1050, 1200, 375);
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

    // Where an operator clicks a check or option button: on its box, not past its caption.
    static void clickBox(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
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

    testing::QtTestPlatform platform;
    SampleWindow window;
    QWidget* view = nullptr;
};

TEST_F(PlatformQtView, EveryControlHasAWidgetOfItsKindNamedAfterIt) {
    EXPECT_EQ(view->objectName(), "F_SAMPLE");
    EXPECT_EQ(view->windowTitle(), "Sample window");
    const std::vector<std::pair<const char*, const char*>> kinds = {
        {"LBL_NAME", "QLabel"},        {"INP_NAME", "QLineEdit"},     {"INP_IP", "QComboBox"},
        {"AFF_RX", "QPlainTextEdit"},  {"B_GO", "QPushButton"},       {"SW_LOG", "QCheckBox"},
        {"SW_MODE_0", "QRadioButton"}, {"SW_MODE_1", "QRadioButton"}, {"LST_ITEMS", "QListWidget"},
        {"PIC_LAMP", "QLabel"},        {"URL_LINK", "QLabel"},        {"FR_BUTTONS", "QGroupBox"},
        {"B_IN_FRAME", "QPushButton"}, {"PIC_FOOTER", "QLabel"},
    };
    for (const auto& [name, kind] : kinds) {
        QWidget* widget = find(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(kind)) << name << " is " << widget->metaObject()->className();
    }
    EXPECT_TRUE(find<QComboBox>("INP_IP")->isEditable());
    EXPECT_EQ(find<QListWidget>("LST_ITEMS")->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(find("B_IN_FRAME")->parentWidget(), find("FR_BUTTONS"));
}

TEST_F(PlatformQtView, TwipsBecomePixelsAtFifteenPerPixel) {
    EXPECT_EQ(view->size(), QSize(400, 300));
    EXPECT_EQ(find("LBL_NAME")->geometry(), QRect(20, 10, 100, 20));
    EXPECT_EQ(find("B_IN_FRAME")->geometry(), QRect(10, 10, 80, 25));  // inside its frame
    window.B_GO.move(1500, 750, 1500, 450);
    EXPECT_EQ(find("B_GO")->geometry(), QRect(100, 50, 100, 30));
    EXPECT_EQ(find("PIC_FOOTER")->geometry(), QRect(0, 280, 400, 20));  // docked at the bottom
}

TEST_F(PlatformQtView, ControlChangesReachTheirWidgets) {
    window.LBL_NAME.setCaption("Host:");
    EXPECT_EQ(find<QLabel>("LBL_NAME")->text(), "Host:");
    window.INP_NAME.setText("caf\xe9");  // 8-bit text, one character per byte
    EXPECT_EQ(find<QLineEdit>("INP_NAME")->text(), QString::fromUtf8("café"));
    window.INP_IP.setText("127.0.10.4");
    EXPECT_EQ(find<QComboBox>("INP_IP")->currentText(), "127.0.10.4");
    window.B_GO.setCaption("Stop");
    EXPECT_EQ(find<QPushButton>("B_GO")->text(), "Stop");

    const std::vector<std::pair<int, Qt::CheckState>> states = {
        {1, Qt::Checked}, {2, Qt::PartiallyChecked}, {0, Qt::Unchecked}};
    for (const auto& [value, state] : states) {
        window.SW_LOG.setValue(value);
        EXPECT_EQ(find<QCheckBox>("SW_LOG")->checkState(), state) << value;
    }
    window.SW_MODE_1.setValue(true);
    EXPECT_TRUE(find<QRadioButton>("SW_MODE_1")->isChecked());

    window.B_GO.setEnabled(false);
    EXPECT_FALSE(find("B_GO")->isEnabled());
    window.B_GO.setVisible(false);
    EXPECT_TRUE(find("B_GO")->isHidden());
    window.PIC_LAMP.setToolTip("ONLINE");
    EXPECT_EQ(find("PIC_LAMP")->toolTip(), "ONLINE");

    const QImage online = find<QLabel>("PIC_LAMP")->pixmap().toImage();
    window.PIC_LAMP.setImage("lamp-offline");
    const QImage offline = find<QLabel>("PIC_LAMP")->pixmap().toImage();
    EXPECT_FALSE(online.isNull());
    EXPECT_NE(online, offline);
}

TEST_F(PlatformQtView, ListsAndLongTextsCatchUpOnTheRefreshNotAtEachChange) {
    showWindow();
    auto* list = find<QListWidget>("LST_ITEMS");
    for (int row = 0; row < 500; ++row) window.LST_ITEMS.addItem("line " + std::to_string(row));
    window.LST_ITEMS.setSelected(3, true);
    window.LST_ITEMS.setSelected(4, true);
    window.LST_ITEMS.setCurrentRow(4);
    window.AFF_RX.setVisible(true);
    window.AFF_RX.appendAtEnd("first\r\n");
    EXPECT_EQ(list->count(), 0) << "no rebuild inside the change itself";

    ASSERT_TRUE(waitFor([&] { return list->count() == 500; }));
    EXPECT_EQ(list->item(499)->text(), "line 499");
    EXPECT_TRUE(list->item(3)->isSelected());
    EXPECT_TRUE(list->item(4)->isSelected());
    EXPECT_FALSE(list->item(5)->isSelected());
    EXPECT_EQ(list->currentRow(), 4);

    // New lines at the end bring the list to its end.
    window.LST_ITEMS.addItem("newest");
    platform.flushViews();
    const QRect newest = list->visualItemRect(list->item(500));
    EXPECT_TRUE(list->viewport()->rect().contains(newest.center()));

    // A line end split over two appends stays one line end.
    window.AFF_RX.appendAtEnd("second\r");
    window.AFF_RX.appendAtEnd("\nthird");
    platform.flushViews();
    EXPECT_EQ(find<QPlainTextEdit>("AFF_RX")->toPlainText(), "first\nsecond\nthird");
    window.AFF_RX.setText("");
    platform.flushViews();
    EXPECT_EQ(find<QPlainTextEdit>("AFF_RX")->toPlainText(), "");
}

TEST_F(PlatformQtView, ClicksReachButtonsChecksAndOptions) {
    showWindow();
    int goClicks = 0, logClicks = 0, addClicks = 0, frameClicks = 0;
    window.B_GO.onClick = [&] { ++goClicks; };
    window.B_IN_FRAME.onClick = [&] { ++frameClicks; };
    window.SW_LOG.onClick = [&] { ++logClicks; };
    window.SW_MODE_1.onClick = [&] { ++addClicks; };
    window.SW_MODE_0.setValue(true);

    QTest::mouseClick(find("B_GO"), Qt::LeftButton);
    QTest::mouseClick(find("B_IN_FRAME"), Qt::LeftButton);
    EXPECT_EQ(goClicks, 1);
    EXPECT_EQ(frameClicks, 1);
    window.B_GO.setEnabled(false);
    QTest::mouseClick(find("B_GO"), Qt::LeftButton);
    EXPECT_EQ(goClicks, 1);

    clickBox(find("SW_LOG"));
    EXPECT_EQ(window.SW_LOG.value(), 1);
    window.SW_LOG.setValue(2);  // greyed: a click ticks it
    clickBox(find("SW_LOG"));
    EXPECT_EQ(window.SW_LOG.value(), 1);
    EXPECT_EQ(find<QCheckBox>("SW_LOG")->checkState(), Qt::Checked);
    EXPECT_EQ(logClicks, 3);

    clickBox(find("SW_MODE_1"));
    EXPECT_TRUE(window.SW_MODE_1.value());
    EXPECT_FALSE(window.SW_MODE_0.value()) << "one option of a group at a time";
    EXPECT_EQ(addClicks, 1);
}

TEST_F(PlatformQtView, TypedCharactersPassThroughKeyPressFirst) {
    showWindow();
    int changes = 0;
    window.INP_NAME.onChange = [&] { ++changes; };
    window.INP_NAME.onKeyPress = [](int& key) {
        if (key == ',') key = 0;                  // refused
        if (key >= 'a' && key <= 'z') key -= 32;  // upper-cased
    };
    auto* line = find<QLineEdit>("INP_NAME");
    QTest::keyClicks(line, "ab,c");
    EXPECT_EQ(window.INP_NAME.text(), "ABC");
    EXPECT_EQ(line->text(), "ABC");
    EXPECT_EQ(changes, 3);

    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(window.INP_NAME.text(), "AB");

    // A paste arrives as one change and skips KeyPress.
    QGuiApplication::clipboard()->setText("x,y");
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.INP_NAME.text(), "ABx,y");
    EXPECT_EQ(changes, 5);

    int comboChanges = 0;
    window.INP_IP.onChange = [&] { ++comboChanges; };
    window.INP_IP.onKeyPress = [](int& key) {
        if (key != '.' && (key < '0' || key > '9')) key = 0;
    };
    QTest::keyClicks(find("INP_IP"), "127.0.x10.5");
    EXPECT_EQ(window.INP_IP.text(), "127.0.10.5");
    EXPECT_EQ(comboChanges, 10);
}

TEST_F(PlatformQtView, CodeChangesRunTheirHandlersOnceAndNeverComeBack) {
    int changes = 0, clicks = 0, optionClicks = 0, lost = 0;
    window.INP_NAME.onChange = [&] { ++changes; };
    window.SW_LOG.onClick = [&] { ++clicks; };
    window.SW_MODE_0.onClick = [&] { ++optionClicks; };
    window.INP_NAME.onLostFocus = [&] { ++lost; };
    showWindow();
    window.INP_NAME.setText("x");
    window.SW_LOG.setValue(1);
    window.SW_MODE_0.setValue(true);
    window.SW_MODE_1.setValue(
        true);  // the widgets of one group follow; the controls are the code's
    window.LST_ITEMS.addItem("a");
    window.LST_ITEMS.setSelected(0, true);
    platform.flushViews();
    QTest::qWait(60);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(optionClicks, 1);
    EXPECT_TRUE(window.SW_MODE_0.value());
    EXPECT_TRUE(window.LST_ITEMS.selected(0));
    EXPECT_EQ(lost, 0);
}

TEST_F(PlatformQtView, ListRowsAreSelectedOneByOneAndDoubleClicked) {
    showWindow();
    for (const char* text : {"0001,,127.0.10.1,A", "0002,,127.0.10.2,B", "0003,,127.0.10.3,C"}) {
        window.LST_ITEMS.addItem(text);
    }
    platform.flushViews();
    int doubleClicks = 0;
    window.LST_ITEMS.onDblClick = [&] { ++doubleClicks; };
    auto* list = find<QListWidget>("LST_ITEMS");
    const auto click = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };
    click(0);
    click(2);
    EXPECT_TRUE(window.LST_ITEMS.selected(0));
    EXPECT_FALSE(window.LST_ITEMS.selected(1));
    EXPECT_TRUE(window.LST_ITEMS.selected(2));
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 2);
    click(0);
    EXPECT_FALSE(window.LST_ITEMS.selected(0));
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 0);

    click(1);  // the first click of a double-click
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(window.LST_ITEMS.currentRow(), 1);

    // A click on a list that has not caught up with its control yet is not misread.
    window.LST_ITEMS.removeItem(0);
    click(1);
    EXPECT_EQ(window.LST_ITEMS.count(), 2);
    platform.flushViews();
    EXPECT_EQ(list->count(), 2);
}

TEST_F(PlatformQtView, LinksTextDoubleClicksAndFocusReachTheControls) {
    showWindow();
    std::vector<int> buttons;
    window.URL_LINK.onMouseDown = [&](int button) { buttons.push_back(button); };
    QTest::mouseClick(find("URL_LINK"), Qt::LeftButton);
    QTest::mouseClick(find("URL_LINK"), Qt::RightButton);
    QTest::mouseClick(find("URL_LINK"), Qt::MiddleButton);
    EXPECT_EQ(buttons, (std::vector<int>{1, 2, 4}));

    int cleared = 0;
    window.AFF_RX.onDblClick = [&] { ++cleared; };
    window.AFF_RX.setVisible(true);
    QTest::mouseDClick(find<QPlainTextEdit>("AFF_RX")->viewport(), Qt::LeftButton);
    EXPECT_EQ(cleared, 1);

    int lost = 0;
    window.INP_NAME.onLostFocus = [&] { ++lost; };
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    find("INP_NAME")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(window.form.focused(), &window.INP_NAME);
    find("INP_IP")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(window.form.focused(), &window.INP_IP);
    EXPECT_EQ(lost, 1);

    // Code puts the focus back (a refused entry): the keyboard follows.
    window.INP_NAME.setFocus();
    EXPECT_TRUE(find("INP_NAME")->hasFocus());
    EXPECT_EQ(window.form.focused(), &window.INP_NAME);
}

TEST_F(PlatformQtView, TheCloseBoxAsksTheWindowsLogic) {
    showWindow();
    int asked = 0, unloaded = 0;
    window.form.onQueryUnload = [&] {
        ++asked;
        window.form.hide();  // a window that hides instead of closing
        return true;
    };
    window.form.onUnload = [&] { ++unloaded; };
    view->close();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(unloaded, 0);
    EXPECT_FALSE(view->isVisible());

    window.form.onQueryUnload = nullptr;
    showWindow();
    view->close();
    EXPECT_EQ(unloaded, 1);
    EXPECT_FALSE(window.form.visible());
}

TEST_F(PlatformQtView, ResizingRunsTheLayoutAndKeepsTheFooterDocked) {
    int layouts = 0;
    window.form.onResize = [&] {
        ++layouts;
        window.LST_ITEMS.setWidth(window.form.width() - 600);
    };
    showWindow();
    EXPECT_EQ(view->size(), QSize(400, 300)) << "the design's client area";
    layouts = 0;
    view->resize(500, 400);
    // The form's size is the outer one: the client area and the window system's frame.
    const QSize outer = view->frameGeometry().size();
    EXPECT_EQ(window.form.width(), outer.width() * 15);
    EXPECT_EQ(window.form.height(), outer.height() * 15);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(find("LST_ITEMS")->width(), outer.width() - 40);
    EXPECT_EQ(find("PIC_FOOTER")->geometry(), QRect(0, 380, 500, 20));
}

TEST_F(PlatformQtView, ModalShowWaitsUntilTheFormIsHidden) {
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = view->isVisible() && view->windowModality() == Qt::ApplicationModal;
        window.form.hide();
    });
    Form owner("F_OWNER", "", 3000, 3000);
    platform.runModal(window.form, owner);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(view->windowModality(), Qt::NonModal);
}

TEST_F(PlatformQtView, ADetachedViewNoLongerFollowsNorActs) {
    showWindow();
    int clicks = 0;
    window.B_GO.onClick = [&] { ++clicks; };
    QPointer<QWidget> gone = view;
    auto* button = find<QPushButton>("B_GO");
    // Released from inside its own button's click, as a window's Close button does.
    window.B_IN_FRAME.onClick = [&] { platform.detachView(window.form); };
    QTest::mouseClick(find("B_IN_FRAME"), Qt::LeftButton);
    EXPECT_EQ(platform.viewOf(window.form), nullptr);
    window.B_GO.setCaption("changed");  // no observer any more
    if (gone) {
        EXPECT_EQ(button->text(), "Go");
        button->click();
        EXPECT_EQ(clicks, 0);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
}

}  // namespace
}  // namespace plx::qtp
