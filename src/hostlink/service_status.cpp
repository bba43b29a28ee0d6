#include "hostlink/service_status.h"

#include "shared/numeric_text.h"
#include "shared/shared_state.h"

namespace plx {

std::string serviceStatusText(const LinkPicture& link) {
    const std::string where = trimSpaces(link.host) + ":" + trimSpaces(link.port);
    if (link.state == ONLINE) return "ONLINE " + where + (link.encrypted ? " (TLS)" : "");
    if (link.state == PAUSE) return "PAUSE";
    if (link.connecting) return "OFFLINE, connecting to " + where;
    // A tick every 5 s: the next one connects, or first closes what is left of the link.
    std::string text = link.socketClosed ? "OFFLINE, next attempt within 5 s"
                                         : "OFFLINE, next attempt within 10 s";
    // The status line says why the link is down, unless it is the connection it just left
    // (an address changed, a reset): a "Connected" is no reason for OFFLINE.
    if (!link.lastStatus.empty() && !link.lastStatus.starts_with("Connected")) {
        text += " (" + link.lastStatus + ")";
    }
    return text;
}

}  // namespace plx
