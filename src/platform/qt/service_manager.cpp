#include "platform/qt/service_manager.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/headless.h"

#ifdef PLX_WITH_LIBSYSTEMD
#include <systemd/sd-daemon.h>
#endif

namespace plx::qtp {
namespace {

// Our texts are 8-bit Latin-1; the journal and the service manager read UTF-8.
QByteArray utf8(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).toUtf8();
}

void notify([[maybe_unused]] const QByteArray& message) {
#ifdef PLX_WITH_LIBSYSTEMD
    sd_notify(0, message.constData());
#endif
}

}  // namespace

ServiceManager::ServiceManager() {
    headless_ = isHeadless();
    // systemd sets JOURNAL_STREAM when it connects stderr to the journal.
    stderrIsJournal_ = std::getenv("JOURNAL_STREAM") != nullptr;
    connect(&watchdog_, &QTimer::timeout, this, [] { notify("WATCHDOG=1"); });
}

void ServiceManager::ready() {
    notify("READY=1");
#ifdef PLX_WITH_LIBSYSTEMD
    // Pinged twice per period asked for: a hung event loop misses it and is restarted.
    std::uint64_t periodUs = 0;
    if (sd_watchdog_enabled(0, &periodUs) > 0) {
        watchdog_.start(static_cast<int>(periodUs / 2000));
        notify("WATCHDOG=1");
    }
#endif
}

void ServiceManager::status(const std::string& text) {
    notify("STATUS=" + utf8(text));
}

void ServiceManager::journal(const std::string& line, JournalPriority priority) {
    if (!headless_) return;
    // The journal's priority prefix.
    const QByteArray prefix = "<" + QByteArray::number(static_cast<int>(priority)) + ">";
    const QByteArray text = (stderrIsJournal_ ? prefix : QByteArray()) + utf8(line) + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
}

}  // namespace plx::qtp
