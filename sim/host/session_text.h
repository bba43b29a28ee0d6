#pragma once
// Words shared by the simulator's window and its console: its state, and one log line.

#include <QString>

#include "host_session.h"

namespace plx::sim {

// "Running, step 17", "Waiting for the gateway", ... with ", silent" when it is.
QString describe(const HostSession& session);
// The time of day and a text, as the window's log and the console print it.
QString logLine(const QString& text);

}  // namespace plx::sim
