// The operator's tools: the ping script, the web page, the status window, the hyperlink,
// the help window and the resize rules of the windows.
#include "support/gateway_fixture.h"
#include "tools/f_status.h"

namespace plx::tools_test {
namespace {

using namespace testing_support;

class Tools : public StartedGatewayTest {};

// ------------------------------------------------------------------ reachability test

const std::string kSeparatorLine = "printf '%s\\n' '" + std::string(80, '-') + "'\n";
const std::string kWaitLines = "printf '%s' 'Press Enter to continue . . . '\nread -r answer\n";

class ToolsPing : public StartedGatewayTest {
  protected:
    ToolsPing() {
        addTerminal("0001,LED,127.0.10.1,Dock 1");
        addTerminal("0002,LED,127.0.10.2,Dock 2", true);
        addTerminal("0003,LED,127.0.10.3,Dock 3");
        forgetEvents();
    }
    std::string scriptPath() {
        return platform.privateFolder() + kPathSeparator + "ping-selected-products.sh";
    }
    std::string pingLines(int n) {
        const std::string address = "127.0.10." + std::to_string(n);
        return "printf '%s\\n' '000" + std::to_string(n) + ",LED," + address + ",Dock " +
               std::to_string(n) + "'\nping -c 1 -s 10 -W 0.5 -- '" + address + "'\n";
    }
};

TEST_F(ToolsPing, ScriptOfTheSelectedRowsRunsInTheDesktopsTerminalWindow) {
    platform.programs["x-terminal-emulator"] = "/usr/bin/x-terminal-emulator";
    main().B_PING.click();
    EXPECT_EQ(readFileAt(scriptPath()), "#!/bin/sh\n" + kSeparatorLine + pingLines(2) +
                                            kSeparatorLine + kSeparatorLine + kWaitLines);
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program, "/usr/bin/x-terminal-emulator");
    EXPECT_EQ(platform.started[0].arguments,
              (Strings{"-T", "Ping Selected Product", "-e", "/bin/sh", scriptPath()}));
    EXPECT_EQ(eventTexts("TEST"), Strings{"Request Ping"});
    EXPECT_TRUE(ownerOnly(scriptPath()));  // nobody else may read or swap it

    main().B_SELECT_ALL.click();
    main().B_PING.click();  // replaced, not appended to
    EXPECT_EQ(readFileAt(scriptPath()), "#!/bin/sh\n" + pingLines(1) + kSeparatorLine +
                                            pingLines(2) + kSeparatorLine + pingLines(3) +
                                            kSeparatorLine + kWaitLines);
}

TEST_F(ToolsPing, FailuresStartNothingAndAreToldAndLogged) {
    // Which programs the machine has, whether they start, how much the disk takes.
    const struct {
        const char* name;
        Strings programs;
        bool startFails;
        long long diskRoom;
        const char* cause;  // what "Request Ping failed: " is followed by; nullptr: no event
    } cases[] = {
        {"nothing selected", {"ping", "xterm"}, false, -1, nullptr},
        {"no ping command", {"xterm"}, false, -1, "no ping command"},
        {"no terminal window", {"ping"}, false, -1, "no terminal window"},
        {"it fails to start", {"ping", "xterm"}, true, -1, "no terminal window"},
        {"the script cannot be written", {"ping", "xterm"}, false, 20, "script not written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeGateway other;
        other.gateway.start();
        other.addTerminal("0001,LED,127.0.10.1,Dock 1", c.cause != nullptr);
        other.forgetEvents();
        other.platform.programs.clear();
        for (const std::string& name : c.programs)
            other.platform.programs[name] = "/usr/bin/" + name;
        other.platform.startFails = c.startFails;
        other.platform.fakeFiles().failAfterBytes = c.diskRoom;
        other.main().B_PING.click();
        EXPECT_TRUE(other.platform.started.empty());
        ASSERT_EQ(other.platform.messages.size(), 1u);
        EXPECT_EQ(other.platform.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(other.eventTexts("TEST"),
                  c.cause ? Strings{"Request Ping failed: " + std::string(c.cause)} : Strings{});
    }
}

// On Windows the script is a batch file that cmd.exe starts in a console window of its own.
TEST_F(ToolsPing, OnWindowsABatchFileRunsInACmdWindow) {
    platform.scripts = Platform::ScriptKind::WindowsBatch;
    main().B_PING.click();
    const std::string batch = platform.privateFolder() + kPathSeparator + "MERVAX_PING.BAT";
    const std::string dashes = "ECHO " + std::string(80, '-') + "\r\n";
    EXPECT_EQ(readFileAt(batch), "@ECHO OFF\r\n" + dashes +
                                     "ECHO 0002,LED,127.0.10.2,Dock 2\r\n"
                                     "PING \"127.0.10.2\" -l 10 -n 1 -w 500\r\n" +
                                     dashes + dashes + "PAUSE \r\n");
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program, "cmd.exe");
    EXPECT_EQ(platform.started[0].arguments,
              (Strings{"/c", "start", "Ping Selected Product", batch}));
}

// ------------------------------------------------------------------ web page

TEST_F(Tools, WebPageButtonProducesThePageAndFollowsTheLink) {
    // The operator types the name as the windows show it.
    main().INP_WEBPAGE.setText(" " + shown("page.html") + " ");
    main().B_OPEN_WEBP.click();  // no template: a silent stop, the link opens its old URL
    EXPECT_FALSE(platform.files().exists(path("page2.html")));
    EXPECT_TRUE(platform.openedAddresses.empty());

    addTerminal("0001,LED,127.0.10.1,Dock 1");
    state().TAB_AFF_VALUE[0] = "1234  0";
    writeFile("page.html", "<p>{[AF0001]} {[SP]} {[GD]}</p>\n");
    main().B_OPEN_WEBP.click();
    EXPECT_EQ(readFile("page2.html"), "<p>1234  0 1024 05-12-2026</p>\r\n");
    EXPECT_EQ(main().URL_WEBPAGE.URL(), shown("page2.html"));
    EXPECT_EQ(platform.openedAddresses, Strings{shown("page2.html")});
    EXPECT_TRUE(platform.messages.empty());

    platform.fakeFiles().failAfterBytes = 5;  // a page that cannot be written is not opened
    main().B_OPEN_WEBP.click();
    EXPECT_EQ(platform.openedAddresses.size(), 1u);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Error !");
}

// ------------------------------------------------------------------ status window

TEST_F(Tools, StatusWindowIsASnapshotOfTheValueMemoryByRow) {
    main().B_STATUS.click();
    EXPECT_EQ(gateway.window<F_STATUS>().LST_STATUS.count(), 0);
    addTerminal("0007,LED,127.0.10.1,Dock 7");
    addTerminal("0123,LED,127.0.10.2,Dock 123");
    state().TAB_AFF_VALUE[0] = "0042  3";
    main().B_STATUS.click();  // showing it again does not rebuild it
    EXPECT_EQ(gateway.window<F_STATUS>().LST_STATUS.count(), 0);
    gateway.window<F_STATUS>().B_REFRESH.click();
    EXPECT_EQ(gateway.window<F_STATUS>().LST_STATUS.texts(), (Strings{"0007,0042  3", "0123,"}));
    state().TAB_AFF_VALUE[1] = "----  0";
    gateway.window<F_STATUS>().LST_STATUS.doubleClick();
    EXPECT_EQ(gateway.window<F_STATUS>().LST_STATUS.texts(),
              (Strings{"0007,0042  3", "0123,----  0"}));

    list().clear();  // rows beyond the memory are listed with no value
    for (int row = 0; row <= kMaxRows; ++row) {
        list().addItem("x");
        list().setItemData(row, row + 1);
    }
    gateway.window<F_STATUS>().B_REFRESH.click();
    ASSERT_EQ(gateway.window<F_STATUS>().LST_STATUS.count(), kMaxRows + 1);
    EXPECT_EQ(gateway.window<F_STATUS>().LST_STATUS.text(kMaxRows), "1002,");
}

// ------------------------------------------------------------------ window layout

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};
Box boxOf(const Control& c) {
    return {c.left(), c.top(), c.width(), c.height()};
}
void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}
int rightOf(const Control& c) {
    return c.left() + c.width();
}
int bottomOf(const Control& c) {
    return c.top() + c.height();
}

