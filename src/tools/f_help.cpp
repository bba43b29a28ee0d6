#include "tools/f_help.h"

#include "console/gateway.h"

namespace plx {

F_HELP::F_HELP(Gateway&) : form("F_HELP", "Plyxen AS400 Help", 9000, 6000), INP_HELP(form, "INP_HELP") {}

}  // namespace plx
