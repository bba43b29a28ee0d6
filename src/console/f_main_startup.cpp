// Start-up and shut-down of the whole gateway, run by the main window.
#include <string>

#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "shared/shared_state.h"

namespace plx {

namespace {
const std::string kLogAllMarker = "LOG_ALL_MERVAX.TXT";
}

void F_MAIN::Form_Load() {
    Platform& platform = gateway_.platform();
    gateway_.state().APP_PATH = platform.files().currentDirectory();
    // The host link window starts first: its load tick tries the initial fields, so the very
    // first events already name the host address; the tick at the end of start-up closes that
    // attempt, and the next one connects with the loaded settings.
    gateway_.window<F_AS400>();

    // The two indicator pictures share one spot; the event log shows one at a time.
    PIC_SW_LOG_DISPLAY(1).setLeft(PIC_SW_LOG_DISPLAY(0).left());
    PIC_SW_LOG_DISPLAY(1).setTop(PIC_SW_LOG_DISPLAY(0).top());

    // Ticking the switch creates the event window and logs the switch.
    if (platform.files().exists(gateway_.state().filePath(kLogAllMarker))) {
        gateway_.window<F_EVENTS>().SW_LOG.setValue(1);
    }
    EventLog& log = gateway_.eventLog();
    log.ADD_EVENTS(-1, "GENERAL", "START SOFTWARE (" + form.caption() + ")", true);
    log.ADD_EVENTS(-1, "LOG TO FILE", std::to_string(gateway_.window<F_EVENTS>().SW_LOG.value()),
                   true);

    TIM_REFRESH_Timer();
    FR_B_MANAGE.setBordered(false);
    FR_B_MANAGE.setHeight(B_ADD_TERM.height());
    LOAD_CFG();
    syncTablesAndWarn();
    Form_Resize();
    gateway_.window<F_AS400>().TIM_CONNECT_Timer();
    platform.serviceReady();
}

void F_MAIN::Form_Unload() {
    gateway_.eventLog().ADD_EVENTS(-1, "GENERAL", "CLOSE SOFTWARE", true);
    B_SAVE_CFG_Click();
    // However deep in a broadcast, a Synchronize or a dialog the close came: nothing that
    // was interrupted runs on, so no datagram, event line or file write follows.
    gateway_.platform().endProcess();
}

}  // namespace plx
