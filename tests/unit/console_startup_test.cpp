// Start-up and shut-down of the gateway, and the configuration files they read and write.
#include <algorithm>

#include "support/gateway_fixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace plx::console_test {
namespace {

using namespace testing_support;

class ConsoleStartup : public GatewayTest {
  protected:
    // The start-up's own events, without the host link's status lines.
    Strings startUpEvents() {
        Strings found;
        for (const auto& event : loggedEvents()) {
            if (event.mode == "GENERAL" || event.mode == "LOG TO FILE")
                found.push_back(event.mode + ":" + event.text);
        }
        return found;
    }
};

TEST_F(ConsoleStartup, EmptyFolderStartsWithFileLoggingOffAndTheDefaultColours) {
    gateway.start();
    EXPECT_EQ(platform.readyCount, 1) << "the service manager is told once start-up is done";
    EXPECT_EQ(state().APP_PATH, platform.folder());
    ASSERT_EQ(
        startUpEvents(),
        (Strings{"GENERAL:START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)", "LOG TO FILE:0"}));
    EXPECT_EQ(loggedEvents("GENERAL")[0].source, "Server [" + as400().INP_IP.toolTip() + "]");
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(state().TAB_ROW_OF_NO[0], kNoRow);
    // The clock ran once; the file logging indicator shows it off.
    EXPECT_EQ(main().AFF_HEURE.caption(), "14:05:09");
    EXPECT_EQ(main().SW_LOG.caption(), shown("LOG_PLYXEN_400_05-12-2026.TXT"));
    EXPECT_TRUE(main().PIC_SW_LOG_DISPLAY(0).visible());
    EXPECT_FALSE(main().PIC_SW_LOG_DISPLAY(1).visible());
    EXPECT_TRUE(main().form.visible());
    EXPECT_FALSE(eventWindow().form.visible());

    // The colour file is written with its 22 lines, then read.
    const std::string dashes(51, '-');
    EXPECT_EQ(
        readFile("Color_Patern.txt"),
        dashes +
            "\r\n- This file contain:\r\n- Color#,ColorPatern\r\n"
            "- Color#: 0 to 9 ... A to Z\r\n- ColorPatern: Contain 4 numbers from 0 to 6\r\n"
            "-          0=Red, 1=Green\r\n-          2=Red with dot, 3=Green with dot\r\n"
            "-          4=Flashing red  5=flashing green\r\n-          6=Flashing red / green\r\n" +
            dashes +
            "\r\n\r\n0,1100\r\n1,0011\r\n2,1111\r\n3,0000\r\n4,6666\r\n5,1144\r\n6,1155\r\n"
            "7,1166\r\n8,4411\r\n9,5511\r\nA,6611\r\n");
    const ListBox& colours = as400().LST_COLOR_PATERN;
    ASSERT_EQ(colours.count(), 11);
    EXPECT_EQ(colours.text(10), "A,6611");
    EXPECT_EQ(colours.toolTip(), shown("Color_Patern.txt"));
    const auto& patterns = state().TAB_COLOR_PATERN;
    EXPECT_EQ(patterns[0], "1100");
    EXPECT_EQ(std::count(patterns.begin(), patterns.end(), ""), kColourEntries - 11);
}

// A folder set up wrong is told once at start with what the gateway uses instead; colours it
// can neither create nor read are the defaults, not blanks.
TEST_F(ConsoleStartup, MissingEmptyOrUnreadableFilesAreToldWithWhatIsUsedInstead) {
    const std::string noList = ": the terminal list starts empty";
    const std::string noHost =
        ": the host link uses 127.0.0.1, port 1024, and signs on with an empty user name and "
        "password";
    const std::string noColours = ": the default colours are used";
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;
        bool fake::FakeFiles::*fault;  // what the disk refuses, if anything
        Strings warnings;
    } rows[] = {
        {"an empty folder",
         {},
         nullptr,
         {"Products.cfg is missing" + noList, "SERVER_AS400.cfg is missing" + noHost}},
        {"empty files",
         {{"Products.cfg", ""}, {"SERVER_AS400.cfg", ""}},
         nullptr,
         {"Products.cfg is empty" + noList, "SERVER_AS400.cfg is empty" + noHost}},
        {"files the gateway may not read",
         {{"Products.cfg", "0001,,127.0.10.1,Dock"},
          {"Color_Patern.txt", "0,1100"},
          {"SERVER_AS400.cfg", "127.0.10.9"}},
         &fake::FakeFiles::failReads,
         {"Products.cfg cannot be read" + noList, "Color_Patern.txt cannot be read" + noColours,
          "SERVER_AS400.cfg cannot be read" + noHost}},
        {"a folder that takes no file",
         {{"Products.cfg", "0001,,127.0.10.1,Dock"}, {"SERVER_AS400.cfg", "127.0.10.9"}},
         &fake::FakeFiles::failWrites,
         {"The log file cannot be written: ", "Color_Patern.txt cannot be created" + noColours}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeGateway other;
        for (const auto& [name, bytes] : row.files) other.writeFile(name, bytes);
        if (row.fault != nullptr) other.platform.fakeFiles().*row.fault = true;
        other.gateway.start();
        Strings warnings = other.eventTexts("Warning");
        const std::string folder = pathText(other.platform.folder());
        for (auto& text : warnings) text = text.substr(0, text.find(folder));  // no folder names
        EXPECT_EQ(warnings, row.warnings);
        EXPECT_EQ(other.state().TAB_COLOR_PATERN[65], "6611") << "colour A as ever";
        EXPECT_EQ(other.as400().LST_COLOR_PATERN.count(), 11);
    }
}

TEST_F(ConsoleStartup, MarkerFileSwitchesFileLoggingOnBeforeTheStartEvent) {
    writeFile("LOG_ALL_MERVAX.TXT", "");
    gateway.start();
    EXPECT_EQ(
        startUpEvents(),
        (Strings{"LOG TO FILE:1", "GENERAL:START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)",
                 "LOG TO FILE:1"}));
    EXPECT_FALSE(main().PIC_SW_LOG_DISPLAY(0).visible());
    EXPECT_TRUE(main().PIC_SW_LOG_DISPLAY(1).visible());
}

TEST_F(ConsoleStartup, ConfigurationFilesFillTheListTheColoursAndTheHostLink) {
    writeFile("Products.cfg", "0001,,127.0.10.1,Dock\r\n");
    writeFile("Color_Patern.txt", "- comment\na,1111\n B,2222\nB, 3344 \n3,0000\n3,6666\n]");
    writeFile("SERVER_AS400.cfg", "127.0.10.9\r\n2300\r\nsecret\r\nQUSER\r\n0\r\n");
    gateway.start();
    // The day's file was begun by the start event: its header lists no terminal yet.
    const std::string dashes(50, '-');
    EXPECT_EQ(dailyLog().rfind("Web Page: c:\\WebPageName.html\r\n" + dashes + "\r\n" + dashes, 0),
              0u);
    EXPECT_EQ(state().TAB_ROW_OF_NO[1], 0);
    const ListBox& colours = as400().LST_COLOR_PATERN;
    ASSERT_EQ(colours.count(), 3);
    EXPECT_EQ(colours.text(0), "B, 3344 ");  // listed as read, the table trimmed
    EXPECT_EQ(state().TAB_COLOR_PATERN[66], "3344");
    EXPECT_EQ(state().TAB_COLOR_PATERN[3], "6666");  // the later line wins
    EXPECT_EQ(as400().INP_IP.text() + " " + as400().INP_PORT.text() + " " + as400().INP_PSW.text() +
                  " " + as400().INP_USR.text(),
              "127.0.10.9 2300 secret QUSER");
    EXPECT_EQ(as400().SW_LOG.value(), 0);
}

TEST_F(ConsoleStartup, EveryProductsLineIsKeptAndWrittenBackEvenWhenItCannotBeIndexed) {
    // A line more than the tables hold: the rows before it are indexed, row 0's address
    // among them, and the line past them is told.
    std::string file = "0001,,127.0.10.1,Dock\r\n";
    for (int n = 2; n <= kMaxRows + 1; ++n) file += std::to_string(n) + ",,127.0.10.2,\r\n";
    file += "\r\n";  // an empty last line is an empty entry
    writeFile("Products.cfg", file);
    writeFile("SERVER_AS400.cfg", "127.0.10.9\r\n");
    gateway.start();
    EXPECT_EQ(list().count(), kMaxRows + 2);
    EXPECT_EQ(state().TAB_IP[0], "127.0.10.1");
    EXPECT_EQ(eventTexts("Warning"),
              Strings{"Products.cfg line 1002 cannot be indexed, it and the lines after it get "
                      "no commands: 1002,,127.0.10.2,"});
    EXPECT_THROW(gateway.shutDown(), fake::ProcessEnded);
    EXPECT_EQ(readFile("Products.cfg"), file);

    // A runaway line is quoted by its start only, and kept whole.
    const std::string huge(100000, 'x');
    FakeGateway other;
    other.writeFile("Products.cfg", "0001,,127.0.10.1,Dock\r\n" + huge + "\r\n");
    other.writeFile("SERVER_AS400.cfg", "127.0.10.9\r\n");
    other.gateway.start();
    EXPECT_EQ(other.eventTexts("Warning"),
              Strings{"Products.cfg line 2 cannot be indexed, it and the lines after it get no "
                      "commands: " +
                      huge.substr(0, 80) + "..."});
    EXPECT_EQ(other.list().text(1), huge);
}

TEST_F(ConsoleStartup, ProductsFileIsReplacedWholeOrNotAtAll) {
    writeFile("Products.cfg", "0001,,127.0.10.1,A\n0002,,127.0.10.2,B");
    gateway.start();
    forgetEvents();
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n");
    list().addItem("0003,,127.0.10.3,C");
    platform.fakeFiles().failAfterBytes = 30;  // the disk fills in the middle of the write
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n");
    // The full disk also refuses the event's log line; the list says so after the event.
    EXPECT_EQ(eventTexts("Warning"),
              (Strings{"Products.cfg could not be written, the previous file is kept",
                       "The log file cannot be written: " + shown("Plyxen400_05-12-2026.LOG")}));
    // Both are lost data: errors to the journal's readers.
    for (std::size_t last = 1; last <= 2; ++last)
        EXPECT_EQ(platform.journalLines.end()[-last].substr(0, 3), "<3>");
    platform.fakeFiles().failAfterBytes = -1;
    list().clear();
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "");

