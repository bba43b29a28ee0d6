#pragma once
// What the web console shows, read from the windows and the shared state: the link and the
// events. Never the host password.

#include <string>

#include "platform/platform.h"

namespace plx {

class Gateway;

// A JSON answer; an error is {"error":"..."} with what the asker should know.
HttpResponse jsonResponse(std::string body, int status = 200);
HttpResponse errorResponse(int status, const std::string& message);

// {"link":"ONLINE",...}: the state, TLS, the host, the status line, seconds in this state
// and since host data, the heart, whether the terminal editor is open, the gateway's clock,
// the uptime.
std::string statusJson(Gateway& gateway);
// What the status shows but its ages: when it changes, the page reads the status again.
std::string statusKey(Gateway& gateway);
// The event window's lines after line number `after`, newest first, each with its number
// and mode.
std::string eventsJson(Gateway& gateway, long long after);

}  // namespace plx
