#pragma once
// The gateway below its windows: the shared state, the event log, the display road and the
// host stream, on one platform. The gateway holds one under its windows; a test, a fuzzer,
// the benchmark and the replay drive one alone, as the windows would.

#include "display/display_road.h"
#include "eventlog/event_log.h"
#include "hostlink/host_stream.h"
#include "shared/event_nesting.h"
#include "shared/shared_state.h"

namespace plx {

struct GatewayCore {
    explicit GatewayCore(Platform& on) : platform(on) {}
    GatewayCore(const GatewayCore&) = delete;
    GatewayCore& operator=(const GatewayCore&) = delete;

    Platform& platform;
    SharedState state;
    EventNesting nesting{platform};
    EventLog log{platform, state};
    DisplayRoad display{platform, state, log, nesting};
    HostStream host{platform, state, log, display};
};

}  // namespace plx
