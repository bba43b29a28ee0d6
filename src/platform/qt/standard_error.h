#pragma once
// Standard error as the gateway writes it: the journal's lines, Qt's own messages and the
// refusals at start-up, through a bounded queue that never waits for the reader. A reader
// that stops (a stalled journal, a paused pager) costs lines, counted, never the event loop:
// once it takes lines again, one line says how many it missed. The day's log file has
// every event whatever happens here.

#include <QObject>
#include <QString>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/qt/service_outlets.h"

class QSocketNotifier;

namespace plx::qtp {

class StandardError : public QObject {
  public:
    // Bytes kept for a reader that is behind: some hours of an unreachable host's lines.
    static constexpr std::size_t kQueueBytes = 256 * 1024;

    // Takes over standard error and Qt's messages until destroyed.
    StandardError();
    ~StandardError() override;
    StandardError(const StandardError&) = delete;
    StandardError& operator=(const StandardError&) = delete;

    // One line, UTF-8, without its end. Any thread may write: Qt reports from its own too.
    void write(JournalPriority priority, std::string_view line);
    // A last try at what waits, without waiting either: the process ends next.
    void flushBeforeExit();
    // Lines dropped since the start.
    long long droppedLines();

  private:
    static void qtMessage(QtMsgType type, const QMessageLogContext& context,
                          const QString& message);
    bool fits(std::size_t bytes) const { return queue_.size() + bytes <= kQueueBytes; }
    std::string lossNote() const;
    void flush();  // the mutex held
    void watchUntilDrained();
    void drain();

    const ErrorOutlet outlet_;
    StandardError* previous_ = nullptr;  // Qt's messages go back to it when this one goes
    QtMessageHandler previousHandler_ = nullptr;
    std::mutex mutex_;
    std::string queue_;   // bytes the reader has not taken yet
    long long lost_ = 0;  // lines dropped since the reader last kept up
    long long droppedTotal_ = 0;
    bool gone_ = false;  // the reader is gone for good
    QSocketNotifier* writable_ = nullptr;
};

}  // namespace plx::qtp
