// The main window's commands, driven as the operator drives them.
#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

class ConsoleCommands : public testing_support::GatewayTest {
  protected:
    void SetUp() override {
        writeFile("Products.cfg",
                  "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n0003,,127.0.10.3,C\r\n");
        gateway.start();
    }
    std::vector<bool> selection() {
        std::vector<bool> states;
        for (int row = 0; row < list().count(); ++row) states.push_back(list().selected(row));
        return states;
    }
};

TEST_F(ConsoleCommands, SelectAllFollowsRowZeroAndKeepsTheCurrentRow) {
    list().setSelected(1, true);
    list().setCurrentRow(2);
    main().B_SELECT_ALL.click();
    EXPECT_EQ(selection(), (std::vector<bool>{true, true, true}));
    list().doubleClick();
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(list().currentRow(), 2);

    list().clear();
    main().B_SELECT_ALL.click();
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ConsoleCommands, SelectionTestWarnsWhenNothingIsSelected) {
    EXPECT_FALSE(main().LST_PRODUIT_SELECT());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Please seclect a product(s)");
    EXPECT_EQ(platform.messages[0].title, "Warning !");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);

    list().setSelected(2, true);
    EXPECT_TRUE(main().LST_PRODUIT_SELECT());
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ConsoleCommands, RemoveTakesOnlyTheCurrentRowAndShiftsTheRest) {
    list().setSelected(0, true);
    list().setCurrentRow(1);
    main().B_REMOVE_TERM.click();
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(list().text(1), "0003,,127.0.10.3,C");
    EXPECT_EQ(state().TAB_ROW_OF_NO[3], 1);
    EXPECT_EQ(state().TAB_ROW_OF_NO[2], kNoRow);
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0003,,127.0.10.3,C\r\n");
    // Logged, and always to the file, so that a terminal removed by mistake can be rebuilt.
    EXPECT_EQ(loggedEvents("GENERAL").back().text, "REMOVE PRODUCT: 0002,,127.0.10.2,B");
    EXPECT_NE(readFile("Plyxen400_05-12-2026.LOG").find(",REMOVE PRODUCT: 0002,,127.0.10.2,B\r\n"),
              std::string::npos);

    main().B_REMOVE_TERM.click();  // no current row any more: nothing
    EXPECT_EQ(list().count(), 2);
}

TEST_F(ConsoleCommands, AddThroughTheEditorRebuildsSavesAndReleasesIt) {
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        EXPECT_EQ(editor.form.caption(), "Add product");
        EXPECT_EQ(editor.B_OK.caption(), "ADD");
        editor.INP_NO.type("4");
        editor.INP_IP.type("127.0.10.4");
        editor.INP_DESCRIPTION.type("Dock 4");
        editor.form.pressEnter();  // Enter confirms, wherever the focus is
    });
    EXPECT_EQ(platform.modalOwner, &main().form);  // opened over the main window
    EXPECT_EQ(list().text(3), "0004,,127.0.10.4,Dock 4");
    EXPECT_EQ(state().TAB_ROW_OF_NO[4], 3);
    EXPECT_EQ(readFile("Products.cfg").substr(60), "0004,,127.0.10.4,Dock 4\r\n");
    EXPECT_EQ(loggedEvents("GENERAL").back().text, "ADD PRODUCT: 0004,,127.0.10.4,Dock 4");
    EXPECT_FALSE(windowExists("F_ADD_PRODUCT"));
}

TEST_F(ConsoleCommands, EditOpensTheCurrentEntryAndRewritesIt) {
    setTerminalList({"0001,,127.0.10.1,A", "0002,T, 127.0.10.2 "});
    list().setCurrentRow(1);
    withEditor(main().B_EDIT_TERM, [](F_ADD_PRODUCT& editor) {
        EXPECT_EQ(editor.form.caption(), "Edit product");
        EXPECT_EQ(editor.B_OK.caption(), "EDIT");
        EXPECT_EQ(editor.INP_NO.text(), "0002");
        EXPECT_EQ(editor.INP_TYPE.text(), "T");
        EXPECT_EQ(editor.INP_DESCRIPTION.text(), "");  // the entry has three fields
        editor.B_OK.click();                           // unchanged: its own row is skipped
    });
    EXPECT_EQ(list().text(1), "0002,,127.0.10.2,");
    EXPECT_EQ(loggedEvents("GENERAL").back().text, "EDIT PRODUCT: 0002,,127.0.10.2,");

    list().setCurrentRow(-1);
    bool opened = false;
    withEditor(main().B_EDIT_TERM, [&](F_ADD_PRODUCT&) { opened = true; });
    EXPECT_FALSE(opened);
}

TEST_F(ConsoleCommands, CancelledEditorStillRebuildsAndSaves) {
    ::remove(path("Products.cfg").c_str());
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        editor.INP_NO.type("9");
        editor.INP_IP.type("127.0.10.9");
        editor.form.pressEscape();  // Esc cancels
    });
    EXPECT_EQ(list().count(), 3);
    EXPECT_EQ(readFile("Products.cfg").size(), 3u * 20u);
}

TEST_F(ConsoleCommands, ClockAndDailyFileNameRollOverAtMidnight) {
    platform.setTime({2026, 12, 31, 23, 59, 59});
    platform.advance(500);
    EXPECT_EQ(main().AFF_HEURE.caption(), "23:59:59");
    EXPECT_EQ(main().SW_LOG.caption(), path("LOG_PLYXEN_400_31-12-2026.TXT"));
    platform.advance(500);
    EXPECT_EQ(main().AFF_HEURE.caption(), "00:00:00");
    EXPECT_EQ(main().SW_LOG.caption(), path("LOG_PLYXEN_400_01-01-2027.TXT"));
    EXPECT_EQ(main().dailyFileName(), path("LOG_PLYXEN_400_01-01-2027.TXT"));
}

}  // namespace
}  // namespace plx::console_test
