#include "hostlink/host_stream.h"

#include "display/display_road.h"
#include "eventlog/event_log.h"
#include "platform/platform.h"
#include "shared/global.h"
#include "shared/shared_state.h"

namespace plx {

HostStream::HostStream(Platform& platform, SharedState& state, EventLog& log, DisplayRoad& display)
    : platform_(platform), state_(state), log_(log), display_(display) {}

void HostStream::read(const std::string& chunk, const Reading& reading) {
    Statistics& stats = state_.STATS;
    stats.hostBytes += static_cast<long long>(chunk.size());
    stats.hostDataAtMs = platform_.uptimeMs();
    show(passwordMask_.shown(chunk, reading.password), reading.logged);
    // The answers leave before the frames' datagrams (GEST_TELNET): a reply that cannot go
    // out is of no use later, the connection is gone.
    for (const std::string& reply : telnet_.replies(chunk)) (void)reading.host.send(reply);
    // The frames go in order, the pending events let run between each one's copies; the
    // copies of one read's frames share the system's calls where no event comes between.
    const DisplayRoad::Dispatch together(display_);
    for (const std::string& frame : frames_.scan(chunk)) {
        ++stats.hostFrames;
        if (onFrame) onFrame(frame);
        display_.GEST_CMD(frame);
    }
}

void HostStream::end(bool logged) {
    frames_.reset();
    telnet_.reset();
    show(passwordMask_.end(), logged);
}

void HostStream::show(const std::string& shown, bool logged) {
    if (shown.empty()) return;  // all of it held back, to be shown with the next read
    if (logged) log_.ADD_EVENTS(-1, "RX-AS400", ESCAPE_CTRL_CHARS(shown), false);
    if (onShown) onShown(shown);
}

}  // namespace plx
