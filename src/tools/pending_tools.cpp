// Scaffolding: empty bodies until this subsystem's work lands. Delete when done.
#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "tools/f_help.h"
#include "tools/f_status.h"
#include "tools/url_link.h"

namespace plx {
void F_MAIN::Form_Resize() {}
void F_MAIN::B_PING_Click() {}
void F_MAIN::B_OPEN_WEBP_Click() {}
void F_EVENTS::Form_Resize() {}
void F_STATUS::Form_Load() {}
void F_STATUS::Form_Resize() {}
void F_STATUS::B_REFRESH_Click() {}
void F_STATUS::LST_STATUS_DblClick() {}
const std::string& F_HELP::helpText() { static const std::string text; return text; }
void URLLink::setText_(const std::string&) {}
void URLLink::setURL(const std::string&) {}
void URLLink::setShowToolTip(bool) {}
void URLLink::lblURL_MouseDown(int, int, float, float) {}
void URLLink::UserControl_InitProperties() {}
void URLLink::UserControl_ReadProperties(const PropertyBag&) {}
void URLLink::UserControl_WriteProperties(PropertyBag&) const {}
void URLLink::refreshToolTip() {}
}  // namespace plx
