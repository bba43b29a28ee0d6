#pragma once
// The gateway: owns the platform's view of the world, its core (gateway/gateway_core.h: the
// shared state, the event log, the display road, the host stream) and the windows
// (gateway/windows.h). F_MAIN is created by start(); every other window is created hidden the
// first time it is touched, and runs its load handler then. What it holds is declared here
// only: a file that uses a window or a part of the core includes that one's header.

#include <cstddef>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "gateway/windows.h"
#include "platform/platform.h"

namespace plx {

class DisplayRoad;
class EventLog;
class Form;
class Gateway;
class HostStream;
struct GatewayCore;
struct SharedState;

// One window's life: created on first touch (view attached, load handler run), released
// when it closes if it is of the kind that is destroyed on close. Only the code that touches
// a window needs its class: the slot keeps it as a shared pointer, which knows how to
// destroy it, and its form by address.
template <class Unit>
class WindowSlot {
  public:
    WindowSlot(Gateway& gateway, OnClose onClose) : gateway_(gateway), onClose_(onClose) {}
    Unit& get();
    void release();
    bool exists() const { return unit_ != nullptr; }

  private:
    Gateway& gateway_;
    OnClose onClose_;
    std::shared_ptr<Unit> unit_;
    Form* form_ = nullptr;
};

template <class List>
class WindowSlots;

template <class... Units, OnClose... kOnClose>
class WindowSlots<WindowList<Window<Units, kOnClose>...>> {
  public:
    explicit WindowSlots(Gateway& gateway) : slots_(WindowSlot<Units>(gateway, kOnClose)...) {}
    template <class Unit>
    WindowSlot<Unit>& of() {
        return std::get<WindowSlot<Unit>>(slots_);
    }
    // Last registered first.
    void releaseAll() {
        [this]<std::size_t... I>(std::index_sequence<I...>) {
            (std::get<sizeof...(Units) - 1 - I>(slots_).release(), ...);
        }
        (std::index_sequence_for<Units...>{});
    }

  private:
    std::tuple<WindowSlot<Units>...> slots_;
};

class Gateway {
  public:
    explicit Gateway(Platform& platform);
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    Platform& platform() { return platform_; }
    SharedState& state();
    EventLog& eventLog();
    DisplayRoad& display();
    HostStream& hostStream();

    // Creates the main window and runs the start-up sequence.
    void start();
    // The same shut-down as closing the main window: what the platform's end request runs
    // (SIGTERM, SIGINT, SIGHUP, the session's end).
    void shutDown();

    // A window of the list, created (and loaded) at its first touch.
    template <class Unit>
    Unit& window() {
        return windows_.template of<Unit>().get();
    }
    // Releases a window now, as its close does for those destroyed on close; the terminal
    // editor's opener does so once the modal show has returned.
    template <class Unit>
    void release() {
        windows_.template of<Unit>().release();
    }
    // Whether a window exists now (the modal editor is open, for one), without making it.
    template <class Unit>
    bool exists() {
        return windows_.template of<Unit>().exists();
    }

    // Lets pending events run once (shared/event_nesting.h).
    void pump();
    // True inside a pump: a dispatch (a chunk's frames, a Synchronize, a test) is under way
    // further up, and a command from outside the windows waits until it is done.
    bool dispatching() const;
    // Shows a form modally over its owner and waits until it is hidden; events go on
    // meanwhile.
    void runModal(Form& form, const Form& owner);

    // A released window is kept until no handler can still be running on it: it is
    // destroyed from the event loop, outside every pump and modal wait.
    void destroyWhenUnwound(std::shared_ptr<void> unit);

  private:
    void scheduleDestruction();

    Platform& platform_;
    std::unique_ptr<GatewayCore> core_;
    bool destructionScheduled_ = false;
    bool closing_ = false;
    std::vector<std::shared_ptr<void>> releasedWindows_;
    WindowSlots<GatewayWindows> windows_{*this};
};

template <class Unit>
Unit& WindowSlot<Unit>::get() {
    if (!unit_) {
        unit_ = std::make_shared<Unit>(gateway_);
        Unit& unit = *unit_;
        form_ = &unit.form;
        gateway_.platform().attachView(unit.form);
        if (onClose_ == OnClose::Destroyed) unit.form.onClosed = [this] { release(); };
        // Set before the load handler runs, which may touch this window again.
        if constexpr (requires { unit.Form_Load(); }) unit.Form_Load();
    }
    return *unit_;
}

template <class Unit>
void WindowSlot<Unit>::release() {
    if (!unit_) return;
    gateway_.platform().detachView(*form_);
    gateway_.destroyWhenUnwound(std::move(unit_));
}

}  // namespace plx
