#pragma once
// The gateway executable as the benchmarks run it: headless, in a folder of its own, stopped
// by its own shut-down at the end; and the event-loop wait that the scripted host needs.
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <functional>

#include "loopback_terminals.h"

namespace plx::bench {

// Runs the Qt events (the scripted host's socket) until the condition holds or timeoutMs
// passed; returns the condition.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Kibibytes of resident memory of a process, 0 when it cannot be read.
inline long residentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    // Read whole: a /proc file has no size, so atEnd() holds from the start.
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

class GatewayProcess {
  public:
    // Starts `program` in `folder` without a display; `started()` is the moment of the start.
    GatewayProcess(const QString& program, const QString& folder,
                   const QStringList& arguments = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Should the benchmark itself be killed, the gateway gets its own shut-down signal.
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        started_ = Clock::now();
        process_.start(program, arguments);
        if (!process_.waitForStarted(10000)) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(program));
            std::exit(1);
        }
    }
    ~GatewayProcess() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();  // the gateway's own shut-down
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    GatewayProcess(const GatewayProcess&) = delete;
    GatewayProcess& operator=(const GatewayProcess&) = delete;

    Clock::time_point started() const { return started_; }
    long residentKiB() const { return bench::residentKiB(process_.processId()); }
    bool running() const { return process_.state() == QProcess::Running; }

  private:
    QProcess process_;
    Clock::time_point started_;
};

}  // namespace plx::bench
