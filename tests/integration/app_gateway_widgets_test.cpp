// The gateway in this process on the real platform: an operator's clicks and keys on the
// real widgets, found by their names, and what they leave in the folder and on the network.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "console/f_main.h"
#include "gateway/gateway.h"
#include "support/qt_integration.h"
#include "support/qt_test_platform.h"

namespace plx {
namespace {

using qtp::testing::application;
using qtp::testing::waitFor;

class AppGatewayWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        application();
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        // The gateway's folder is the working directory at start-up.
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
    }
    void TearDown() override {
        gateway.reset();
        QDir::setCurrent(previousFolder);
    }
    void start() {
        gateway = std::make_unique<Gateway>(platform);
        gateway->start();
        ASSERT_TRUE(waitFor([&] { return window("F_MAIN") != nullptr; }));
    }
    // The shown window of that name.
    static QWidget* window(const char* name) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String(name) && widget->isVisible()) return widget;
        }
        return nullptr;
    }
    template <class Widget = QWidget>
    static Widget* child(QWidget* window, const char* name) {
        return window == nullptr ? nullptr : window->findChild<Widget*>(QLatin1String(name));
    }
    static void click(QWidget* window, const char* button) {
        auto* widget = child<QPushButton>(window, button);
        ASSERT_NE(widget, nullptr) << button;
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    QStringList rows(QWidget* window, const char* list) {
        platform.flushViews();
        QStringList texts;
        auto* widget = child<QListWidget>(window, list);
        for (int row = 0; widget != nullptr && row < widget->count(); ++row) {
            texts.append(widget->item(row)->text());
        }
        return texts;
    }

    qtp::testing::GatewayFolder folder;
    QString previousFolder;
    qtp::testing::QtTestPlatform platform;
    std::unique_ptr<Gateway> gateway;
};

// Captions that do not fit their controls at the windows' design sizes.
QStringList clippedCaptions(QWidget* window) {
    QStringList clipped;
    const auto check = [&](QWidget* widget, const QString& text, bool fits) {
        if (widget->isVisibleTo(window) && !text.isEmpty() && !fits) {
            clipped.append(window->objectName() + "." + widget->objectName() + " \"" + text + "\"");
        }
    };
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        // A push button's size hint has a minimum width of its own: measure the face instead.
        constexpr int kBevel = 12;  // px of frame and padding around a push button's face
        const int face = button->fontMetrics().horizontalAdvance(button->text()) +
                         (button->icon().isNull() ? 0 : button->iconSize().width() + 4) + kBevel;
        const int needed = button->inherits("QPushButton") ? face : button->sizeHint().width();
        check(button, button->text(), needed <= button->width());
    }
    for (auto* label : window->findChildren<QLabel*>()) {
        const bool fits = label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : label->sizeHint().width() <= label->width();
        check(label, label->text(), fits);
    }
    return clipped;
}

// The operator opens every window from the main window and adds a terminal through the
// editor with the keyboard: every caption fits its control at the design sizes, only the
// terminal he confirmed reaches the list and the file, and none goes that he did not pick.
TEST_F(AppGatewayWidgets, EveryWindowOpensWithItsCaptionsWholeAndTheEditorAdds) {
    const QByteArray broadcasts("0000,,127.0.10.1,Broadcasts\r\n");
    folder.write("Products.cfg", broadcasts);
    start();
    QWidget* main = window("F_MAIN");
    EXPECT_EQ(main->windowTitle(), "Plyxen AS-400 Mervax Version: 1.0H");
    // The window's activation gives the list the focus, and the toolkit would make row 0
    // current with it: Remove right after a start must find no current row.
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    EXPECT_TRUE(child(main, "LST_PRODUIT")->hasFocus());
    EXPECT_EQ(gateway->window<F_MAIN>().LST_PRODUIT.currentRow(), -1);
    click(main, "B_REMOVE_TERM");
    EXPECT_EQ(folder.read("Products.cfg"), broadcasts);

    for (const char* button : {"B_AS400_COMM", "B_EVENTS", "B_STATUS", "B_TEST", "B_HELP"})
        click(main, button);
    QStringList clipped;
    for (const char* name : {"F_MAIN", "F_AS400", "F_EVENTS", "F_STATUS", "F_TEST", "F_HELP"}) {
        QWidget* shown = window(name);
        ASSERT_NE(shown, nullptr) << name;
        clipped += clippedCaptions(shown);
    }
    EXPECT_TRUE(rows(window("F_EVENTS"), "LST_EVENTS").join('\n').contains("START SOFTWARE"));
    window("F_AS400")->close();  // the host link window only hides
    click(main, "B_AS400_COMM");
    EXPECT_NE(window("F_AS400"), nullptr);

    // The editor is modal: the operator acts from inside its wait, with the keyboard. Enter
    // on CANCEL cancels; Enter in a field confirms.
    for (const bool confirm : {false, true}) {
        bool played = false;
        QTimer::singleShot(0, [&] {
            QWidget* editor = window("F_ADD_PRODUCT");
            ASSERT_NE(editor, nullptr);
            EXPECT_TRUE(editor->isModal());
            clipped += clippedCaptions(editor);
            const QString number = confirm ? "12" : "13";
            QTest::keyClicks(child(editor, "INP_NO"), number);
            QTest::keyClicks(child(editor, "INP_IP"), "127.0.10." + number);
            QTest::keyClicks(child(editor, "INP_DESCRIPTION"), "Line, 12");  // no comma
            QWidget* target = child(editor, confirm ? "INP_DESCRIPTION" : "B_CLOSE");
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key_Return);
            played = true;
        });
        click(main, "B_ADD_TERM");
        EXPECT_TRUE(played);
    }
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join('\n').toStdString();
    EXPECT_EQ(window("F_ADD_PRODUCT"), nullptr);
    EXPECT_EQ(rows(main, "LST_PRODUIT"),
              (QStringList{"0000,,127.0.10.1,Broadcasts", "0012,,127.0.10.12,Line 12"}));
    EXPECT_EQ(folder.read("Products.cfg"), broadcasts + "0012,,127.0.10.12,Line 12\r\n");
}

}  // namespace
}  // namespace plx
