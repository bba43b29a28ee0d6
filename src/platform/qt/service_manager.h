#pragma once
// The service manager and the journal, for a gateway that runs as a service: systemd's
// notification socket (Type=notify: ready, a status line, the watchdog's pings from the event
// loop) when built with libsystemd and started by systemd, and the journal's lines on stderr
// when there is no display. Outside a service and with a display, nothing.

#include <QObject>
#include <QTimer>
#include <string>

#include "platform/platform.h"

namespace plx::qtp {

class ServiceManager : public QObject {
  public:
    ServiceManager();

    // Start-up is done; from now on the event loop proves it is alive to the watchdog.
    void ready();
    void status(const std::string& text);
    void journal(const std::string& line, JournalPriority priority);

  private:
    QTimer watchdog_;
    bool headless_ = false;
    bool stderrIsJournal_ = false;  // then each line carries its priority
};

}  // namespace plx::qtp
