// The main window's reachability test: a script that pings the selected terminals, run in a
// terminal window of its own; the program does not wait for it nor learn its outcome.

#include <string>
#include <vector>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "tools/ping_script.h"
#include "tools/terminal_emulator.h"

namespace plx {
namespace {

// In the per-user private folder: no other user can replace it between writing and running.
const std::string kScriptName = "ping-selected-products.sh";
const std::string kShell = "/bin/sh";

}  // namespace

void F_MAIN::B_PING_Click() {
    if (!LST_PRODUIT_SELECT()) return;
    gateway_.pump();

    std::vector<PingRow> rows;
    rows.reserve(static_cast<std::size_t>(LST_PRODUIT.count()));
    for (int row = 0; row < LST_PRODUIT.count(); ++row) {
        rows.push_back({LST_PRODUIT.text(row), LST_PRODUIT.selected(row)});
    }
    Platform& platform = gateway_.platform();
    const std::string folder = platform.privateFolder();
    const std::string script = folder + "/" + kScriptName;
    // Written whole or not at all: a script left by an earlier run is replaced, never appended to.
    if (folder.empty() ||
        !platform.files().replace(script, pingScript(rows), Files::Access::OwnerOnly)) {
        platform.messageBox(
            "The ping script could not be written in the private folder \"" + folder + "\".",
            "Error !", MessageIcon::Critical);
        gateway_.events().ADD_EVENTS(-1, "TEST", "Request Ping failed: script not written", true);
        return;
    }
    gateway_.pump();

    if (!startInTerminalWindow(platform, B_PING.caption(), {kShell, script})) {
        platform.messageBox(
            "No terminal window could be opened to run the ping script.\n"
            "Install a terminal emulator (for example xterm), then try again.",
            "Error !", MessageIcon::Critical);
        gateway_.events().ADD_EVENTS(-1, "TEST", "Request Ping failed: no terminal window", true);
        return;
    }
    gateway_.events().ADD_EVENTS(-1, "TEST", "Request Ping", true);
}

}  // namespace plx
