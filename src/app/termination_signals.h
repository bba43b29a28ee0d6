#pragma once
// SIGTERM and SIGINT turned into an ordinary event of the GUI thread: the signal handler
// only writes a byte to a pipe; a socket notifier reads it and runs the shut-down.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace plx::app {

class TerminationSignals : public QObject {
  public:
    // Runs `onTermination` once, from the event loop, at the first SIGTERM or SIGINT.
    explicit TerminationSignals(std::function<void()> onTermination);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    std::function<void()> onTermination_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace plx::app
