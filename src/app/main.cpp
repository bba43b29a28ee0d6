// The gateway as a program: the Qt application, the real platform, the gateway, and the
// termination signals that, as the session's end does, run the same shut-down as closing
// the main window.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/instance_lock.h"
#include "app/parent_console.h"
#include "app/termination_signals.h"
#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "platform/local_files.h"
#include "platform/qt/control_binding.h"
#include "platform/qt/headless.h"
#include "platform/qt/qt_platform.h"
#include "platform/system_text.h"
#include "shared/shared_state.h"
#include "web/web_console.h"

namespace {

// Without any display the gateway still runs, as a service with invisible windows. (Windows
// always has a desktop to draw on, visible or not.)
void chooseOffscreenWithoutDisplay() {
#ifndef Q_OS_WIN
    const bool hasDisplay = qEnvironmentVariableIsSet("DISPLAY") ||
                            qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                            qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!hasDisplay) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

// On standard error, which never waits for its reader, with the journal's priority.
void say(plx::qtp::QtPlatform& platform, plx::JournalPriority priority, const QString& text) {
    const QByteArray line = text.toUtf8();
    platform.standardError().write(priority, std::string_view(line.constData(), line.size()));
}

// Says why this process does not start: on stderr always, in a box when someone can see it.
void refuseToStart(plx::qtp::QtPlatform& platform, const QString& text) {
    say(platform, plx::JournalPriority::Error, text);
    if (!plx::qtp::isHeadless()) QMessageBox::critical(nullptr, QStringLiteral("Error !"), text);
}

const char* const kUsage =
    "Usage: plyxen400 [--help | --version]\n"
    "The AS/400 to LED display gateway. It works in the folder it is started in, which holds\n"
    "its terminal list (Products.cfg), its host settings (SERVER_AS400.cfg), its colour\n"
    "patterns and its daily log files. It acts on no other argument: any it is given is\n"
    "ignored, and named by a Warning in the day's log. See plyxen400(1).\n";

// --help and --version answer and end the program before it touches anything. Returns the
// exit status, or nothing to go on and start.
std::optional<int> answerArguments(int argc, char* argv[]) {
    const auto given = [argc, argv](std::string_view option) {
        for (int i = 1; i < argc; ++i) {
            if (option == argv[i]) return true;
        }
        return false;
    };
    const bool help = given("--help") || given("-h");
    if (!help && !given("--version")) return std::nullopt;
    plx::app::useParentConsole();
    if (help) {
        std::fputs(kUsage, stdout);
    } else {
        const std::string_view version = plx::F_MAIN::kVersion;
        std::printf("plyxen400 %.*s\n", static_cast<int>(version.size()), version.data());
    }
    return EXIT_SUCCESS;
}

// A shortcut or a scheduled task may pass arguments: the gateway starts all the same, and
// the day's log and the journal say what it was given. Qt's own options are not among them.
void warnOfIgnoredArguments(plx::Gateway& gateway) {
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) return;
    std::string named;
    for (const QString& argument : arguments) named += " \"" + plx::qtp::fromQt(argument) + '"';
    gateway.eventLog().ADD_EVENTS(-1, "Warning", "Arguments ignored:" + named, true);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto status = answerArguments(argc, argv)) return *status;
    chooseOffscreenWithoutDisplay();
#ifndef Q_OS_WIN
    // A peer gone in the middle of a write costs that write an error, never the process.
    std::signal(SIGPIPE, SIG_IGN);
    // A full disk or a file size limit costs that write an error (EFBIG), never the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plyxen400"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/plyxen400.svg")));
    if (plx::qtp::isHeadless()) plx::app::useParentConsole();

    plx::qtp::QtPlatform platform;
    // Taken before start-up touches any file of the folder, and held until the process ends;
    // the folder is named as start-up names it.
    const std::string lockPath =
        plx::LocalFiles().currentDirectory() + plx::kPathSeparator + "Plyxen400.lock";
    const plx::app::InstanceLock lock(lockPath);
    switch (lock.result()) {
        case plx::app::InstanceLock::Result::Acquired:
            break;
        case plx::app::InstanceLock::Result::HeldByAnother:
            refuseToStart(platform, QStringLiteral("Plyxen400 is already running in the folder "
                                                   "%1; only one gateway may use a folder.")
                                        .arg(QDir::currentPath()));
            return plx::app::kAlreadyRunningStatus;
        case plx::app::InstanceLock::Result::Unavailable:
            // Nothing can be written there anyway; the gateway still serves the terminals.
            say(platform, plx::JournalPriority::Warning,
                QStringLiteral("Warning: %1 cannot be locked (%2); a second gateway in this "
                               "folder would not be noticed.")
                    .arg(plx::qtp::toQt(plx::pathText(lockPath)),
                         QString::fromLocal8Bit(lock.reason())));
            break;
    }

    plx::Gateway gateway(platform);
    plx::app::TerminationSignals terminationSignals([&platform] { platform.onEndRequest(); });
    gateway.start();
    warnOfIgnoredArguments(gateway);
    plx::WebConsole webConsole(gateway);
    webConsole.start();
    return QApplication::exec();
}
