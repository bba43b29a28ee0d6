// The terminal list: its tables, the main window's commands and the terminal editor, driven
// as the operator drives them.
#include "support/gateway_fixture.h"

namespace plx::console_test {
namespace {

using namespace testing_support;

class ConsoleList : public GatewayTest {
  protected:
    void SetUp() override {
        writeFile("Products.cfg",
                  "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n0003,,127.0.10.3,C\r\n");
        gateway.start();
    }
    int rowOf(int number) { return state().TAB_ROW_OF_NO[number]; }
    std::vector<bool> selection() {
        std::vector<bool> states;
        for (int row = 0; row < list().count(); ++row) states.push_back(list().selected(row));
        return states;
    }
};

TEST_F(ConsoleList, TablesIndexEveryRowByItsNumber) {
    state().TAB_AFF_VALUE[1] = "1234  0";
    setTerminalList({"0001,,127.0.10.1,Dock", "0002,T,127.0.10.2", " 0012 ,,127.0.10.3,",
                     "0007,,127.0.10.4,Gate 7", "0002,,127.0.10.5,Later"});
    EXPECT_TRUE(main().SYNC_TABLES());
    EXPECT_EQ(rowOf(7), 3);
    EXPECT_EQ(list().itemData(3), 7);
    EXPECT_EQ(rowOf(12), 2);
    EXPECT_EQ(rowOf(2), 4);  // the later row wins
    EXPECT_EQ(std::count(state().TAB_ROW_OF_NO.begin(), state().TAB_ROW_OF_NO.end(), kNoRow),
              kTerminalNumbers - 4);
    EXPECT_EQ(state().TAB_IP[3], "127.0.10.4");
    EXPECT_EQ(state().TAB_DESCRIPTION[3], "Gate 7");
    EXPECT_EQ(state().TAB_AFF_VALUE[1], "1234  0");  // not the rebuild's

    setTerminalList({});
    EXPECT_EQ(std::count(state().TAB_ROW_OF_NO.begin(), state().TAB_ROW_OF_NO.end(), kNoRow),
              kTerminalNumbers);
    EXPECT_EQ(state().TAB_IP[3], "");
}

TEST_F(ConsoleList, TablesStopAtARowThatCannotBeIndexed) {
    for (const std::string bad : {"x,,127.0.10.2,", ",,127.0.10.2,", "10000,,a,", "-1,,a,"}) {
        setTerminalList({"0001,,127.0.10.1,A", bad, "0003,,127.0.10.3,C"});
        EXPECT_FALSE(main().SYNC_TABLES()) << bad;
        EXPECT_EQ(rowOf(1), 0);
        EXPECT_EQ(rowOf(3), kNoRow) << bad;
        EXPECT_EQ(state().TAB_IP[2], "");
        EXPECT_EQ(list().count(), 3);  // nothing leaves the list
    }
    Strings entries;
    for (int n = 1; n <= kMaxRows + 1; ++n) entries.push_back(std::to_string(n) + ",,,");
    setTerminalList(entries);
    EXPECT_EQ(rowOf(1001), 1000);
    EXPECT_EQ(rowOf(1002), 1001);  // entered before the row was found beyond the tables
}

TEST_F(ConsoleList, SelectAllFollowsRowZeroAndTheSelectionTestWarns) {
    EXPECT_FALSE(main().LST_PRODUIT_SELECT());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Please seclect a product(s)");
    EXPECT_EQ(platform.messages[0].title, "Warning !");
    list().setSelected(1, true);
    list().setCurrentRow(2);
    EXPECT_TRUE(main().LST_PRODUIT_SELECT());
    main().B_SELECT_ALL.click();
    EXPECT_EQ(selection(), (std::vector<bool>{true, true, true}));
    list().doubleClick();
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(list().currentRow(), 2);
    list().clear();
    main().B_SELECT_ALL.click();
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ConsoleList, RemoveTakesOnlyTheCurrentRowAndLogsIt) {
    list().setSelected(0, true);
    list().setCurrentRow(1);
    main().B_REMOVE_TERM.click();
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(rowOf(3), 1);
    EXPECT_EQ(rowOf(2), kNoRow);
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0003,,127.0.10.3,C\r\n");
    // Always to the file, so that a terminal removed by mistake can be rebuilt.
    EXPECT_NE(dailyLog().find(",REMOVE PRODUCT: 0002,,127.0.10.2,B\r\n"), std::string::npos);
    main().B_REMOVE_TERM.click();  // no current row any more: nothing
    EXPECT_EQ(list().count(), 2);
}

TEST_F(ConsoleList, EditorAddsEditsAndCancelsThenTheListIsRebuiltAndSaved) {
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        EXPECT_EQ(editor.form.caption(), "Add product");
        EXPECT_EQ(editor.B_OK.caption(), "ADD");
        editor.INP_NO.type("4");
        editor.INP_IP.type("  127.0.10.04 ");  // another address than .4 of row 3
        editor.INP_DESCRIPTION.type("Dock 4");
        editor.form.pressEnter();  // Enter confirms, wherever the focus is
    });
    EXPECT_EQ(platform.modalOwner, &main().form);  // opened over the main window
    EXPECT_EQ(list().text(3), "0004,,127.0.10.04,Dock 4");
    EXPECT_EQ(rowOf(4), 3);
    EXPECT_TRUE(readFile("Products.cfg").ends_with("0004,,127.0.10.04,Dock 4\r\n"));
    EXPECT_EQ(eventTexts("GENERAL").back(), "ADD PRODUCT: 0004,,127.0.10.04,Dock 4");
    EXPECT_FALSE(windowExists("F_ADD_PRODUCT"));

