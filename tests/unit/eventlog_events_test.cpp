// The event operation: the window list, the file switch and the daily log file.
#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

const std::string kDashes(50, '-');

class EventLog : public testing_support::GatewayTest {
  protected:
    void SetUp() override {
        gateway.start();
        gateway.as400().INP_IP.setToolTip("127.0.10.200");
        forgetEvents();
    }
    std::string logFile(const std::string& date = "05-12-2026") {
        return readFile("Plyxen400_" + date + ".LOG");
    }
    bool inFile(const std::string& text) { return logFile().find(text) != std::string::npos; }
};

TEST_F(EventLog, LineNamesTheHostOrTheTerminalOfTheRow) {
    setTerminalList({"0042,,127.0.10.42,Dock"});
    eventWindow().ADD_EVENTS(0, "CMD", "<x>", false);
    eventWindow().ADD_EVENTS(-1, "Warning", "w", true);
    eventWindow().ADD_EVENTS(3, "CMD", "<y>", false);  // a row removed while a broadcast ran
    const ListBox& lines = eventWindow().LST_EVENTS;
    ASSERT_EQ(lines.count(), 3);
    EXPECT_EQ(lines.text(0), "14:05:09 CMD:0042,<x>");
    EXPECT_EQ(lines.text(1), "14:05:09 Warning:Server [127.0.10.200],w");
    EXPECT_EQ(lines.text(2), "14:05:09 CMD:Row 3,<y>");
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.caption(), path("Plyxen400_05-12-2026.LOG"));
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.toolTip(), path("Plyxen400_05-12-2026.LOG"));
}

TEST_F(EventLog, ListKeepsTheLast350Lines) {
    for (int n = 1; n <= 351; ++n) eventWindow().ADD_EVENTS(-1, "CMD", std::to_string(n), false);
    ASSERT_EQ(eventWindow().LST_EVENTS.count(), F_EVENTS::kMaxLines);
    EXPECT_EQ(loggedEvents().front().text, "2");
    EXPECT_EQ(loggedEvents().back().text, "351");
}

TEST_F(EventLog, SwitchDecidesForEventsThatDoNotForceTheFile) {
    eventWindow().ADD_EVENTS(-1, "CMD", "cmd-while-off", false);
    eventWindow().ADD_EVENTS(-1, "Status", "status-while-off", true);
    eventWindow().SW_LOG.click();
    eventWindow().ADD_EVENTS(-1, "RX-AS400", "rx-while-on", false);
    eventWindow().SW_LOG.click();
    EXPECT_FALSE(inFile("cmd-while-off"));
    EXPECT_TRUE(inFile("Status:Server [127.0.10.200],status-while-off\r\n"));
    EXPECT_TRUE(inFile("LOG TO FILE:Server [127.0.10.200],1\r\n"));
    EXPECT_TRUE(inFile("rx-while-on"));
    EXPECT_TRUE(inFile("LOG TO FILE:Server [127.0.10.200],0\r\n"));  // switching off is recorded
    EXPECT_EQ(loggedEvents("CMD").size(), 1u);
}

TEST_F(EventLog, NewDaysFileStartsWithOneHeaderListingTheTerminalsThen) {
    setTerminalList({"0001,,127.0.10.1,A", "0002,,127.0.10.2,B"});
    main().INP_WEBPAGE.setText("c:\\Plant.html");
    platform.setTime({2026, 12, 6, 0, 0, 1});
    eventWindow().ADD_EVENTS(-1, "GENERAL", "first", true);
    eventWindow().ADD_EVENTS(-1, "GENERAL", "second", true);
    EXPECT_EQ(logFile("06-12-2026"), "Web Page: c:\\Plant.html\r\n" + kDashes +
                                         "\r\n0001,,127.0.10.1,A\r\n"
                                         "0002,,127.0.10.2,B\r\n" +
                                         kDashes +
                                         "\r\n"
                                         "00:00:01 GENERAL:Server [127.0.10.200],first\r\n"
                                         "00:00:01 GENERAL:Server [127.0.10.200],second\r\n");
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.caption(), path("Plyxen400_06-12-2026.LOG"));
}

TEST_F(EventLog, ExistingFileOfTheDayGetsNoSecondHeader) {
    fake::FakePlatform platform;
    Gateway gateway{platform};
    const std::string file = platform.folder() + "/Plyxen400_05-12-2026.LOG";
    std::ofstream(file, std::ios::binary) << "earlier run\r\n";
    gateway.start();
    const std::string log = platform.files().read(file).value();
    EXPECT_EQ(log.rfind("earlier run\r\n14:05:09 ", 0), 0u);
    EXPECT_EQ(log.find("Web Page:"), std::string::npos);
}

TEST_F(EventLog, ClearingEmptiesTheListOnly) {
    eventWindow().ADD_EVENTS(-1, "GENERAL", "kept in the file", true);
    const std::string before = logFile();
    eventWindow().B_CLEAR.click();
    EXPECT_EQ(eventWindow().LST_EVENTS.count(), 0);
    eventWindow().ADD_EVENTS(-1, "GENERAL", "x", false);
    eventWindow().LST_EVENTS.doubleClick();
    EXPECT_EQ(eventWindow().LST_EVENTS.count(), 0);
    EXPECT_EQ(logFile(), before);
}

TEST_F(EventLog, CloseBoxHidesAndTheWindowGoesOnCollecting) {
    main().B_EVENTS.click();
    eventWindow().form.requestClose();
    EXPECT_FALSE(eventWindow().form.visible());
    eventWindow().ADD_EVENTS(-1, "Status", "while hidden", true);
    main().B_EVENTS.click();
    EXPECT_TRUE(eventWindow().form.visible());
    EXPECT_EQ(loggedEvents().back().text, "while hidden");
}

TEST_F(EventLog, UnwritableFileLosesNoListLineAndSaysSoOnce) {
    platform.fakeFiles().failWrites = true;
    for (const char* text : {"a", "b", "c"}) eventWindow().ADD_EVENTS(-1, "GENERAL", text, true);
    std::vector<std::string> texts;
    for (const auto& event : loggedEvents()) texts.push_back(event.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "a", "The log file cannot be written: " + path("Plyxen400_05-12-2026.LOG"),
                         "b", "c"}));

    platform.fakeFiles().failWrites = false;
    eventWindow().ADD_EVENTS(-1, "GENERAL", "d", true);
    platform.fakeFiles().failWrites = true;
    eventWindow().ADD_EVENTS(-1, "GENERAL", "e", true);
    EXPECT_TRUE(inFile(",d\r\n"));
    EXPECT_EQ(loggedEvents("Warning").size(), 2u);  // a new failure after a success is told again
}

}  // namespace
}  // namespace plx::console_test
