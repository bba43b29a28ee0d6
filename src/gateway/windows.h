#pragma once
// The gateway's windows, registered here and nowhere else. A new window is its own files (its
// unit with `form`, a constructor taking the Gateway, and kDestroyedOnClose), its header below
// and its class in the list; the gateway then creates it on first touch and reaches it as
// gateway.window<F_NEW>(). They are released in the reverse order of the list at the end.

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "display/f_test.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "tools/f_help.h"
#include "tools/f_status.h"

namespace plx {

template <class... Units>
struct WindowList {};

using GatewayWindows =
    WindowList<F_EVENTS, F_AS400, F_MAIN, F_ADD_PRODUCT, F_TEST, F_STATUS, F_HELP>;

}  // namespace plx
