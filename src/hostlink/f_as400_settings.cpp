// The host link settings: saved to SERVER_AS400.cfg whenever a field is left; a change
// of address or port drops the link so the next ticks reconnect with the new values.
#include "console/config_files.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/system_text.h"
#include "tools/f_help.h"

namespace plx {

void F_AS400::B_SAVE_CFG_Click() {
    const std::string content = hostSettingsFile(
        {INP_IP.text(), INP_PORT.text(), INP_PSW.text(), INP_USR.text(), SW_LOG.value()});
    const std::string path = gateway_.state().filePath(kHostSettingsFile);
    // Written whole or not at all, and readable by its owner only: it holds a password.
    if (!gateway_.platform().files().replace(path, content, Files::Access::OwnerOnly)) {
        SHOW_STATUS("Settings not saved: cannot write " + pathText(path));
    }
}

void F_AS400::INP_IP_Change() {
    countDrop(&Statistics::dropsOperator);
    SET_LINK_STATE(OFFLINE);
}

void F_AS400::INP_PORT_Change() {
    countDrop(&Statistics::dropsOperator);
    SET_LINK_STATE(OFFLINE);
}

void F_AS400::B_HELP_Click() {
    gateway_.window<F_HELP>().form.show();
}

}  // namespace plx
