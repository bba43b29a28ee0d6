// Scaffolding: empty bodies until this subsystem's work lands. Delete when done.
#include "hostlink/f_as400.h"
#include "tools/dns.h"

namespace plx {
void F_AS400::Form_Load() {}
bool F_AS400::Form_QueryUnload() { return true; }
void F_AS400::SET_LINK_STATE(std::uint8_t) {}
void F_AS400::SHOW_STATUS(const std::string&) {}
void F_AS400::TIM_CONNECT_Timer() {}
void F_AS400::TIM_WATCHDOG_Timer() {}
void F_AS400::TCPAS400_Connect() {}
void F_AS400::TCPAS400_Close() {}
void F_AS400::TCPAS400_Error(const std::string&) {}
void F_AS400::B_PAUSE_Click() {}
void F_AS400::B_RESET_TERM_Click() {}
void F_AS400::GEST_TELNET(const std::string&) {}
void F_AS400::SEND_AS400(const std::string&) {}
void F_AS400::TIM_TX_USR_PW_Timer() {}
void F_AS400::TCPAS400_DataArrival() {}
void F_AS400::SW_DISPLAY_Click() {}
void F_AS400::B_CLEAR_Click() {}
void F_AS400::B_SAVE_CFG_Click() {}
void F_AS400::INP_IP_Change() {}
void F_AS400::INP_PORT_Change() {}
void F_AS400::B_HELP_Click() {}
std::string GET_HOST_IP(Platform&, const std::string&) { return {}; }
std::string IP_TO_TEXT(const std::array<std::uint8_t, 4>&) { return {}; }
}  // namespace plx
