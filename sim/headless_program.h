#pragma once
// One of our programs run as a service runs it: headless (no display at all, nothing chosen
// for Qt), in a folder of its own, its standard output gathered line by line, stopped by its
// own shut-down (SIGTERM) and killed only when that does not end it. Should the program that
// started it die first, it gets its shut-down signal too. Shared by the integration tests
// and the benchmarks.
#include <sys/prctl.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <chrono>
#include <csignal>

namespace plx::sim {

class HeadlessProgram {
  public:
    static constexpr int kBoundMs = 15000;  // to start or to stop, on a busy shared machine

    // `standardError`, when given, is the descriptor the program writes its standard error to
    // instead of the pipe errors() reads.
    HeadlessProgram(const QString& program, const QString& folder,
                    const QStringList& arguments = {},
                    const QProcessEnvironment& extraEnvironment = {}, int standardError = -1) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(extraEnvironment);
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.setStandardInputFile(QProcess::nullDevice());
        process_.setChildProcessModifier([standardError] {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (standardError >= 0) ::dup2(standardError, STDERR_FILENO);
        });
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
            while (process_.canReadLine()) lines_.append(QString::fromLatin1(process_.readLine()));
        });
        QObject::connect(&process_, &QProcess::readyReadStandardError,
                         [this] { errors_ += process_.readAllStandardError(); });
        started_ = std::chrono::steady_clock::now();
        process_.start(program, arguments);
    }
    ~HeadlessProgram() { stop(); }
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    bool started() { return process_.waitForStarted(kBoundMs); }
    std::chrono::steady_clock::time_point startedAt() const { return started_; }
    bool running() const { return process_.state() == QProcess::Running; }
    qint64 pid() const { return process_.processId(); }
    QProcess& process() { return process_; }
    const QStringList& lines() const { return lines_; }
    // What it wrote on standard error (the journal, under a service manager).
    const QByteArray& errors() const { return errors_; }

    // Sends the signal and waits for the end; true when the program ended by itself with
    // status 0. Every line it wrote has been gathered on return.
    bool stop(int signal = SIGTERM) {
        if (process_.state() == QProcess::NotRunning) return false;
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        if (process_.waitForFinished(kBoundMs))
            return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
        process_.kill();
        process_.waitForFinished(kBoundMs);
        return false;
    }

    // Kibibytes of resident memory, 0 when they cannot be read.
    long residentKiB() const {
        QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
        // Read whole: a /proc file has no size, so atEnd() holds from the start.
        if (!status.open(QIODevice::ReadOnly)) return 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
        }
        return 0;
    }

  private:
    QProcess process_;
    QStringList lines_;
    QByteArray errors_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace plx::sim
