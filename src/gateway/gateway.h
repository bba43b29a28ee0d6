#pragma once
// The gateway: owns the platform's view of the world, the shared state and the windows.
// F_MAIN is created by start(); every other window is created hidden the first time it
// is touched, and runs its load handler then.

#include <functional>
#include <memory>
#include <vector>

#include "display/display_road.h"
#include "platform/c_library_names.h"
#include "platform/platform.h"
#include "shared/shared_state.h"

namespace plx {

class Gateway;
class F_MAIN;
class F_ADD_PRODUCT;
class F_EVENTS;
class F_AS400;
class F_TEST;
class F_STATUS;
class F_HELP;

// One window's life: created on first touch (view attached, load handler run), released
// when it closes if it is of the kind that is destroyed on close.
template <class Unit>
class WindowSlot {
  public:
    WindowSlot(Gateway& gateway, bool destroyOnClose)
        : gateway_(gateway), destroyOnClose_(destroyOnClose) {}
    Unit& get();
    void release();

  private:
    Gateway& gateway_;
    bool destroyOnClose_;
    std::unique_ptr<Unit> unit_;
};

class Gateway {
  public:
    explicit Gateway(Platform& platform);
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    Platform& platform() { return platform_; }
    SharedState& state() { return state_; }
    DisplayRoad& display() { return display_; }

    // Creates the main window and runs the start-up sequence.
    void start();
    // The same shut-down as closing the main window: what the platform's end request runs
    // (SIGTERM, SIGINT, SIGHUP, the session's end).
    void shutDown();

    F_MAIN& main();
    F_ADD_PRODUCT& addProduct();
    F_EVENTS& events();
    F_AS400& as400();
    F_TEST& test();
    F_STATUS& status();
    F_HELP& help();
    // The terminal editor is released by its opener once the modal show has returned.
    void releaseAddProduct() { addProduct_.release(); }

    // Lets pending events run once: the nesting point after each datagram.
    void pump();
    // Shows a form modally over its owner and waits until it is hidden; events go on
    // meanwhile.
    void runModal(Form& form, const Form& owner);

    // A released window is kept until no handler can still be running on it: it is
    // destroyed from the event loop, outside every pump and modal wait.
    void bury(std::shared_ptr<void> unit);

  private:
    void scheduleBurial();

    Platform& platform_;
    SharedState state_;
    DisplayRoad display_{*this};
    int nesting_ = 0;
    bool burialScheduled_ = false;
    bool closing_ = false;
    std::vector<std::shared_ptr<void>> graveyard_;

    WindowSlot<F_MAIN> main_;
    WindowSlot<F_ADD_PRODUCT> addProduct_;
    WindowSlot<F_EVENTS> events_;
    WindowSlot<F_AS400> as400_;
    WindowSlot<F_TEST> test_;
    WindowSlot<F_STATUS> status_;
    WindowSlot<F_HELP> help_;
};

}  // namespace plx
