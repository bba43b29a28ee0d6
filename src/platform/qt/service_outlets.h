#pragma once
// The two outlets of a gateway run as a service, neither of which may ever hold up the event
// loop whatever its reader does: standard error (the journal's stream under systemd, or a
// pipe to whatever reads it) and the service manager's notification socket. One
// implementation per system.

#include <string_view>

namespace plx::qtp {

// Standard error, written without ever waiting.
struct ErrorOutlet {
    int fd = -1;             // -1: there is none
    bool socket = false;     // written by send(), which waits for nothing
    bool pollFirst = false;  // a shared pipe or terminal: written only when it has room
    bool journal = false;    // the journal's own stream: each line starts with its priority
};
ErrorOutlet openErrorOutlet();

// How many bytes of the front of `bytes` the reader took: possibly none when it is behind;
// -1 when it is gone for good.
long writeWithoutWaiting(const ErrorOutlet& outlet, std::string_view bytes);

// Sends one notification ("READY=1", "STATUS=...") to the service manager that started the
// process (NOTIFY_SOCKET), dropped rather than waited for when the manager is behind.
void notifyServiceManager(std::string_view message);

// Half the watchdog period the manager asks this process for, in milliseconds: how often
// to tell it the event loop is alive. 0 when it asks for none.
int watchdogPingMs();

}  // namespace plx::qtp
