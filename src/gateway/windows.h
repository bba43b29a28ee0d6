#pragma once
// The gateway's windows, registered here and nowhere else. A new window is its own files (its
// unit with `form` and a constructor taking the Gateway), its class named below and one line
// in the list saying what its close box does; the gateway then creates it on first touch and
// reaches it as gateway.window<F_NEW>() for any file that includes its header. They are
// released in the reverse order of the list at the end. Only the names are here: a file sees
// the windows whose headers it includes, no others.

#include "platform/c_library_names.h"

namespace plx {

class F_ADD_PRODUCT;
class F_AS400;
class F_EVENTS;
class F_HELP;
class F_MAIN;
class F_STATUS;
class F_TEST;

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
