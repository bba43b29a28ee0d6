// The event operation: the window list, the file switch and the daily log file.
#include "support/gateway_fixture.h"

namespace plx::eventlog_test {
namespace {

using namespace testing_support;

const std::string kDashes(50, '-');

class EventLog : public StartedGatewayTest {
  protected:
    void SetUp() override {
        state().CONNECT_ADDRESS = "127.0.10.200";
        forgetEvents();
    }
    void add(int index, const std::string& mode, const std::string& text, bool toFile) {
        gateway.eventLog().ADD_EVENTS(index, mode, text, toFile);
    }
    bool inFile(const std::string& text) { return dailyLog().find(text) != std::string::npos; }
};

TEST_F(EventLog, LineNamesTheHostOrTheTerminalAndTheListKeepsTheLast350) {
    setTerminalList({"0042,,127.0.10.42,Dock"});
    add(0, "CMD", "<x>", false);
    add(-1, "Warning", "w", true);
    setTerminalList({"0043,,127.0.10.43,Moved"});  // a line names the terminal of its time
    const plx::EventLog& log = gateway.eventLog();
    EXPECT_EQ(log.line(0), "14:05:09 CMD:0042,<x>");
    EXPECT_EQ(log.line(1), "14:05:09 Warning:Server [127.0.10.200],w");
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.caption(), shown("Plyxen400_05-12-2026.LOG"));
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.toolTip(), shown("Plyxen400_05-12-2026.LOG"));
    for (int n = 3; n <= 351; ++n) add(-1, "CMD", std::to_string(n), false);
    ASSERT_EQ(log.count(), F_EVENTS::kMaxLines);
    EXPECT_EQ(loggedEvents().front().text, "w");
    // Shown, the window lists the same lines, and follows the new ones.
    main().B_EVENTS.click();
    add(0, "CMD", "<y>", false);
    const ListBox& lines = eventWindow().LST_EVENTS;
    ASSERT_EQ(lines.count(), F_EVENTS::kMaxLines);
    EXPECT_EQ(lines.text(0), log.line(0));
    EXPECT_EQ(lines.text(F_EVENTS::kMaxLines - 1), "14:05:09 CMD:0043,<y>");
}

// A day's file read back (the replay does): every event line, and nothing of its header.
TEST(EventLine, ReadBackAsWritten) {
    for (const char* line : {"14:05:09 CMD:0042,<x,y>", "00:00:01 LOG TO FILE:Server [],1",
                             "23:59:59 RX-AS400:Server [10.1.200.1],a:b,c%13%%10%"}) {
        const auto event = plx::EventLog::parse(line);
        ASSERT_TRUE(event) << line;
        EXPECT_EQ(plx::EventLog::line(*event), line);
    }
    for (const char* other : {"Web Page: c:\\WebPageName.html", "0001,,127.0.10.1,A", "-----"})
        EXPECT_FALSE(plx::EventLog::parse(other)) << other;
}

TEST_F(EventLog, SwitchDecidesForEventsThatDoNotForceTheFile) {
    platform.journalLines.clear();
    add(-1, "CMD", "cmd-while-off", false);
    add(-1, "Status", "status-while-off", true);
    eventWindow().SW_LOG.click();
    add(-1, "RX-AS400", "rx-while-on", false);
    eventWindow().SW_LOG.click();
    EXPECT_FALSE(inFile("cmd-while-off"));
    EXPECT_TRUE(inFile("Status:Server [127.0.10.200],status-while-off\r\n"));
    EXPECT_TRUE(inFile("LOG TO FILE:Server [127.0.10.200],1\r\n"));
    EXPECT_TRUE(inFile("rx-while-on"));
    EXPECT_TRUE(inFile("LOG TO FILE:Server [127.0.10.200],0\r\n"));  // switching off is recorded
    // The journal of a headless gateway gets what the file always gets, with its priority.
    add(-1, "Warning", "w", true);
    EXPECT_EQ(platform.journalLines,
              (Strings{"<6>14:05:09 Status:Server [127.0.10.200],status-while-off",
                       "<6>14:05:09 LOG TO FILE:Server [127.0.10.200],1",
                       "<6>14:05:09 LOG TO FILE:Server [127.0.10.200],0",
                       "<4>14:05:09 Warning:Server [127.0.10.200],w"}));
}

TEST_F(EventLog, NewDaysFileStartsWithOneHeaderListingTheTerminalsThen) {
    setTerminalList({"0001,,127.0.10.1,A", "0002,,127.0.10.2,B"});
    main().INP_WEBPAGE.setText("c:\\Plant.html");
    platform.setTime({2026, 12, 6, 0, 0, 1});
    add(-1, "GENERAL", "first", true);
    add(-1, "GENERAL", "second", true);
    EXPECT_EQ(readFile("Plyxen400_06-12-2026.LOG"),
              "Web Page: c:\\Plant.html\r\n" + kDashes +
                  "\r\n0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n" + kDashes +
                  "\r\n00:00:01 GENERAL:Server [127.0.10.200],first\r\n"
                  "00:00:01 GENERAL:Server [127.0.10.200],second\r\n");
    EXPECT_EQ(eventWindow().AFF_LOG_FILE.caption(), shown("Plyxen400_06-12-2026.LOG"));

    // A file of the day that exists already (a restart) gets no second header.
    FakeGateway restarted;
    restarted.writeFile("Plyxen400_05-12-2026.LOG", "earlier run\r\n");
    restarted.gateway.start();
    EXPECT_EQ(restarted.dailyLog().rfind("earlier run\r\n14:05:09 ", 0), 0u);
    EXPECT_EQ(restarted.dailyLog().find("Web Page:"), std::string::npos);
}

TEST_F(EventLog, ClearingAndClosingTouchOnlyTheWindow) {
    add(-1, "GENERAL", "kept in the file", true);
    const std::string before = dailyLog();
    main().B_EVENTS.click();
    eventWindow().LST_EVENTS.doubleClick();  // as the Clear button does
    EXPECT_EQ(eventWindow().LST_EVENTS.count(), 0);
    EXPECT_EQ(gateway.eventLog().count(), 0);
    EXPECT_EQ(dailyLog(), before);

    eventWindow().form.requestClose();
    EXPECT_FALSE(eventWindow().form.visible());
    add(-1, "Status", "while hidden", true);
    main().B_EVENTS.click();
    EXPECT_TRUE(eventWindow().form.visible());
    EXPECT_EQ(eventTexts("Status"), Strings{"while hidden"});
}

TEST_F(EventLog, UnwritableFileLosesNoListLineSaysSoOnceAndCountsTheGap) {
    platform.fakeFiles().failWrites = true;
    for (const char* text : {"a", "b", "c"}) add(-1, "GENERAL", text, true);
    Strings texts;
    for (const auto& event : loggedEvents()) texts.push_back(event.text);
    EXPECT_EQ(texts,
              (Strings{"a", "The log file cannot be written: " + shown("Plyxen400_05-12-2026.LOG"),
                       "b", "c"}));
    platform.fakeFiles().failWrites = false;
    add(-1, "GENERAL", "d", true);
    EXPECT_TRUE(inFile("3 event(s) could not be written to this file\r\n"));
    EXPECT_TRUE(inFile(",d\r\n"));
    platform.fakeFiles().failWrites = true;
    add(-1, "GENERAL", "e", true);
    EXPECT_EQ(loggedEvents("Warning").size(), 2u);  // a new failure after a success is told again
}

}  // namespace
}  // namespace plx::eventlog_test
