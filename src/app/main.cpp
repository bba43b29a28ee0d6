// The gateway as a program: the Qt application, the real platform, the gateway, and the
// termination signals that run the same shut-down as closing the main window.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/instance_lock.h"
#include "app/termination_signals.h"
#include "console/f_main.h"
#include "gateway/gateway.h"
#include "platform/qt/headless.h"
#include "platform/qt/qt_platform.h"

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
    "The AS/400 to LED display gateway. It takes no arguments: it works in the folder it is\n"
    "started in, which holds its terminal list (Products.cfg), its host settings\n"
    "(SERVER_AS400.cfg), its colour patterns and its daily log files. See plyxen400(1).\n";

// --help and --version answer and end the program before it touches anything; any other
// argument is refused. Returns the exit status, or nothing to go on and start.
std::optional<int> answerArguments(int argc, char* argv[]) {
    if (argc < 2) return std::nullopt;
    const std::string argument = argv[1];
    if (argc == 2 && (argument == "--help" || argument == "-h")) {
        std::fputs(kUsage, stdout);
        return EXIT_SUCCESS;
    }
    if (argc == 2 && argument == "--version") {
        std::printf("%s\n", plx::F_MAIN::kCaption);
        return EXIT_SUCCESS;
    }
    std::fprintf(stderr, "plyxen400: unknown argument \"%s\"\n%s", argv[1], kUsage);
    return 2;
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

    plx::qtp::QtPlatform platform;
    // Taken before start-up touches any file of the folder, and held until the process ends.
    const QString lockPath = QDir::current().filePath(QStringLiteral("Plyxen400.lock"));
    const plx::app::InstanceLock lock(QFile::encodeName(lockPath).toStdString());
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
                    .arg(lockPath, QString::fromLocal8Bit(lock.reason())));
            break;
    }

    plx::Gateway gateway(platform);
    plx::app::TerminationSignals terminationSignals([&gateway] { gateway.shutDown(); });
    gateway.start();
    return QApplication::exec();
}
