#include <sys/stat.h>

#include <string>
#include <vector>

#include "hostlink_gateway_fixture.h"
#include "tools/f_help.h"

namespace plx::hostlink_test {
namespace {

class HostlinkSettings : public HostGateway {
protected:
    std::string settingsPath() { return gateway.state().filePath("SERVER_AS400.cfg"); }
    std::string saved() { return platform.files().read(settingsPath()).value_or("<missing>"); }
    void fill() {
        as400().INP_IP.setText("127.0.0.5");
        as400().INP_PORT.setText("23");
        as400().INP_PSW.setText(" pass ");
        as400().INP_USR.setText(" user ");
    }
};

TEST_F(HostlinkSettings, SavedAsFiveLinesPasswordBeforeUser) {
    fill();
    as400().B_SAVE_CFG.click();
    EXPECT_EQ(saved(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 1\r\n");
    as400().SW_LOG.setValue(0);
    as400().B_SAVE_CFG.click();
    EXPECT_EQ(saved(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 0\r\n");
    EXPECT_TRUE(statuses().empty());  // nothing shown for a save
}

TEST_F(HostlinkSettings, FileIsReadableByItsOwnerOnly) {
    as400().B_SAVE_CFG.click();
    struct stat info {};
    ASSERT_EQ(::stat(settingsPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(HostlinkSettings, LeavingAnySettingSavesIt) {
    fill();
    Control* settings[] = {&as400().INP_IP, &as400().INP_PORT, &as400().INP_USR, &as400().INP_PSW,
                           &as400().SW_LOG};
    for (Control* setting : settings) {
        SCOPED_TRACE(setting->name());
        platform.files().remove(settingsPath());
        setting->setFocus();
        EXPECT_EQ(saved(), "<missing>");
        as400().B_CLEAR.setFocus();
        EXPECT_EQ(saved(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 1\r\n");
    }
}

TEST_F(HostlinkSettings, FailedSaveKeepsTheOldFileAndIsShown) {
    fill();
    as400().B_SAVE_CFG.click();
    platform.fakeFiles().failWrites = true;
    as400().INP_USR.setText("other");
    as400().B_SAVE_CFG.click();
    EXPECT_EQ(saved(), "127.0.0.5\r\n23\r\n pass \r\n user \r\n 1\r\n");
    EXPECT_EQ(statuses(),
              std::vector<std::string>{"Settings not saved: cannot write " + settingsPath()});
}

TEST_F(HostlinkSettings, HelpButtonShowsTheHelpWindow) {
    EXPECT_EQ(as400().B_HELP.toolTip(), "Help about how to use in AS-400");
    as400().B_HELP.click();
    EXPECT_TRUE(gateway.help().form.visible());
}

}  // namespace
}  // namespace plx::hostlink_test
