#pragma once
// The service manager and the journal, for a gateway that runs as a service: systemd's
// notification socket (Type=notify: ready, a status line, the watchdog's pings from the event
// loop) when systemd started it, and the journal's lines on standard error when there is no
// display. Outside a service and with a display, nothing. Neither ever waits for its reader.

#include <QObject>
#include <QTimer>
#include <string>

#include "platform/platform.h"
#include "platform/qt/standard_error.h"

namespace plx::qtp {

class ServiceManager : public QObject {
  public:
    ServiceManager();

    // Start-up is done; from now on the event loop proves it is alive to the watchdog.
    void ready();
    void status(const std::string& text);
    void journal(const std::string& line, JournalPriority priority);
    StandardError& standardError() { return standardError_; }

  private:
    StandardError standardError_;
    QTimer watchdog_;
    bool headless_ = false;
};

}  // namespace plx::qtp
