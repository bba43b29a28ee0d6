#include <windows.h>

#include <QMetaObject>
#include <atomic>

#include "app/termination_signals.h"

namespace plx::app {
namespace {

// The one watcher of this process (it gives the GUI thread the call), its shut-down, and
// whether that has been asked for already.
std::atomic<QObject*> watcher{nullptr};
std::function<void()> shutDown;
std::atomic<bool> requested{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
    QObject* const target = watcher.load();
    if (target == nullptr) return FALSE;
    // Once: a second Ctrl+C while the shut-down runs must not start it again.
    if (!requested.exchange(true)) {
        QMetaObject::invokeMethod(
            target, [] { shutDown(); }, Qt::QueuedConnection);
    }
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // Close, log-off and shut-down end the process as soon as this handler returns: wait here
    // for the GUI thread's shut-down, which ends the process itself.
    ::Sleep(INFINITE);
    return TRUE;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onTermination)
    : onTermination_(std::move(onTermination)) {
    shutDown = [this] {
        if (onTermination_) onTermination_();
    };
    watcher.store(this);
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

TerminationSignals::~TerminationSignals() {
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    watcher.store(nullptr);
}

}  // namespace plx::app
