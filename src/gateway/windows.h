#pragma once
// The gateway's windows, registered here and nowhere else. A new window is its own files (its
// unit with `form` and a constructor taking the Gateway), its header below and one line in
// the list saying what its close box does; the gateway then creates it on first touch and
// reaches it as gateway.window<F_NEW>(). They are released in the reverse order of the list
// at the end.

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "display/f_test.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"
#include "tools/f_help.h"
#include "tools/f_status.h"

namespace plx {

// Kept: the window's own close handler decides (it hides, or ends the process) and the window
// lives until the end, or until its opener releases it. Destroyed: a close destroys it and the
// next touch makes it anew, empty.
enum class OnClose { Kept, Destroyed };

template <class Unit, OnClose kOnClose>
struct Window {};

template <class... Windows>
struct WindowList {};

using GatewayWindows = WindowList<Window<F_EVENTS, OnClose::Kept>,       // hides: it keeps logging
                                  Window<F_AS400, OnClose::Kept>,        // hides: the link goes on
                                  Window<F_MAIN, OnClose::Kept>,         // ends the process
                                  Window<F_ADD_PRODUCT, OnClose::Kept>,  // released by its opener
                                  Window<F_TEST, OnClose::Destroyed>,    // made anew at each show
                                  Window<F_STATUS, OnClose::Destroyed>,  // made anew at each show
                                  Window<F_HELP, OnClose::Destroyed>>;

}  // namespace plx
