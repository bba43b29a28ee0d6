#include "platform/qt/standard_error.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QThread>
#include <atomic>

namespace plx::qtp {
namespace {

// The standard error Qt's messages go to: the last one made (a test may make several).
std::atomic<StandardError*> current{nullptr};

JournalPriority priorityOf(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
        case QtInfoMsg:
            return JournalPriority::Info;
        case QtWarningMsg:
            return JournalPriority::Warning;
        case QtCriticalMsg:
        case QtFatalMsg:
            break;
    }
    return JournalPriority::Error;
}

std::string priorityPrefix(JournalPriority priority) {
    return "<" + std::to_string(static_cast<int>(priority)) + ">";
}

}  // namespace

StandardError::StandardError() : outlet_(openErrorOutlet()) {
    previous_ = current.exchange(this);
    previousHandler_ = qInstallMessageHandler(&StandardError::qtMessage);
}

StandardError::~StandardError() {
    qInstallMessageHandler(previousHandler_);
    current = previous_;
    flushBeforeExit();
}

void StandardError::qtMessage(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    StandardError* const standardError = current;
    if (standardError == nullptr) return;
    const QByteArray text = qFormatLogMessage(type, context, message).toUtf8();
    standardError->write(priorityOf(type), std::string_view(text.constData(), text.size()));
}

void StandardError::write(JournalPriority priority, std::string_view line) {
    std::string text = outlet_.journal ? priorityPrefix(priority) : std::string();
    text.append(line);
    text += '\n';
    {
        const std::lock_guard lock(mutex_);
        if (gone_) return;
        if (lost_ > 0) {
            const std::string note = lossNote();
            if (fits(note.size() + text.size())) {
                queue_ += note;
                lost_ = 0;
            }
        }
        if (lost_ > 0 || !fits(text.size())) {
            ++lost_;
            ++droppedTotal_;
            return;
        }
        queue_ += text;
        flush();
        if (queue_.empty()) return;
    }
    // The rest goes out as the reader makes room, from the event loop.
    if (QThread::currentThread() == thread()) {
        watchUntilDrained();
    } else {
        QMetaObject::invokeMethod(
            this, [this] { watchUntilDrained(); }, Qt::QueuedConnection);
    }
}

std::string StandardError::lossNote() const {
    return (outlet_.journal ? priorityPrefix(JournalPriority::Warning) : std::string()) +
           std::to_string(lost_) +
           " line(s) were dropped here: the journal (standard error) did not keep up; the "
           "day's log file has every event\n";
}

void StandardError::flush() {
    while (!queue_.empty()) {
        const long taken = writeWithoutWaiting(outlet_, queue_);
        if (taken < 0) {
            gone_ = true;
            queue_.clear();
            return;
        }
        if (taken == 0) return;
        queue_.erase(0, static_cast<std::size_t>(taken));
    }
}

void StandardError::watchUntilDrained() {
    if (writable_ == nullptr) {
        writable_ = new QSocketNotifier(outlet_.fd, QSocketNotifier::Write, this);
        connect(writable_, &QSocketNotifier::activated, this, &StandardError::drain);
    }
    writable_->setEnabled(true);
}

void StandardError::drain() {
    const std::lock_guard lock(mutex_);
    flush();
    // Caught up: it hears what it missed at once, not at the next line.
    if (queue_.empty() && lost_ > 0 && !gone_) {
        queue_ = lossNote();
        lost_ = 0;
        flush();
    }
    if (queue_.empty()) writable_->setEnabled(false);
}

void StandardError::flushBeforeExit() {
    const std::lock_guard lock(mutex_);
    flush();
}

}  // namespace plx::qtp

namespace plx::qtp {

long long StandardError::droppedLines() {
    const std::lock_guard lock(mutex_);
    return droppedTotal_;
}

}  // namespace plx::qtp