    setTerminalList({"0001,,127.0.10.1,A", "0002,T, 127.0.10.2 "});
    list().setCurrentRow(1);
    withEditor(main().B_EDIT_TERM, [](F_ADD_PRODUCT& editor) {
        EXPECT_EQ(editor.form.caption(), "Edit product");
        EXPECT_EQ(editor.INP_NO.text(), "0002");
        EXPECT_EQ(editor.INP_TYPE.text(), "T");
        EXPECT_EQ(editor.INP_DESCRIPTION.text(), "");  // the entry has three fields
        editor.B_OK.click();                           // unchanged: its own row is skipped
    });
    EXPECT_EQ(list().text(1), "0002,,127.0.10.2,");
    EXPECT_EQ(eventTexts("GENERAL").back(), "EDIT PRODUCT: 0002,,127.0.10.2,");

    platform.files().remove(path("Products.cfg"));
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        editor.INP_NO.type("9");
        editor.form.pressEscape();  // Esc cancels
    });
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,\r\n");

    list().setCurrentRow(-1);
    bool opened = false;
    withEditor(main().B_EDIT_TERM, [&](F_ADD_PRODUCT&) { opened = true; });
    EXPECT_FALSE(opened);

    // The row under edit removed meanwhile (from the web console): the edit adds nothing.
    list().setCurrentRow(1);
    withEditor(main().B_EDIT_TERM, [this](F_ADD_PRODUCT& editor) {
        main().removeRow(1, {});
        editor.B_OK.click();
    });
    EXPECT_EQ(list().count(), 1);
    EXPECT_EQ(platform.messages.back().text,
              "Error the terminal being edited is no longer in the list");
    EXPECT_FALSE(windowExists("F_ADD_PRODUCT"));
}

// The dialog shows the verdict of the editor's checks (their table is the rule's): the
// message, the focus back on a number at fault, an address trimmed once the number passed.
TEST_F(ConsoleList, EditorShowsWhyItRefusesAndWritesNothing) {
    const struct {
        const char *number, *message;
        bool numberRefused;
    } cases[] = {
        {"abc", nullptr, true},
        {"10000", "Error the terminal number must be a whole number from 1 to 9999", true},
        {"2", "Error this terminal number is already in use", false},
    };
    list().setCurrentRow(1);  // in add mode no row is skipped
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        platform.messages.clear();
        withEditor(main().B_ADD_TERM, [&](F_ADD_PRODUCT& editor) {
            editor.INP_NO.type(c.number);
            editor.INP_IP.type(" 127.0.10.50 ");
            editor.INP_DESCRIPTION.setFocus();
            editor.B_OK.click();
            EXPECT_EQ(editor.INP_NO.hasFocus(), c.numberRefused);
            EXPECT_EQ(editor.INP_IP.text(), c.numberRefused ? " 127.0.10.50 " : "127.0.10.50");
            editor.B_CLOSE.click();
        });
        ASSERT_EQ(platform.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(platform.messages[0].text, c.message);
            EXPECT_EQ(platform.messages[0].title, "Error !");
            EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
        }
    }
    EXPECT_EQ(list().count(), 3);
    EXPECT_EQ(eventTexts("GENERAL").size(), 1u);  // the start only: nothing was added
}

TEST_F(ConsoleList, CommaAndLineBreakNeverReachAFieldTypedOrPasted) {
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        editor.INP_DESCRIPTION.type("a,b");
        editor.INP_IP.type("127,0");
        editor.INP_DESCRIPTION.paste(",c\r\nd\n");
        editor.INP_IP.paste(".10,.1");
        EXPECT_EQ(editor.INP_DESCRIPTION.text(), "abc d ");
        EXPECT_EQ(editor.INP_IP.text(), "1270.10.1");
    });
}

}  // namespace
}  // namespace plx::console_test