TEST_F(Tools, MainWindowStretchesTheListAndKeepsTheRestOnItsEdges) {
    F_MAIN& m = main();
    // At the design size the rules, applied to the outer size, put the management buttons
    // right under the list and on the footer, the clock on the list's right edge.
    EXPECT_EQ(m.FR_B_MANAGE.top(), bottomOf(m.LST_PRODUIT));
    EXPECT_EQ(bottomOf(m.FR_B_MANAGE), m.form.clientHeight() - m.PIC_FOOTER.height());
    EXPECT_EQ(rightOf(m.AFF_HEURE), rightOf(m.LST_PRODUIT));
    EXPECT_EQ(rightOf(m.FR_B_MANAGE), rightOf(m.LST_PRODUIT));
    const Box list = boxOf(m.LST_PRODUIT), clock = boxOf(m.AFF_HEURE),
              buttons = boxOf(m.FR_B_MANAGE);
    m.form.resize(m.form.width() + 1000, m.form.height() + 500);
    const Box grown{list.left, list.top, list.width + 1000, list.height + 500};
    EXPECT_EQ(boxOf(m.LST_PRODUIT), grown);
    EXPECT_EQ(boxOf(m.AFF_HEURE), (Box{clock.left + 1000, clock.top, clock.width, clock.height}));
    EXPECT_EQ(boxOf(m.FR_B_MANAGE),
              (Box{buttons.left + 1000, buttons.top + 500, buttons.width, buttons.height}));
    m.form.resize(300, 2000);  // too small for a list: the refused sizes are kept
    EXPECT_EQ(boxOf(m.LST_PRODUIT), grown);
    // At the smallest the operator can make it, the top row keeps a margin on its right as
    // on its left, and the management buttons stay under a list that shows a few terminals,
    // above the footer.
    m.form.resize(m.form.minimumClientWidth() + m.form.frameWidth(),
                  m.form.minimumClientHeight() + m.form.frameHeight());
    EXPECT_GE(m.form.clientWidth() - rightOf(m.B_HELP), m.B_AS400_COMM.left());
    constexpr int kListRow = 255;  // twips: a row of the list at the design font, 17 px
    EXPECT_GE(m.LST_PRODUIT.height(), 4 * kListRow);
    EXPECT_EQ(m.FR_B_MANAGE.top(), bottomOf(m.LST_PRODUIT));
    EXPECT_GE(m.FR_B_MANAGE.left(), m.LST_PRODUIT.left());
    EXPECT_LE(bottomOf(m.FR_B_MANAGE), m.form.clientHeight() - m.PIC_FOOTER.height());
}

}  // namespace
}  // namespace plx::tools_test
