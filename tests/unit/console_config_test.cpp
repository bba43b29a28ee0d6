// The configuration files: loaded at start-up, the products file written after every change.
#include <algorithm>

#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

using ConsoleConfig = testing_support::GatewayTest;

TEST_F(ConsoleConfig, MissingColourFileIsCreatedWithItsDefaultsAndLoaded) {
    gateway.start();
    const std::string dashes(51, '-');
    const std::string expected =
        dashes +
        "\r\n- This file contain:\r\n- Color#,ColorPatern\r\n"
        "- Color#: 0 to 9 ... A to Z\r\n- ColorPatern: Contain 4 numbers from 0 to 6\r\n"
        "-          0=Red, 1=Green\r\n-          2=Red with dot, 3=Green with dot\r\n"
        "-          4=Flashing red  5=flashing green\r\n-          6=Flashing red / green\r\n" +
        dashes +
        "\r\n\r\n0,1100\r\n1,0011\r\n2,1111\r\n3,0000\r\n4,6666\r\n5,1144\r\n6,1155\r\n"
        "7,1166\r\n8,4411\r\n9,5511\r\nA,6611\r\n";
    EXPECT_EQ(readFile("Color_Patern.txt"), expected);

    const ListBox& shown = gateway.as400().LST_COLOR_PATERN;
    ASSERT_EQ(shown.count(), 11);
    EXPECT_EQ(shown.text(0), "0,1100");
    EXPECT_EQ(shown.text(10), "A,6611");
    EXPECT_EQ(shown.toolTip(), path("Color_Patern.txt"));
    const auto& patterns = state().TAB_COLOR_PATERN;
    EXPECT_EQ(patterns[0], "1100");
    EXPECT_EQ(patterns[9], "5511");
    EXPECT_EQ(patterns[65], "6611");
    EXPECT_EQ(std::count(patterns.begin(), patterns.end(), ""), kColourEntries - 11);
}

TEST_F(ConsoleConfig, ColourFileLinesAreFilteredTrimmedAndTheLaterWins) {
    writeFile("Color_Patern.txt", "- comment\na,1111\n B,2222\nB, 3344 \n3,0000\n3,6666\n]");
    gateway.start();
    const ListBox& shown = gateway.as400().LST_COLOR_PATERN;
    ASSERT_EQ(shown.count(), 3);
    EXPECT_EQ(shown.text(0), "B, 3344 ");  // listed as read
    EXPECT_EQ(state().TAB_COLOR_PATERN[66], "3344");
    EXPECT_EQ(state().TAB_COLOR_PATERN[3], "6666");
    EXPECT_EQ(state().TAB_COLOR_PATERN['a'], "");
}

TEST_F(ConsoleConfig, HostSettingsFillTheHostLinkFields) {
    for (const std::string switchLine : {" 0", "0", " 1", "1"}) {
        fake::FakePlatform platform;
        Gateway gateway{platform};
        std::ofstream(platform.folder() + "/SERVER_AS400.cfg", std::ios::binary)
            << "127.0.10.9\r\n2300\r\nsecret\r\nQUSER\r\n" + switchLine + "\r\n";
        gateway.start();
        const F_AS400& as400 = gateway.as400();
        EXPECT_EQ(as400.INP_IP.text(), "127.0.10.9");
        EXPECT_EQ(as400.INP_PORT.text(), "2300");
        EXPECT_EQ(as400.INP_PSW.text(), "secret");
        EXPECT_EQ(as400.INP_USR.text(), "QUSER");
        EXPECT_EQ(as400.SW_LOG.value(), switchLine.back() - '0') << switchLine;
    }
}

TEST_F(ConsoleConfig, ShortHostSettingsFileAppliesTheLinesPresent) {
    writeFile("SERVER_AS400.cfg", "127.0.10.9");
    gateway.start();
    EXPECT_EQ(gateway.as400().INP_IP.text(), "127.0.10.9");
    EXPECT_EQ(gateway.as400().INP_PORT.text(), "1024");  // its initial value
}

TEST_F(ConsoleConfig, EveryProductsLineIsKeptAndWrittenBackEvenWhenItCannotBeIndexed) {
    std::string file = "0001,,127.0.10.1,Dock\r\nabc,,127.0.10.2,Bad\r\n";
    for (int n = 3; n <= 1003; ++n) file += std::to_string(n) + ",,,\r\n";
    file += "\r\n";  // an empty last line is an empty entry
    writeFile("Products.cfg", file);
    gateway.start();
    EXPECT_EQ(list().count(), 1004);
    EXPECT_EQ(list().text(1003), "");
    EXPECT_EQ(state().TAB_ROW_OF_NO[1], 0);
    EXPECT_EQ(state().TAB_ROW_OF_NO[3], kNoRow);
    const auto warnings = loggedEvents("Warning");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text,
              "Products.cfg line 2 cannot be indexed, it and the lines after it get no commands: "
              "abc,,127.0.10.2,Bad");

    EXPECT_THROW(gateway.shutDown(), fake::ProcessEnded);
    EXPECT_EQ(readFile("Products.cfg"), file);
}

TEST_F(ConsoleConfig, AHugeLineThatCannotBeIndexedIsQuotedByItsStartOnly) {
    const std::string huge(100000, 'x');
    writeFile("Products.cfg", "0001,,127.0.10.1,Dock\r\n" + huge + "\r\n");
    gateway.start();
    const auto warnings = loggedEvents("Warning");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, "Products.cfg line 2 cannot be indexed, it and the lines after it "
                                "get no commands: " + huge.substr(0, 80) + "...");
    EXPECT_THROW(gateway.shutDown(), fake::ProcessEnded);
    EXPECT_EQ(list().text(1), huge);  // the line itself is kept whole
}

TEST_F(ConsoleConfig, ProductsFileIsWrittenWithCrLfLinesAndEmptyForAnEmptyList) {
    writeFile("Products.cfg", "0001,,127.0.10.1,A\n0002,,127.0.10.2,B\n0003,,127.0.10.3,C");
    gateway.start();
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"),
              "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n0003,,127.0.10.3,C\r\n");
    list().clear();
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "");
}

TEST_F(ConsoleConfig, FailedWriteKeepsThePreviousFileAndGoesOn) {
    writeFile("Products.cfg", "0001,,127.0.10.1,A\r\n");
    gateway.start();
    list().addItem("0002,,127.0.10.2,B");
    platform.fakeFiles().failAfterBytes = 10;  // the disk fills in the middle of the write
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n");
    // The full disk also refuses the event's log line; the list says so after the event.
    const auto warnings = loggedEvents("Warning");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].text, "Products.cfg could not be written, the previous file is kept");
    EXPECT_EQ(warnings[1].text,
              "The log file cannot be written: " + path("Plyxen400_05-12-2026.LOG"));

    platform.fakeFiles().failAfterBytes = -1;
    main().B_SAVE_CFG_Click();
    EXPECT_EQ(readFile("Products.cfg"), "0001,,127.0.10.1,A\r\n0002,,127.0.10.2,B\r\n");
}

}  // namespace
}  // namespace plx::console_test
