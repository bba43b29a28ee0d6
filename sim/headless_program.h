#pragma once
// One of our programs run as a service runs it: headless (no display at all, nothing chosen
// for Qt), in a folder of its own, its standard output gathered line by line, stopped by its
// own shut-down (SIGTERM) and killed only when that does not end it. Should the program that
// started it die first, it gets its shut-down signal too. Its standard error is gathered as
// it comes, or left unread in a pipe or in the journal's stream socket, as a journal that
// stalls leaves it. Shared by the integration tests and the benchmarks.
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

    // Where standard error goes: gathered as it comes, or into a pipe or the journal's stream
    // socket (JOURNAL_STREAM names it) that nothing reads until errors() is asked.
    enum class StandardError { Gathered, UnreadPipe, UnreadJournal };

    HeadlessProgram(const QString& program, const QString& folder,
                    const QStringList& arguments = {},
                    const QProcessEnvironment& extraEnvironment = {},
                    StandardError standardError = StandardError::Gathered) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(extraEnvironment);
        const int theirs = unreadStandardError(standardError, environment);
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.setStandardInputFile(QProcess::nullDevice());
        process_.setChildProcessModifier([theirs] {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (theirs >= 0) ::dup2(theirs, STDERR_FILENO);
        });
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
            while (process_.canReadLine()) lines_.append(QString::fromLatin1(process_.readLine()));
        });
        QObject::connect(&process_, &QProcess::readyReadStandardError,
                         [this] { errors_ += process_.readAllStandardError(); });
        started_ = std::chrono::steady_clock::now();
        process_.start(program, arguments);
        if (theirs >= 0) ::close(theirs);  // the program has its own copy
    }
    ~HeadlessProgram() {
        stop();
        if (unread_ >= 0) ::close(unread_);
    }
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    bool started() { return process_.waitForStarted(kBoundMs); }
    std::chrono::steady_clock::time_point startedAt() const { return started_; }
    bool running() const { return process_.state() == QProcess::Running; }
    qint64 pid() const { return process_.processId(); }
    QProcess& process() { return process_; }
    const QStringList& lines() const { return lines_; }
    // What it wrote on standard error so far (the journal, under a service manager).
    const QByteArray& errors() {
        char bytes[65536];
        for (ssize_t got; unread_ >= 0 && (got = ::read(unread_, bytes, sizeof bytes)) > 0;)
            errors_.append(bytes, got);
        return errors_;
    }

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
    // Makes the pipe or socket pair; keeps our end and returns the program's, -1 for none.
    int unreadStandardError(StandardError kind, QProcessEnvironment& environment) {
        int ends[2];
        if (kind == StandardError::Gathered) return -1;
        const bool journal = kind == StandardError::UnreadJournal;
        if ((journal ? ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends)
                     : ::pipe2(ends, O_CLOEXEC)) != 0) {
            return -1;
        }
        unread_ = ends[0];
        ::fcntl(unread_, F_SETFL, O_NONBLOCK);
        struct stat stream {};
        ::fstat(ends[1], &stream);
        if (journal)
            environment.insert("JOURNAL_STREAM",
                               QStringLiteral("%1:%2").arg(stream.st_dev).arg(stream.st_ino));
        return ends[1];
    }

    QProcess process_;
    QStringList lines_;
    QByteArray errors_;
    int unread_ = -1;  // our end of an unread standard error
    std::chrono::steady_clock::time_point started_;
};

}  // namespace plx::sim
