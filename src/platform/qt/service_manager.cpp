#include "platform/qt/service_manager.h"

#include <QString>

#include "platform/qt/control_binding.h"
#include "platform/qt/headless.h"
#include "platform/qt/service_outlets.h"

namespace plx::qtp {
namespace {

// Our texts are 8-bit, in the system's character set; the journal and the service manager
// read UTF-8.
QByteArray utf8(const std::string& text) {
    return toQt(text).toUtf8();
}

void notify(const QByteArray& message) {
    notifyServiceManager(std::string_view(message.constData(), message.size()));
}

}  // namespace

ServiceManager::ServiceManager() {
    headless_ = isHeadless();
    connect(&watchdog_, &QTimer::timeout, this, [] { notify("WATCHDOG=1"); });
}

void ServiceManager::ready() {
    notify("READY=1");
    // Pinged twice per period asked for: a hung event loop misses it and is restarted.
    if (const int pingMs = watchdogPingMs(); pingMs > 0) {
        watchdog_.start(pingMs);
        notify("WATCHDOG=1");
    }
}

void ServiceManager::status(const std::string& text) {
    notify("STATUS=" + utf8(text));
}

void ServiceManager::journal(const std::string& line, JournalPriority priority) {
    if (!headless_) return;
    const QByteArray text = utf8(line);
    standardError_.write(priority, std::string_view(text.constData(), text.size()));
}

}  // namespace plx::qtp
