#include "display/f_test.h"

#include "console/gateway.h"

namespace plx {

F_TEST::F_TEST(Gateway& gateway)
    : form("F_TEST", "Test Mervax Products", 5400, 3600),
      B_SELECT_ALL(form, "B_SELECT_ALL", "Select/Unselect All"),
      Frame1(form, "Frame1", "View on each selected product"),
      B_CMD_TERM_DASH(form, "B_CMD_TERM_DASH", "Dash Only", &Frame1),
      B_CMD_TERM_NO(form, "B_CMD_TERM_NO", "Terminal Number", &Frame1),
      B_CMD_TERM_TIME(form, "B_CMD_TERM_TIME", "Current Time", &Frame1),
      INP_TEST_COLOR_0(form, "INP_TEST_COLOR", "0", 0, &Frame1),
      INP_TEST_COLOR_1(form, "INP_TEST_COLOR", "0", 1, &Frame1),
      INP_TEST_COLOR_2(form, "INP_TEST_COLOR", "0", 2, &Frame1),
      gateway_(gateway) {}

}  // namespace plx
