#include "tools/f_status.h"

#include "console/gateway.h"

namespace plx {

F_STATUS::F_STATUS(Gateway& gateway)
    : form("F_STATUS", "Mervax Products Status", 8535, 8490),
      LST_STATUS(form, "LST_STATUS"),
      B_REFRESH(form, "B_REFRESH", "Refresh"),
      gateway_(gateway) {}

}  // namespace plx
