// plyxen400-terminal-wall: the LED terminals of a terminal list, on loopback, as a window
// or in a text terminal, so the gateway's datagrams can be seen as the plant floor would.
//
//   plyxen400-terminal-wall [--products PATH] [--headless] [--report] [--help]
//
// Without a display it draws in the text terminal, or, where its output is none (a pipe, a
// file), prints a line per change.

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "ansi_wall.h"
#include "app/termination_signals.h"
#include "line_wall.h"
#include "wall_listener.h"
#include "wall_model.h"
#include "wall_window.h"

namespace {

using namespace plx::wall;

constexpr int kAnsiPhaseCheckMs = 50;  // well under a flash half-period of 250 ms

struct Options {
    std::string products = "Products.cfg";
    bool headless = false;
    bool report = false;
};

// The options, read before the application exists: whether it may open a window depends on
// them. --help and a wrong option print and end the program.
Options parse(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The LED terminals of a terminal list, each listening on its loopback address at UDP "
        "port 1024, drawn in a window or in this terminal."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption products(
        QStringLiteral("products"),
        QStringLiteral("The terminal list (default ./Products.cfg; without it 0001 to 0012 "
                       "on 127.0.10.1 to 127.0.10.12)."),
        QStringLiteral("path"), QStringLiteral("Products.cfg"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Draw in this terminal with ANSI colours; where standard output is no "
                       "terminal, print a line per change instead."));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral(
            "Print one line per datagram on standard output: \"frame <number> "
            "<address> <value> <attribute digits>\" or \"malformed <address> <length>\"."));
    parser.addOptions({products, headless, report});
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    // No application yet to name the program in the help text.
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"), QStringLiteral("plyxen400-terminal-wall"));
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(parser.errorText()), qPrintable(usage));
        std::exit(2);
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        std::exit(0);
    }
    return {parser.value(products).toStdString(), parser.isSet(headless), parser.isSet(report)};
}

std::vector<TerminalEntry> readTerminals(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return defaultTerminals();
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return parseTerminalList(text);
}

bool hasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr &&
        (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0)) {
        return false;  // a window nobody can see
    }
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           platform != nullptr;
}

void printLine(const std::string& line) {
    // At once: a script or a pipe reading the wall waits for each line.
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The text terminal to draw in: not the one that carries the report lines.
std::FILE* ansiTerminal(bool report) {
    if (!report && ::isatty(STDOUT_FILENO)) return stdout;
    if (report && !::isatty(STDOUT_FILENO) && ::isatty(STDERR_FILENO)) return stderr;
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    const Options options = parse(argc, argv);
    // A report reader that goes away costs the wall its report, never its life.
    ::signal(SIGPIPE, SIG_IGN);

    const bool windowed = !options.headless && hasDisplay();
    const std::unique_ptr<QCoreApplication> application =
        windowed ? std::make_unique<QApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    plx::app::TerminationSignals terminationSignals([] { QCoreApplication::quit(); });

    WallModel model(readTerminals(options.products));
    WallListener listener(model, options.report ? WallListener::ReportSink(printLine) : nullptr);

    std::unique_ptr<WallWindow> window;
    std::unique_ptr<AnsiWall> ansi;
    QElapsedTimer clock;
    QTimer redraw;
    if (windowed) {
        window = std::make_unique<WallWindow>(model);
        QObject::connect(&listener, &WallListener::changed, window.get(), &WallWindow::refresh);
        window->show();
    } else if (std::FILE* terminal = ansiTerminal(options.report)) {
        ansi = std::make_unique<AnsiWall>(model, terminal);
        clock.start();
        QObject::connect(&listener, &WallListener::changed,
                         [&] { ansi->draw(flashPhaseAt(clock.elapsed())); });
        QObject::connect(&redraw, &QTimer::timeout,
                         [&] { ansi->drawOnPhaseChange(flashPhaseAt(clock.elapsed())); });
        redraw.start(kAnsiPhaseCheckMs);
    }
    // Where standard output is no terminal and carries no report: a line per change, after
    // the line that says how many listen.
    std::unique_ptr<LineWall> lines;
    if (!window && !ansi && !options.report) lines = std::make_unique<LineWall>(model);
    listener.open();
    if (!window && !ansi) {
        const std::string summary = "terminal wall: " + std::to_string(model.terminals().size()) +
                                    " terminals, " + std::to_string(model.listening()) +
                                    " listening on UDP 1024";
        // Beside a report, on standard error: the report's lines stay of their kinds.
        if (lines) {
            printLine(summary);
        } else {
            std::fprintf(stderr, "%s\n", summary.c_str());
        }
    }
    if (lines) {
        const auto printChanges = [&lines] {
            const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
            for (const std::string& line : lines->changes())
                printLine(now.toStdString() + " " + line);
        };
        printChanges();
        QObject::connect(&listener, &WallListener::datagramTaken, printChanges);
    }
    // Ending the loop unwinds the renderer, which gives the text terminal back.
    return QCoreApplication::exec();
}
