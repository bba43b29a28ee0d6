// The gateway as a program: the Qt application, the real platform, the gateway, and the
// termination signals that run the same shut-down as closing the main window.

#include <signal.h>

#include <QApplication>
#include <cstdlib>

#include "app/termination_signals.h"
#include "console/gateway.h"
#include "platform/qt/qt_platform.h"

namespace {

// Without any display the gateway still runs, as a service with invisible windows.
void chooseOffscreenWithoutDisplay() {
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr ||
                            std::getenv("QT_QPA_PLATFORM") != nullptr;
    if (!hasDisplay) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    chooseOffscreenWithoutDisplay();
    // A peer gone in the middle of a write costs that write an error, never the process.
    ::signal(SIGPIPE, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plyxen400"));

    plx::qtp::QtPlatform platform;
    plx::Gateway gateway(platform);
    plx::app::TerminationSignals terminationSignals([&gateway] { gateway.shutDown(); });
    gateway.start();
    return QApplication::exec();
}
