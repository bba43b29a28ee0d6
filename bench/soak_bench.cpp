// Memory over a long run: the real gateway under host traffic at a high rate for a given
// time (30 minutes unless told otherwise), its resident memory (VmRSS) read from /proc at
// the start, every minute and at the end. Host, terminals and gateway stay on loopback.
//
//   soak_bench [minutes] [frames per millisecond tick]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "headless_program.h"
#include "scripted_host.h"
#include "terminal_wall.h"

namespace {

using plx::sim::ScriptedHost;
using plx::sim::TerminalWall;

constexpr int kTerminals = 8;              // 127.0.10.151 to 127.0.10.158
constexpr int kFirstTerminal = 151;        // clear of the addresses the tests and the demo use
constexpr int kDefaultMinutes = 30;        // the shortest run that says anything about months
constexpr int kDefaultFramesPerTick = 2;   // one tick per millisecond: up to 2000 frames/s
constexpr qint64 kMaxQueuedBytes = 65536;  // the host waits while the gateway lags this far
constexpr int kReportEveryMs = 60000;
constexpr int kSignOnBoundMs = 20000;  // first connection tick (5 s) + sign-on delay (3 s)

// A screen update with `count` frames, each a new value, so no command repeats what the
// terminal shows; escape sequences around them as a real screen has.
QByteArray screenUpdate(quint64& sequence, int count) {
    QByteArray screen;
    for (int i = 0; i < count; ++i, ++sequence) {
        const int terminal = 1 + static_cast<int>(sequence % kTerminals);
        const auto value = QByteArray::number(sequence % 10000).rightJustified(4, '0');
        screen += "\x1b[" + QByteArray::number(terminal) + ";10H<" +
                  QByteArray::number(terminal).rightJustified(4, '0') + value +
                  QByteArray::number(static_cast<int>(sequence % 10)) + ">";
    }
    screen += "\r\n";
    return screen;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : kDefaultMinutes;
    const int framesPerTick = argc > 2 ? std::atoi(argv[2]) : kDefaultFramesPerTick;
    if (minutes <= 0 || framesPerTick <= 0) {
        std::fprintf(stderr, "usage: soak_bench [minutes] [frames per millisecond tick]\n");
        return 2;
    }

    QTemporaryDir folder;
    ScriptedHost host;
    TerminalWall wall;
    if (!folder.isValid() || !host.listen()) {
        std::fprintf(stderr, "no temporary folder or no host port\n");
        return 1;
    }
    QByteArray products;
    for (int i = 1; i <= kTerminals; ++i) {
        const QString address = QStringLiteral("127.0.10.%1").arg(kFirstTerminal + i - 1);
        if (!wall.addTerminal(address)) {
            std::fprintf(stderr, "cannot open terminal %s\n", qPrintable(address));
            return 1;
        }
        products += QByteArray::number(i).rightJustified(4, '0') + ",," + address.toLatin1() +
                    ",Line " + QByteArray::number(i) + "\r\n";
    }
    // The host link's own log switch is on: every chunk passes through the event list too.
    const QDir dir(folder.path());
    if (!writeFile(dir.filePath("Products.cfg"), products) ||
        !writeFile(
            dir.filePath("SERVER_AS400.cfg"),
            "127.0.0.1\r\n" + QByteArray::number(host.port()) + "\r\npw\r\nuser\r\n 1\r\n")) {
        std::fprintf(stderr, "cannot write the configuration\n");
        return 1;
    }

    plx::sim::HeadlessProgram gateway(QStringLiteral(PLX_EXECUTABLE), folder.path());
    if (!gateway.started()) {
        std::fprintf(stderr, "the gateway did not start\n");
        return 1;
    }

    QElapsedTimer sinceStart;
    sinceStart.start();
    while (host.signOn().isEmpty() && sinceStart.elapsed() < kSignOnBoundMs) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    if (host.signOn().isEmpty()) {
        std::fprintf(stderr, "the gateway did not sign on\n");
        return 1;
    }

    quint64 sequence = 0;
    quint64 framesSent = 0;
    quint64 datagrams = 0;
    QObject::connect(&wall, &TerminalWall::datagramReceived, [&] {
        ++datagrams;
        wall.clear();  // only the count matters; the bench's own memory stays flat
    });
    QTimer traffic;
    traffic.setTimerType(Qt::PreciseTimer);
    QObject::connect(&traffic, &QTimer::timeout, [&] {
        if (!host.connected() || host.bytesToWrite() > kMaxQueuedBytes) return;
        host.write(screenUpdate(sequence, framesPerTick));
        framesSent += static_cast<quint64>(framesPerTick);
    });

    const long startKb = gateway.residentKiB();
    std::printf("soak: %d min, %d frame(s) per 1 ms tick, %d terminals, gateway pid %lld\n",
                minutes, framesPerTick, kTerminals, gateway.pid());
    std::printf("minute  VmRSS_kB  frames_sent  datagrams  host_connections\n");
    std::printf("%6d  %8ld  %11llu  %9llu  %16d\n", 0, startKb, framesSent, datagrams,
                host.connectionCount());
    std::fflush(stdout);

    int minute = 0;
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        ++minute;
        std::printf("%6d  %8ld  %11llu  %9llu  %16d\n", minute, gateway.residentKiB(), framesSent,
                    datagrams, host.connectionCount());
        std::fflush(stdout);
        if (minute >= minutes || !gateway.running()) {
            QCoreApplication::quit();
        }
    });
    traffic.start(1);
    report.start(kReportEveryMs);
    QCoreApplication::exec();
    traffic.stop();

    const long endKb = gateway.residentKiB();
    const bool alive = gateway.running();
    std::printf(
        "VmRSS start %ld kB, end %ld kB, growth %ld kB; %.0f frames/s, %.0f datagrams/s; "
        "%d host connection(s); gateway %s\n",
        startKb, endKb, endKb - startKb, static_cast<double>(framesSent) / (minute * 60.0),
        static_cast<double>(datagrams) / (minute * 60.0), host.connectionCount(),
        alive ? "alive" : "GONE");
    if (!alive) return 1;
    const bool stopped = gateway.stop();
    std::printf("shut-down %s\n", stopped ? "clean" : "FAILED");
    return stopped ? 0 : 1;
}
