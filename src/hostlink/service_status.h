#pragma once
// The line a service manager shows for the host link (`systemctl status`): the state, and
// where the link goes or when it is tried again.

#include <cstdint>
#include <string>

namespace plx {

struct LinkPicture {
    std::uint8_t state;        // OFFLINE, ONLINE or PAUSE
    std::string host, port;    // as configured
    bool connecting = false;   // an attempt is under way
    bool socketClosed = true;  // OFFLINE: the next tick connects (else it first closes)
    std::string lastStatus;    // the host link window's status line
    bool encrypted = false;    // the link (or the attempt) is TLS
};

// "ONLINE as400.plant:23", "ONLINE as400.plant:992 (TLS)", "PAUSE", "OFFLINE, connecting to
// as400.plant:23", "OFFLINE, next attempt within 5 s (Error: Connection refused)".
std::string serviceStatusText(const LinkPicture& link);

}  // namespace plx
