// The terminal editor's validation, in the order the operator meets it.
#include "shared/numeric_text.h"
#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

class ConsoleEditor : public testing_support::GatewayTest {
  protected:
    void SetUp() override {
        writeFile("Products.cfg",
                  "0003,,127.0.10.3,A\r\n0007,,127.0.10.7,B\r\n0012,,127.0.10.12,C\r\n");
        gateway.start();
    }

    struct Outcome {
        std::string message;  // empty: none
        bool focusOnNumber = false;
        bool stillOpen = false;
    };
    // Adds through the editor: types the fields, presses OK, then cancels if still open.
    Outcome add(const std::string& number, const std::string& address,
                const std::string& description = "New") {
        Outcome outcome;
        platform.messages.clear();
        withEditor(main().B_ADD_TERM, [&](F_ADD_PRODUCT& editor) {
            editor.INP_NO.type(number);
            editor.INP_IP.type(address);
            editor.INP_DESCRIPTION.type(description);
            editor.INP_DESCRIPTION.setFocus();
            editor.B_OK.click();
            outcome.focusOnNumber = editor.INP_NO.hasFocus();
            outcome.stillOpen = editor.form.visible();
            if (outcome.stillOpen) editor.B_CLOSE.click();
        });
        if (!platform.messages.empty()) {
            EXPECT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].title, "Error !");
            EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
            outcome.message = platform.messages[0].text;
        }
        return outcome;
    }
};

const std::string kNumberInUse = "Error this terminal number is already in use";
const std::string kOutOfRange = "Error the terminal number must be a whole number from 1 to 9999";

TEST_F(ConsoleEditor, RefusedInputLeavesTheListAsItWas) {
    struct Case {
        std::string number, address, message;
        bool focusOnNumber;
    };
    const Case cases[] = {
        {"0", "127.0.10.5", "", true},
        {"0000", "127.0.10.5", "", true},
        {"", "127.0.10.5", "", true},
        {"abc", "127.0.10.5", "", true},
        {"7", "127.0.10.5", kNumberInUse, false},
        {"0012", "127.0.10.5", kNumberInUse, false},
        {"12abc", "127.0.10.5", kNumberInUse, false},
        {"5", " 127.0.10.7 ", "Error this IP address is already in use (Terminal:0007)", false},
        // Row 0 has the address, row 2 the number: the first row in list order decides.
        {"12", "127.0.10.3", "Error this IP address is already in use (Terminal:0003)", false},
        {"10000", "127.0.10.5", kOutOfRange, true},
        {"-3", "127.0.10.5", kOutOfRange, true},
        {"2.5", "127.0.10.5", kOutOfRange, true},
    };
    for (const auto& c : cases) {
        const Outcome outcome = add(c.number, c.address);
        EXPECT_TRUE(outcome.stillOpen) << c.number;
        EXPECT_EQ(outcome.message, c.message) << c.number;
        EXPECT_EQ(outcome.focusOnNumber, c.focusOnNumber) << c.number;
        EXPECT_EQ(list().count(), 3) << c.number;
    }
    EXPECT_EQ(loggedEvents("GENERAL").size(), 1u);  // the start only: nothing was added
}

TEST_F(ConsoleEditor, AcceptedEntryHasPaddedNumberEmptyTypeAndTrimmedAddress) {
    EXPECT_EQ(add("5", "  127.0.10.05 ", "Gate, 5").message, "");  // another address than .5
    EXPECT_EQ(list().text(3), "0005,,127.0.10.05,Gate 5");
}

TEST_F(ConsoleEditor, EmptyAddressClashesWithAnotherEmptyAddress) {
    setTerminalList({"0003,,127.0.10.3,A", "0008,,,No address"});
    EXPECT_EQ(add("9", "").message, "Error this IP address is already in use (Terminal:0008)");
}

TEST_F(ConsoleEditor, AddingTheCurrentRowsNumberIsRefused) {
    list().setCurrentRow(1);
    EXPECT_EQ(add("7", "127.0.10.50").message, kNumberInUse);
}

TEST_F(ConsoleEditor, FullListRefusesAnotherTerminal) {
    std::vector<std::string> entries;
    for (int n = 1; n <= kMaxRows; ++n) entries.push_back(fourDigits(n) + ",,,");
    setTerminalList(entries);
    EXPECT_EQ(add("5000", "127.0.10.5").message,
              "Error the terminal list is full (1001 terminals)");
    EXPECT_EQ(list().count(), kMaxRows);
}

TEST_F(ConsoleEditor, CommaNeverReachesAFieldTypedOrPasted) {
    withEditor(main().B_ADD_TERM, [](F_ADD_PRODUCT& editor) {
        editor.INP_DESCRIPTION.type("a,b");
        editor.INP_IP.type("127,0");
        EXPECT_EQ(editor.INP_DESCRIPTION.text(), "ab");
        EXPECT_EQ(editor.INP_IP.text(), "1270");
        editor.INP_DESCRIPTION.paste(",c,d");
        editor.INP_IP.paste(".10,.1");
        EXPECT_EQ(editor.INP_DESCRIPTION.text(), "abcd");
        EXPECT_EQ(editor.INP_IP.text(), "1270.10.1");
    });
}

}  // namespace
}  // namespace plx::console_test
