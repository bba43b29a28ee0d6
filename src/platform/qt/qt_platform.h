#pragma once
// The real platform: Qt 6 timers, sockets, dialogs and widget views on the one GUI thread.
// Construct it after the QApplication and destroy it before; the gateway that uses it
// must be destroyed first.

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <chrono>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/local_files.h"
#include "platform/platform.h"
#include "platform/qt/service_manager.h"

class QWidget;

namespace plx::qtp {

class FormView;

class QtPlatform : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // --- Platform ---
    LocalTime now() override;
    long long uptimeMs() override { return uptime_.elapsed(); }
    std::string secureRandom(std::size_t bytes) override;
    std::unique_ptr<HttpServerPort> createHttpServer() override;
    std::optional<std::string> embeddedFile(const std::string& name) override;
    std::unique_ptr<TimerPort> createTimer() override;
    std::unique_ptr<TcpClientPort> createTcpClient() override;
    std::unique_ptr<UdpSocketPort> createUdpSocket() override;
    std::optional<std::array<std::uint8_t, 4>> lookupIPv4(const std::string& name) override;
    Files& files() override { return files_; }
    void processPendingEvents() override;
    bool eventsMayWait() override;
    void post(std::function<void()> task) override;
    [[noreturn]] void endProcess() override;
    void attachView(Form& form) override;
    void detachView(Form& form) override;
    void runModal(Form& form, const Form& owner) override;
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    void setBusyCursor(bool busy) override;
    void serviceReady() override { serviceManager_.ready(); }
    void serviceStatus(const std::string& text) override { serviceManager_.status(text); }
    void journal(const std::string& line, JournalPriority priority) override {
        serviceManager_.journal(line, priority);
    }
    long long journalLinesDropped() override { return standardError().droppedLines(); }
    ProcessFigures processFigures() override;
    ScriptKind scriptKind() const override {
#ifdef Q_OS_WIN
        return ScriptKind::WindowsBatch;
#else
        return ScriptKind::PosixShell;
#endif
    }
    void openWithDesktop(const std::string& address) override;
    std::string findProgram(const std::string& name) override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    std::string privateFolder() override;

    // Standard error, which never waits for its reader: for what the program itself says.
    StandardError& standardError() {
        return serviceManager_.standardError();
    }

    // The top-level widget showing a form; nullptr when the form has no view.
    QWidget* viewOf(const Form& form) const;

  protected:
    const std::map<const Form*, FormView*>& views() const {
        return views_;
    }

  private:
    // Puts a window opened from the main window where it hides none of it and none of our
    // other windows' title bars, as far as the screen allows (window_placement.h), or where
    // the operator last left a window of that name.
    void placeFromMain(FormView& view, const std::string& name);

    static constexpr std::time_t kZoneRereadSeconds = 60;  // how often now() reads the zone
    std::time_t zoneReadAt_ = 0;
    std::time_t nowSecond_ = -1;  // the second now() last answered for, and its answer
    LocalTime nowLocal_;
    LocalFiles files_;
    ServiceManager serviceManager_;
    // Context of posted tasks and of the session's end: dropped with the platform.
    QObject postContext_;
    int postedWaiting_ = 0;  // posted tasks not yet run
    // A pump runs the system's events only this long after it last did: far below what a
    // terminal or a person can tell, and long enough that a broadcast's 2002 datagrams (1 to
    // 10 us each) pay for a handful of looks, each as dear as several datagrams.
    static constexpr std::chrono::microseconds kLookEvery{500};
    std::chrono::steady_clock::time_point lastLook_;
    int pumping_ = 0;  // pumps under way: a dispatch is sending, windows wait to repaint
    // A pump this recent tells a dispatch that has just ended: the moment to repaint.
    static constexpr std::chrono::milliseconds kJustDispatched{2};
    std::map<const Form*, FormView*> views_;
    // The first window made, the main one: every other is opened from it.
    const Form* mainForm_ = nullptr;
    // Where the operator left each window released on close (by its name): it comes back
    // there when it is made again, for the rest of the session.
    std::map<std::string, QPoint> keptPlaces_;
    // Released views waiting for their deferred deletion; deleted with the platform when
    // the event loop has already ended.
    std::vector<QPointer<FormView>> released_;
    bool busy_ = false;
    QElapsedTimer uptime_;
    double startedAtSeconds_ = 0;  // since 1970, at the platform's making
};

}  // namespace plx::qtp
