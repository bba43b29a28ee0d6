// The main window's reachability test: a script that pings the selected terminals, run in a
// terminal window of its own; the program does not wait for it nor learn its outcome.

#include <functional>
#include <string>
#include <vector>

#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "platform/system_text.h"
#include "shared/shared_state.h"
#include "tools/ping_script.h"
#include "tools/terminal_emulator.h"

namespace plx {
namespace {

// The script and how it runs in a console window of its own: a shell script in a terminal
// emulator, or the batch file cmd.exe starts ("start" opens the window and does not wait; its
// first argument, quoted on the command line since the caption has blanks, is the title).
struct PingRun {
    std::string name;
    std::string text;
    std::function<bool(const std::string& path)> start;
};

PingRun pingRun(Platform& platform, const std::vector<PingRow>& rows, const std::string& title) {
    if (platform.scriptKind() == Platform::ScriptKind::WindowsBatch) {
        return {"MERVAX_PING.BAT", pingBatchFile(rows),
                [&platform, title](const std::string& path) {
                    return platform.startDetached("cmd.exe", {"/c", "start", title, path});
                }};
    }
    return {"ping-selected-products.sh", pingScript(rows),
            [&platform, title](const std::string& path) {
                return startInTerminalWindow(platform, title, {"/bin/sh", path});
            }};
}

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
    // A ping that cannot run is told to the operator, and logged with its cause.
    const auto fail = [&](const std::string& text, const std::string& cause) {
        platform.messageBox(text, "Error !", MessageIcon::Critical);
        gateway_.eventLog().ADD_EVENTS(-1, "TEST", "Request Ping failed: " + cause, true);
    };
    // The window would only say "ping: not found" for each terminal.
    if (platform.scriptKind() == Platform::ScriptKind::PosixShell &&
        platform.findProgram("ping").empty()) {
        return fail(
            "The ping command is not installed on this machine.\n"
            "Install it (for example the package iputils-ping), then try again.",
            "no ping command");
    }
    const PingRun run = pingRun(platform, rows, B_PING.caption());
    // In the per-user private folder: no other user can replace it between writing and running.
    const std::string folder = platform.privateFolder();
    const std::string script = folder + kPathSeparator + run.name;
    // Written whole or not at all: a script left by an earlier run is replaced, never appended to.
    if (folder.empty() || !platform.files().replace(script, run.text, Files::Access::OwnerOnly)) {
        return fail("The ping script could not be written in the private folder \"" +
                        pathText(folder) + "\".",
                    "script not written");
    }
    gateway_.pump();

    if (!run.start(script)) {
        return fail(
            "No console window could be opened to run the ping script.\n"
            "Install a terminal emulator (for example xterm), then try again.",
            "no terminal window");
    }
    gateway_.eventLog().ADD_EVENTS(-1, "TEST", "Request Ping", true);
}

}  // namespace plx
