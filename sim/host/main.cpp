// plyxen400-as400-sim: an AS/400 host in VT100 mode for trying the gateway without one.
// It signs the gateway on and paints screens that carry display commands for the
// terminals 0000 onwards; a window (or the console) shows what it sends.

#include <QApplication>
#include <QCommandLineParser>
#include <QHostAddress>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/termination_signals.h"
#include "console_log.h"
#include "host_screens.h"
#include "host_session.h"
#include "host_window.h"
#include "key_input.h"
#include "whole_file.h"

namespace {

using plx::sim::HostSession;

// Without a display, or when asked, the simulator runs in the console.
bool wantsConsole(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) return true;
    }
    return std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
           std::getenv("QT_QPA_PLATFORM") == nullptr;
}

[[noreturn]] void refuse(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::exit(2);
}

// A whole number in [low, high] from an option, or the program stops with a message.
int number(const QCommandLineParser& parser, const QString& option, int low, int high) {
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < low || value > high) {
        refuse(QStringLiteral("--%1 takes a number from %2 to %3").arg(option).arg(low).arg(high));
    }
    return value;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool console = wantsConsole(argc, argv);
    const std::unique_ptr<QCoreApplication> application =
        console ? std::make_unique<QCoreApplication>(argc, argv)
                : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("plyxen400-as400-sim"));

    const HostSession::Settings defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "An AS/400 host in VT100 mode: signs the gateway on and paints screens carrying "
        "display commands for terminals 0000, 0001, ...\n"
        "Keys on standard input, each + Enter: d drops the line, s goes silent, r resumes."));
    parser.addHelpOption();
    parser.addOptions({
        {"listen", "Address to listen on.", "address", "127.0.0.1"},
        {"port", "Telnet port (0: any free port, printed at start).", "port", "2323"},
        {"user", "User name the sign-on must give.", "user", QString::fromLatin1(defaults.user)},
        {"password", "Password the sign-on must give.", "password",
         QString::fromLatin1(defaults.password)},
        {"interval", "Milliseconds between two screens.", "ms",
         QString::number(defaults.intervalMs)},
        {"terminals", "Terminals commanded: 0000 to count - 1.", "count",
         QString::number(defaults.script.terminalCount)},
        {"unknown", "A terminal number in no list, sent now and then.", "number",
         QString::fromLatin1(defaults.script.unknownNumber)},
        {"tls-certificate", "Serve telnet over TLS with this certificate (PEM).", "file"},
        {"tls-key", "The private key of the TLS certificate (PEM).", "file"},
        {"headless", "No window: what happens goes to standard output."},
    });
    parser.process(*application);

    HostSession::Settings settings;
    settings.user = parser.value("user").toLatin1();
    settings.password = parser.value("password").toLatin1();
    settings.intervalMs = number(parser, "interval", 50, 3600000);
    settings.script.terminalCount = number(parser, "terminals", 1, plx::sim::kMaxTerminals);
    settings.script.unknownNumber = parser.value("unknown").toLatin1();
    const QByteArray& unknown = settings.script.unknownNumber;
    if (unknown.size() != 4 || unknown.contains('<') || unknown.contains('>')) {
        refuse("--unknown takes four characters other than < and >");  // or it breaks the frame
    }
    const QHostAddress address(parser.value("listen"));
    if (address.isNull()) refuse("--listen takes an IP address");
    const int port = number(parser, "port", 0, 65535);

    // SIGTERM and Ctrl-C leave the event loop, so the line is closed as on any exit.
    plx::app::TerminationSignals terminationSignals([] { QCoreApplication::quit(); });
    HostSession session(settings);
    if (parser.isSet("tls-certificate") != parser.isSet("tls-key")) {
        refuse("--tls-certificate and --tls-key go together");
    }
    if (parser.isSet("tls-certificate") &&
        !session.serveTls(plx::sim::wholeFile(parser.value("tls-certificate")),
                          plx::sim::wholeFile(parser.value("tls-key")))) {
        refuse("The TLS certificate or its key cannot be read");
    }
    // The console or the window first, so it shows where the simulator listens.
    const plx::sim::KeyInput keys(session);
    std::unique_ptr<QObject> front;
    if (console) {
        front = std::make_unique<plx::sim::ConsoleLog>(session);
    } else {
        auto window = std::make_unique<plx::sim::HostWindow>(session);
        window->show();
        front = std::move(window);
    }
    if (!session.listen(address, static_cast<quint16>(port))) {
        refuse(QStringLiteral("Cannot listen on %1:%2").arg(address.toString()).arg(port));
    }
    return QCoreApplication::exec();
}
