// Start-up and shut-down of the gateway, from the main window's load and unload.
#include <algorithm>

#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

using ConsoleStartup = testing_support::GatewayTest;

// The start-up's own events, without the host link's status lines.
std::vector<std::string> startUpEvents(const std::vector<testing_support::LoggedEvent>& all) {
    std::vector<std::string> found;
    for (const auto& event : all) {
        if (event.mode == "GENERAL" || event.mode == "LOG TO FILE") {
            found.push_back(event.mode + ":" + event.text);
        }
    }
    return found;
}

TEST_F(ConsoleStartup, EmptyFolderStartsWithFileLoggingOff) {
    gateway.start();
    EXPECT_EQ(state().APP_PATH, platform.folder());
    EXPECT_EQ(startUpEvents(loggedEvents()),
              (std::vector<std::string>{
                  "GENERAL:START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)", "LOG TO FILE:0"}));
    EXPECT_EQ(loggedEvents("GENERAL")[0].source,
              "Server [" + gateway.as400().INP_IP.toolTip() + "]");
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(state().TAB_ROW_OF_NO[0], kNoRow);

    // The clock ran once, the indicators share one spot, the frame lost its border.
    EXPECT_EQ(main().AFF_HEURE.caption(), "14:05:09");
    EXPECT_EQ(main().SW_LOG.caption(), path("LOG_PLYXEN_400_05-12-2026.TXT"));
    EXPECT_TRUE(main().PIC_SW_LOG_DISPLAY(0).visible());
    EXPECT_FALSE(main().PIC_SW_LOG_DISPLAY(1).visible());
    EXPECT_EQ(main().PIC_SW_LOG_DISPLAY(1).left(), main().PIC_SW_LOG_DISPLAY(0).left());
    EXPECT_EQ(main().PIC_SW_LOG_DISPLAY(1).top(), main().PIC_SW_LOG_DISPLAY(0).top());
    EXPECT_FALSE(main().FR_B_MANAGE.bordered());
    EXPECT_EQ(main().FR_B_MANAGE.height(), main().B_ADD_TERM.height());
    EXPECT_TRUE(main().form.visible());
    EXPECT_FALSE(eventWindow().form.visible());
}

TEST_F(ConsoleStartup, MarkerFileSwitchesFileLoggingOnBeforeTheStartEvent) {
    writeFile("LOG_ALL_MERVAX.TXT", "");
    gateway.start();
    EXPECT_EQ(startUpEvents(loggedEvents()),
              (std::vector<std::string>{
                  "LOG TO FILE:1", "GENERAL:START SOFTWARE (Plyxen AS-400 Mervax Version: 1.0H)",
                  "LOG TO FILE:1"}));
    EXPECT_EQ(eventWindow().SW_LOG.value(), 1);
    EXPECT_FALSE(main().PIC_SW_LOG_DISPLAY(0).visible());
    EXPECT_TRUE(main().PIC_SW_LOG_DISPLAY(1).visible());
}

TEST_F(ConsoleStartup, StartIsLoggedBeforeTheTerminalListIsLoaded) {
    writeFile("Products.cfg", "0001,,127.0.10.1,Dock\r\n");
    gateway.start();
    // The day's log file was begun by the start event: its header lists no terminal yet.
    const std::string log = readFile("Plyxen400_05-12-2026.LOG");
    const std::string dashes(50, '-');
    EXPECT_EQ(
        log.rfind("Web Page: c:\\WebPageName.html\r\n" + dashes + "\r\n" + dashes + "\r\n", 0), 0u);
    EXPECT_EQ(list().count(), 1);
    EXPECT_EQ(state().TAB_ROW_OF_NO[1], 0);
}

TEST_F(ConsoleStartup, ClosingTheMainWindowLogsSavesAndEndsTheProcess) {
    gateway.start();
    list().addItem("0005,,127.0.10.5,Added");
    EXPECT_THROW(main().form.requestClose(), fake::ProcessEnded);
    EXPECT_EQ(loggedEvents("GENERAL").back().text, "CLOSE SOFTWARE");
    EXPECT_EQ(readFile("Products.cfg"), "0005,,127.0.10.5,Added\r\n");
    const std::string log = readFile("Plyxen400_05-12-2026.LOG");
    EXPECT_NE(
        log.find("GENERAL:Server [" + gateway.as400().INP_IP.toolTip() + "],CLOSE SOFTWARE\r\n"),
        std::string::npos);
}

// SIGTERM (or the close box) in the middle of a broadcast, or while the terminal editor is
// open: nothing that was interrupted runs on.
TEST_F(ConsoleStartup, ShutDownEndsTheProcessWhateverItInterrupts) {
    const std::string endOfLog = "CLOSE SOFTWARE\r\n";
    writeFile("LOG_ALL_MERVAX.TXT", "");
    gateway.start();
    for (int number = 0; number < 50; ++number) {
        list().addItem(fourDigits(number) + ",,127.0.10." + std::to_string(number + 1) + ",T");
    }
    main().SYNC_TABLES();
    platform.onPump = [&] {
        if (platform.datagrams.size() == 3) gateway.shutDown();
    };
    EXPECT_THROW(as400().GEST_CMD("****12340"), fake::ProcessEnded);
    EXPECT_EQ(platform.datagrams.size(), 3u);
    std::string log = readFile("Plyxen400_05-12-2026.LOG");
    EXPECT_EQ(log.substr(log.size() - endOfLog.size()), endOfLog);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));

    platform.onPump = nullptr;
    platform.modalScript = [&](Form&) {
        gateway.addProduct().INP_NO.type("77");
        gateway.addProduct().INP_IP.type("127.0.10.77");
        gateway.shutDown();
        gateway.addProduct().B_OK.click();
    };
    EXPECT_THROW(main().B_ADD_TERM.click(), fake::ProcessEnded);
    log = readFile("Plyxen400_05-12-2026.LOG");
    EXPECT_EQ(log.substr(log.size() - endOfLog.size()), endOfLog);
    EXPECT_EQ(readFile("Products.cfg").find("0077"), std::string::npos);
}

TEST_F(ConsoleStartup, UnwritableFolderNeitherStopsStartNorShutDown) {
    platform.fakeFiles().failWrites = true;
    gateway.start();
    EXPECT_EQ(loggedEvents("GENERAL").size(), 1u);
    EXPECT_THROW(gateway.shutDown(), fake::ProcessEnded);
    EXPECT_EQ(loggedEvents("GENERAL").back().text, "CLOSE SOFTWARE");
}

}  // namespace
}  // namespace plx::console_test
