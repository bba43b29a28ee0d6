#include "eventlog/f_events.h"

#include "console/gateway.h"

namespace plx {

F_EVENTS::F_EVENTS(Gateway& gateway)
    : form("F_EVENTS", "Events", 12240, 7740),
      LST_EVENTS(form, "LST_EVENTS"),
      SW_LOG(form, "SW_LOG", "Log to file:"),
      B_CLEAR(form, "B_CLEAR", "Clear all"),
      AFF_LOG_FILE(form, "AFF_LOG_FILE"),
      gateway_(gateway) {}

}  // namespace plx
