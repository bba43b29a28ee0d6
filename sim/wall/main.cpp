// plyxen400-terminal-wall: the LED terminals of a terminal list, on loopback, as a window
// or in a text terminal, so the gateway's datagrams can be seen as the plant floor would.
//
//   plyxen400-terminal-wall [--products PATH] [--headless] [--report]

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "ansi_wall.h"
#include "app/termination_signals.h"
#include "wall_listener.h"
#include "wall_model.h"
#include "wall_window.h"

namespace {

using namespace plx::wall;

constexpr int kAnsiPhaseCheckMs = 50;  // well under a flash half-period of 250 ms

const char* const kUsage =
    "usage: plyxen400-terminal-wall [--products PATH] [--headless] [--report]\n"
    "  --products PATH  the terminal list (default ./Products.cfg; without it 0001..0012\n"
    "                   on 127.0.10.1..12)\n"
    "  --headless       draw in this terminal with ANSI colours, not in a window\n"
    "  --report         print one line per datagram on standard output:\n"
    "                     frame <number> <address> <value> <attribute digits>\n"
    "                     malformed <address> <length>\n";

struct Options {
    std::string products = "Products.cfg";
    bool headless = false;
    bool report = false;
};

std::optional<Options> parse(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--report") {
            options.report = true;
        } else if (argument == "--products" && i + 1 < argc) {
            options.products = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
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

void printReportLine(const std::string& line) {
    // At once: a script reading the wall waits for each line.
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
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // A report reader that goes away costs the wall its report, never its life.
    ::signal(SIGPIPE, SIG_IGN);

    const bool windowed = !options->headless && hasDisplay();
    const std::unique_ptr<QCoreApplication> application =
        windowed ? std::make_unique<QApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    plx::app::TerminationSignals terminationSignals([] { QCoreApplication::quit(); });

    WallModel model(readTerminals(options->products));
    WallListener listener(model,
                          options->report ? WallListener::ReportSink(printReportLine) : nullptr);

    std::unique_ptr<WallWindow> window;
    std::unique_ptr<AnsiWall> ansi;
    QElapsedTimer clock;
    QTimer redraw;
    if (windowed) {
        window = std::make_unique<WallWindow>(model);
        QObject::connect(&listener, &WallListener::changed, window.get(), &WallWindow::refresh);
        window->show();
    } else if (std::FILE* terminal = ansiTerminal(options->report)) {
        ansi = std::make_unique<AnsiWall>(model, terminal);
        clock.start();
        QObject::connect(&listener, &WallListener::changed,
                         [&] { ansi->draw(flashPhaseAt(clock.elapsed())); });
        QObject::connect(&redraw, &QTimer::timeout,
                         [&] { ansi->drawOnPhaseChange(flashPhaseAt(clock.elapsed())); });
        redraw.start(kAnsiPhaseCheckMs);
    }
    listener.open();
    if (!window && !ansi) {
        std::fprintf(stderr, "terminal wall: %zu terminals, %zu listening on UDP 1024\n",
                     model.terminals().size(), model.listening());
    }
    // Ending the loop unwinds the renderer, which gives the text terminal back.
    return QCoreApplication::exec();
}
