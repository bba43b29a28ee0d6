// The display path on the real platform, next to the raw limit of the same machine measured
// in the same run: commands per second to one terminal, and the time of a Synchronize of a
// full list of 1001 terminals, with the event window hidden or shown and file logging off
// or on. The terminals are plain loopback sockets (127.0.10.1 onwards, port 1024) that the
// gateway's event loop never watches, as real terminals are not in the process.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "loopback_terminals.h"
#include "support/qt_test_platform.h"

namespace {

using namespace plx::bench;

constexpr int kTerminals = 1001;       // a full terminal list
constexpr int kCommands = 5000;        // commands per throughput measurement
constexpr int kSynchronizeRounds = 3;  // the best of these is reported
// Commands between two readings of the one terminal: a socket's default receive buffer
// holds about 256 small datagrams, and the terminal must not drop any.
constexpr int kCommandsPerReading = 64;

struct Row {
    const char* window;
    const char* fileLog;
    double commandsPerSecond, rawCommandsPerSecond;
    double synchronizeMs, rawSynchronizeMs;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    raiseFileLimit();
    QApplication application(argc, argv);

    // The gateway starts in a folder of its own: a full list, the host link on loopback at
    // a port where no host answers.
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    QDir::setCurrent(folder.path());
    TerminalWall wall(kTerminals);
    writeFile(folder.filePath("Products.cfg"), productList(wall, 1));
    writeFile(folder.filePath("SERVER_AS400.cfg"), "127.0.0.1\r\n9\r\n\r\n\r\n0\r\n");

    RawSender raw;

    plx::qtp::testing::QtTestPlatform platform;
    plx::Gateway gateway(platform);
    gateway.start();
    plx::F_AS400& host = gateway.window<plx::F_AS400>();
    plx::F_EVENTS& events = gateway.window<plx::F_EVENTS>();

    // Seconds for kCommands commands to the first terminal, which is read as it goes;
    // a command the terminal did not receive twice is reported.
    const auto toOneTerminal = [&wall](const char* who, const std::function<void()>& command) {
        long delivered = 0;
        const auto start = Clock::now();
        for (int i = 1; i <= kCommands; ++i) {
            command();
            if (i % kCommandsPerReading == 0) delivered += wall.drain(0);
        }
        const double seconds = secondsSince(start);
        delivered += wall.drain(0);
        if (delivered != 2L * kCommands) {
            std::fprintf(stderr, "%s: %ld of %d datagrams arrived\n", who, delivered,
                         2 * kCommands);
        }
        return seconds;
    };
    // The best of a few rounds, in seconds, each followed by emptying every terminal.
    const auto best = [&wall](const std::function<void()>& round) {
        double fastest = 1e9;
        for (int i = 0; i < kSynchronizeRounds; ++i) {
            const auto start = Clock::now();
            round();
            fastest = std::min(fastest, secondsSince(start));
            wall.drain();
        }
        return fastest;
    };

    std::vector<Row> rows;
    int value = 0;  // a new value for every command, so that none is dropped as a repeat
    for (const bool shown : {false, true}) {
        for (const bool fileLog : {false, true}) {
            if (shown) {
                events.form.show();
            } else {
                events.form.hide();
            }
            events.SW_LOG.setValue(fileLog ? 1 : 0);
            QApplication::processEvents();
            wall.drain();
            Row row{shown ? "shown" : "hidden", fileLog ? "on" : "off", 0, 0, 0, 0};

            row.commandsPerSecond =
                kCommands / toOneTerminal("gateway", [&] {
                    char command[16];
                    std::snprintf(command, sizeof command, "0001%04d0", value++ % 10000);
                    host.GEST_CMD(command);
                });
            row.rawCommandsPerSecond =
                kCommands / toOneTerminal("raw", [&] { raw.send(wall.address(0)); });

            row.synchronizeMs =
                1000 * best([&] { gateway.window<plx::F_MAIN>().B_SYNCHRONIZE_Click(); });
            row.rawSynchronizeMs = 1000 * best([&] {
                                       for (int i = 0; i < wall.size(); ++i)
                                           raw.send(wall.address(i));
                                   });
            rows.push_back(row);
        }
    }

    std::printf("Display path: 20-byte frames sent twice per command over loopback\n");
    std::printf("%-13s %-9s %14s %14s %7s %16s %12s %7s\n", "event window", "file log",
                "commands/s", "raw limit/s", "share", "Sync 1001 (ms)", "raw (ms)", "share");
    for (const Row& row : rows) {
        std::printf("%-13s %-9s %14.0f %14.0f %6.1f%% %16.1f %12.2f %6.1f%%\n", row.window,
                    row.fileLog, row.commandsPerSecond, row.rawCommandsPerSecond,
                    100.0 * row.commandsPerSecond / row.rawCommandsPerSecond, row.synchronizeMs,
                    row.rawSynchronizeMs, 100.0 * row.rawSynchronizeMs / row.synchronizeMs);
    }
    return 0;
}
