// Scaffolding: empty bodies until this subsystem's work lands. Delete when done.
#include "eventlog/f_events.h"

namespace plx {
void F_EVENTS::ADD_EVENTS(int, const std::string&, const std::string&, bool) {}
void F_EVENTS::SW_LOG_Click() {}
void F_EVENTS::B_CLEAR_Click() {}
void F_EVENTS::LST_EVENTS_DblClick() {}
}  // namespace plx