    // A list that could not be read at start is not written over by the empty list that took
    // its place; once the operator gives the gateway terminals, it is moved aside (to the
    // next free name of the day) and they are saved. A list that cannot be moved is kept.
    FakeGateway unread;
    unread.writeFile("Products.cfg", "0001,,127.0.10.1,A\r\n");
    unread.writeFile("Products.cfg.unread-05-12-2026", "earlier");
    unread.platform.fakeFiles().failReads = true;
    unread.gateway.start();
    unread.platform.fakeFiles().failReads = false;
    unread.main().B_SAVE_CFG_Click();
    EXPECT_EQ(unread.readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n");
    unread.list().addItem("0002,,127.0.10.2,B");
    unread.platform.fakeFiles().failWrites = true;
    unread.main().B_SAVE_CFG_Click();
    unread.platform.fakeFiles().failWrites = false;
    EXPECT_EQ(unread.readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n");
    const Strings warnings = unread.eventTexts("Warning");
    EXPECT_NE(std::ranges::find(warnings,
                                "Products.cfg could not be written: the file that could "
                                "not be read at start cannot be moved aside to "
                                "Products.cfg.unread-05-12-2026-2"),
              warnings.end());
    EXPECT_NE(std::ranges::find_if(unread.platform.journalLines,
                                   [](const std::string& line) {
                                       return line.starts_with("<3>") &&
                                              line.ends_with("Products.cfg.unread-05-12-2026-2");
                                   }),
              unread.platform.journalLines.end());
    unread.main().B_SAVE_CFG_Click();
    EXPECT_EQ(unread.readFile("Products.cfg"), "0002,,127.0.10.2,B\r\n");
    EXPECT_EQ(unread.readFile("Products.cfg.unread-05-12-2026-2"), "0001,,127.0.10.1,A\r\n");
    EXPECT_EQ(unread.readFile("Products.cfg.unread-05-12-2026"), "earlier");
    EXPECT_EQ(unread.eventTexts("Warning").back(),
              "Products.cfg could not be read at start: it is kept as "
              "Products.cfg.unread-05-12-2026-2, and the list is written in its place");
}

// The system's request to end (a signal, the console closed, log-off, shut-down) closes as
// the close box does.
TEST_F(ConsoleStartup, ClosingTheMainWindowOrEndingTheSessionLogsSavesAndEndsTheProcess) {
    for (const bool sessionEnds : {false, true}) {
        SCOPED_TRACE(sessionEnds ? "the end of the session" : "the close box");
        FakeGateway other;
        other.gateway.start();
        other.list().addItem("0005,,127.0.10.5,Added");
        EXPECT_THROW(sessionEnds ? other.platform.onEndRequest() : other.main().form.requestClose(),
                     fake::ProcessEnded);
        EXPECT_EQ(other.readFile("Products.cfg"), "0005,,127.0.10.5,Added\r\n");
        EXPECT_TRUE(other.dailyLog().ends_with("GENERAL:Server [" + other.as400().INP_IP.toolTip() +
                                               "],CLOSE SOFTWARE\r\n"));
    }

    // An unwritable folder stops neither start-up nor shut-down.
    FakeGateway readOnly;
    readOnly.platform.fakeFiles().failWrites = true;
    readOnly.gateway.start();
    EXPECT_THROW(readOnly.platform.onEndRequest(), fake::ProcessEnded);
    EXPECT_EQ(readOnly.eventTexts("GENERAL").back(), "CLOSE SOFTWARE");
}

// Text is 8-bit in the system's code page (on a Western Windows cp1252, whose € œ ’ are 0x80
// 0x9C 0x92); paths are not, so a folder named outside that code page still holds the files
// (on disk: LocalFiles.PathsOutsideTheCodePage) and is shown as near as the code page can.
TEST(ConsoleFiles, CodePageTextInAFolderNamedOutsideTheCodePage) {
    FakeGateway greek(u8"Πλυξεν-Плыксен");
    const std::string entries = "0001,,127.0.10.1,Presse \x80 \x9c \x92\r\nabc,,,Quai \x80\r\n";
    greek.writeFile("Products.cfg", entries);
    greek.gateway.start();
    EXPECT_NE(greek.dailyLog().find("get no commands: abc,,,Quai \x80\r\n"), std::string::npos);
    EXPECT_THROW(greek.platform.onEndRequest(), fake::ProcessEnded);
    EXPECT_EQ(greek.readFile("Products.cfg"), entries);
#ifdef _WIN32
    // A system whose ANSI code page is UTF-8 reads the windows' text whole.
    EXPECT_EQ(narrowTextIn(CP_UTF8, L"Łódź €"),
              "\xc5\x81\xc3\xb3"
              "d\xc5\xba \xe2\x82\xac");
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP() << ", not cp1252";
    // What the operator types and reads; a name outside the code page is shown with "?".
    EXPECT_EQ(narrowText(L"Presse € œ ’"), "Presse \x80 \x9c \x92");
    EXPECT_EQ(wideText("Presse \x80 \x9c \x92"), L"Presse € œ ’");
    EXPECT_NE(greek.eventWindow().AFF_LOG_FILE.caption().find(std::string(6, '?') + "-???"),
              std::string::npos);
#endif
}

// SIGTERM (or log-off) in the middle of a broadcast, or while the terminal editor is open:
// nothing that was interrupted runs on.
TEST_F(ConsoleStartup, ShutDownEndsTheProcessWhateverItInterrupts) {
    const std::string endOfLog = "CLOSE SOFTWARE\r\n";
    writeFile("LOG_ALL_MERVAX.TXT", "");
    gateway.start();
    for (int number = 0; number < 50; ++number) addTerminal(number);
    platform.onPump = [&] {
        if (platform.datagrams.size() == 3) platform.onEndRequest();
    };
    EXPECT_THROW(as400().GEST_CMD("****12340"), fake::ProcessEnded);
    EXPECT_EQ(platform.datagrams.size(), 3u);
    EXPECT_TRUE(dailyLog().ends_with(endOfLog));

    platform.onPump = nullptr;
    platform.modalScript = [&](Form&) {
        gateway.window<F_ADD_PRODUCT>().INP_NO.type("77");
        gateway.window<F_ADD_PRODUCT>().INP_IP.type("127.0.10.77");
        platform.onEndRequest();
        gateway.window<F_ADD_PRODUCT>().B_OK.click();
    };
    EXPECT_THROW(main().B_ADD_TERM.click(), fake::ProcessEnded);
    EXPECT_TRUE(dailyLog().ends_with(endOfLog));
    EXPECT_EQ(readFile("Products.cfg").find("0077"), std::string::npos);
}

}  // namespace
}  // namespace plx::console_test
