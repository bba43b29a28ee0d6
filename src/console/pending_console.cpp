// Scaffolding: empty bodies until this subsystem's work lands. Delete when done.
#include "console/f_add_product.h"
#include "console/f_main.h"
#include "console/gateway.h"
#include "console/global.h"

namespace plx {
void F_MAIN::Form_Load() {}
void F_MAIN::Form_Unload() {}
bool F_MAIN::SYNC_TABLES() { return true; }
void F_MAIN::LOAD_CFG() {}
void F_MAIN::B_SAVE_CFG_Click() {}
void F_MAIN::B_SELECT_ALL_Click() {}
void F_MAIN::LST_PRODUIT_DblClick() {}
bool F_MAIN::LST_PRODUIT_SELECT() { return true; }
void F_MAIN::B_ADD_TERM_Click() {}
void F_MAIN::B_EDIT_TERM_Click() {}
void F_MAIN::B_REMOVE_TERM_Click() {}
void F_MAIN::B_AS400_COMM_Click() {}
void F_MAIN::B_EVENTS_Click() {}
void F_MAIN::B_STATUS_Click() {}
void F_MAIN::B_TEST_Click() {}
void F_MAIN::B_HELP_Click() {}
void F_MAIN::TIM_REFRESH_Timer() {}
std::string F_MAIN::dailyFileName() const { return {}; }
void F_ADD_PRODUCT::SW_EDIT_SAVE_Click(int) {}
void F_ADD_PRODUCT::B_OK_Click() {}
void F_ADD_PRODUCT::B_CLOSE_Click() {}
void F_ADD_PRODUCT::INP_DESCRIPTION_KeyPress(int&) {}
void F_ADD_PRODUCT::INP_IP_KeyPress(int&) {}
std::string EXTRACT_FIELD(const std::string&, const std::string&, int, const std::string&) { return {}; }
std::string ESCAPE_CTRL_CHARS(const std::string&) { return {}; }
}  // namespace plx
