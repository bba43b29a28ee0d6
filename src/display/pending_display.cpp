// Scaffolding: empty bodies until this subsystem's work lands. Delete when done.
#include "console/f_main.h"
#include "display/f_test.h"
#include "hostlink/f_as400.h"

namespace plx {
void F_AS400::GEST_CMD(const std::string&) {}
void F_AS400::SEND_CMD_UDP(int, const std::string&) {}
void F_MAIN::B_SYNCHRONIZE_Click() {}
TextBox& F_TEST::INP_TEST_COLOR(int index) {
    return index == 0 ? INP_TEST_COLOR_0 : index == 1 ? INP_TEST_COLOR_1 : INP_TEST_COLOR_2;
}
void F_TEST::B_SELECT_ALL_Click() {}
void F_TEST::B_CMD_TERM_DASH_Click() {}
void F_TEST::B_CMD_TERM_NO_Click() {}
void F_TEST::B_CMD_TERM_TIME_Click() {}
}  // namespace plx
