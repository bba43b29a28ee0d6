#pragma once
// The gateway executable as the benchmarks run it, and the event-loop wait that the scripted
// host needs.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

#include "headless_program.h"
#include "loopback_terminals.h"

namespace plx::bench {

// Runs the Qt events (the scripted host's socket) until the condition holds or timeoutMs
// passed; returns the condition.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// The gateway under measure: started headless in its folder, stopped by its own shut-down.
using GatewayProcess = sim::HeadlessProgram;

}  // namespace plx::bench
