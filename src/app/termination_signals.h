#pragma once
// A request to end turned into an ordinary event of the GUI thread. On POSIX systems that is
// SIGTERM, SIGINT or SIGHUP: the signal handler only writes a byte to a pipe, and a socket
// notifier reads it. On Windows it is the console's Ctrl+C, Ctrl+Break or close, which the
// system delivers on a thread of its own, and only to a program that uses a console (the
// gateway only when it runs headless from one); the desktop session's end reaches a program
// with windows through its windows instead (the Qt platform's end request).

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace plx::app {

class TerminationSignals : public QObject {
  public:
    // Runs `onTermination` once, from the event loop, at the first request to end.
    explicit TerminationSignals(std::function<void()> onTermination);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    std::function<void()> onTermination_;
#ifndef Q_OS_WIN
    QSocketNotifier* notifier_ = nullptr;
#endif
};

}  // namespace plx::app
