#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

#include "app/termination_signals.h"

namespace plx::app {
namespace {

// A hang-up (the terminal gone, `kill -HUP`) ends the gateway as a stop does: never
// without its shut-down.
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Write end and read end of the self-pipe; one process, one pair.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // Async-signal-safe; a full pipe already holds a pending request.
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onTermination)
    : onTermination_(std::move(onTermination)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
        }
        // Once: a second signal while the shut-down runs must not start it again.
        notifier_->setEnabled(false);
        if (onTermination_) onTermination_();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) ::sigaction(signal, &action, nullptr);
    delete notifier_;
    for (int& end : signalPipe) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace plx::app
