#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <ctime>

#include "platform/controls/form.h"
#include "platform/qt/form_view.h"
#include "platform/qt/process_figures.h"
#include "platform/qt/qt_http_server.h"
#include "platform/qt/qt_tcp_client.h"
#include "platform/qt/qt_udp_socket.h"
#include "platform/qt/window_placement.h"
#include "platform/system_text.h"

namespace plx::qtp {
namespace {

class QtTimer : public TimerPort {
  public:
    QtTimer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTimeout) onTimeout();
        });
    }
    void start(int periodMs) override { timer_.start(periodMs); }
    void stop() override { timer_.stop(); }

  private:
    QTimer timer_;
};

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

// Paths and program arguments between Qt and the machine's files (platform/system_text.h):
// UTF-8 with backslashes on Windows, never through the code page; the file system's
// encoding elsewhere.
std::string filesPath(const QString& path) {
#ifdef Q_OS_WIN
    return narrowPath(QDir::toNativeSeparators(path).toStdWString());
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString qtPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(widePath(path));
#else
    return QFile::decodeName(path.c_str());
#endif
}

// The local time of a moment, the time zone read anew when asked.
std::tm localTime(std::time_t seconds, bool rereadZone) {
    std::tm local{};
#ifdef Q_OS_WIN
    if (rereadZone) _tzset();
    localtime_s(&local, &seconds);
#else
    if (rereadZone) ::tzset();
    localtime_r(&seconds, &local);
#endif
    return local;
}

}  // namespace

QtPlatform::QtPlatform() {
    uptime_.start();
    startedAtSeconds_ = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000;
    // Only the main window's unload ends the process, never the last window hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    // Nothing here quits the event loop, the desktop session's end does: at log-off and
    // shut-down (WM_ENDSESSION on Windows) the gateway closes before the system ends it.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &postContext_, [this] {
        if (onEndRequest) onEndRequest();
    });
}

QtPlatform::~QtPlatform() {
    for (const auto& [form, view] : views_) delete view;
    for (const auto& view : released_) delete view.data();
}

LocalTime QtPlatform::now() {
    // Every logged event reads the clock. QDateTime::currentDateTime() re-reads the time zone
    // at each call (a stat of /etc/localtime), which costs a busy host link one system call
    // per datagram; once a minute follows a change of the machine's zone just as well. Within
    // one second the answer is the one before.
    const std::time_t seconds = std::time(nullptr);
    if (seconds == nowSecond_) return nowLocal_;
    const bool rereadZone = seconds < zoneReadAt_ || seconds - zoneReadAt_ >= kZoneRereadSeconds;
    if (rereadZone) zoneReadAt_ = seconds;
    const std::tm local = localTime(seconds, rereadZone);
    nowSecond_ = seconds;
    nowLocal_ = LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                          local.tm_hour,        local.tm_min,     local.tm_sec};
    return nowLocal_;
}

std::unique_ptr<TimerPort> QtPlatform::createTimer() {
    return std::make_unique<QtTimer>();
}

std::unique_ptr<TcpClientPort> QtPlatform::createTcpClient() {
    return std::make_unique<QtTcpClient>([this] { lastLook_ = std::chrono::steady_clock::now(); });
}

std::unique_ptr<UdpSocketPort> QtPlatform::createUdpSocket() {
    // A wait for the socket is a pump that lasts: the windows wait to repaint, and it has
    // looked at the system when it ends.
    return std::make_unique<QtUdpSocket>([this](const std::function<void()>& wait) {
        ++pumping_;
        wait();
        --pumping_;
        lastLook_ = std::chrono::steady_clock::now();
    });
}

ProcessFigures QtPlatform::processFigures() {
    return {startedAtSeconds_, residentMemoryBytes(), openFileCount()};
}

std::unique_ptr<HttpServerPort> QtPlatform::createHttpServer() {
    return std::make_unique<QtHttpServer>();
}

std::string QtPlatform::secureRandom(std::size_t bytes) {
    std::string random(bytes, '\0');
    for (char& byte : random) byte = static_cast<char>(QRandomGenerator::system()->generate());
    return random;
}

std::optional<std::string> QtPlatform::embeddedFile(const std::string& name) {
    QFile file(QStringLiteral(":/web/") + QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll().toStdString();
}

std::optional<std::array<std::uint8_t, 4>> QtPlatform::lookupIPv4(const std::string& name) {
    if (name.empty()) return std::nullopt;
    // Blocking, as the connection tick expects; the system's resolver answers.
    const QHostInfo found = QHostInfo::fromName(qtp::toQt(name));
    for (const QHostAddress& address : found.addresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        const quint32 value = address.toIPv4Address();
        return std::array<std::uint8_t, 4>{
            static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    }
    return std::nullopt;
}

void QtPlatform::processPendingEvents() {
    // Asking the system whether a socket is readable or a window event came costs a system
    // call, as much as a datagram: the pump after every datagram would halve a broadcast's
    // speed. So the system is asked at most every kLookEvery, and at once when a task of
    // ours waits; what comes meanwhile runs at the next look, as if it had come that late.
    // The event loop that hands us host data has just asked it too: both copies of a frame
    // that comes alone leave together.
    if (!eventsMayWait()) return;
    lastLook_ = std::chrono::steady_clock::now();
    ++pumping_;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --pumping_;
}

bool QtPlatform::eventsMayWait() {
    return postedWaiting_ > 0 || std::chrono::steady_clock::now() - lastLook_ >= kLookEvery;
}

void QtPlatform::post(std::function<void()> task) {
    ++postedWaiting_;
    QMetaObject::invokeMethod(
        &postContext_,
        [this, task = std::move(task)] {
            --postedWaiting_;
            task();
        },
        Qt::QueuedConnection);
}

void QtPlatform::endProcess() {
    // At once, however deep in pumps and modal waits the close arrived: unwinding would let
    // the interrupted work (a broadcast, a dialog's OK) run on. Every file is closed after
    // each write, so nothing is lost; standard error gets a last try that waits for nothing
    // (stdio is not flushed: a full pipe behind it would hold the end).
    serviceManager_.standardError().flushBeforeExit();
    std::_Exit(EXIT_SUCCESS);
}

void QtPlatform::attachView(Form& form) {
    if (views_.count(&form) != 0) return;
    auto* const view = new FormView(form);
    views_[&form] = view;
    view->dispatching = [this] { return pumping_ > 0; };
    // A dispatch pumps after its first datagram, unless one looked a moment before.
    view->justDispatched = [this] {
        return std::chrono::steady_clock::now() - lastLook_ < kJustDispatched;
    };
    if (mainForm_ == nullptr) {
        mainForm_ = &form;
        return;
    }
    view->placeOnFirstShow = [this, name = form.name()](FormView& shown) {
        placeFromMain(shown, name);
    };
}

void QtPlatform::placeFromMain(FormView& view, const std::string& name) {
    if (const auto kept = keptPlaces_.find(name); kept != keptPlaces_.end()) {
        view.move(kept->second);
        return;
    }
    const QWidget* const main = mainForm_ != nullptr ? viewOf(*mainForm_) : nullptr;
    if (main == nullptr || !main->isVisible()) return;
    Surroundings around;
    around.screen = main->screen()->availableGeometry();
    around.main = main->frameGeometry();
    around.titleBar = main->geometry().top() - around.main.top();
    around.keepClear.emplace_back(around.main.topLeft(),
                                  QSize(around.main.width(), around.titleBar));
    for (const QPushButton* button : main->findChildren<QPushButton*>()) {
        if (button->isVisible())
            around.keepClear.emplace_back(button->mapToGlobal(QPoint()), button->size());
    }
    for (const auto& [form, other] : views_) {
        if (other != &view && other != main && other->isVisible())
            around.open.push_back(other->frameGeometry());
    }
    // Never shown, the window has no frame yet: it gets one like the main window's.
    const QSize frame = around.main.size() - main->size();
    view.move(placeOpenedWindow(view.size() + frame, around));
}

void QtPlatform::detachView(Form& form) {
    const auto found = views_.find(&form);
    if (found == views_.end()) return;
    FormView* const view = found->second;
    views_.erase(found);
    if (&form == mainForm_) mainForm_ = nullptr;
    if (view->shownOnce()) keptPlaces_[form.name()] = view->pos();
    view->detach();
    // The operator's click that released the window may still be running in one of its
    // widgets: delete it once that is over.
    view->deleteLater();
    std::erase_if(released_, [](const QPointer<FormView>& gone) { return gone.isNull(); });
    released_.emplace_back(view);
}

void QtPlatform::runModal(Form& form, const Form& owner) {
    const auto found = views_.find(&form);
    if (found == views_.end()) {
        form.show();
        return;
    }
    const QPointer<FormView> view = found->second;
    if (const QWidget* over = viewOf(owner); over != nullptr && over->isVisible()) {
        view->move(over->frameGeometry().center() - view->rect().center());
    }
    view->placeOnFirstShow = nullptr;  // centred over its owner instead
    view->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    view->setModalLoop(&loop);
    form.show();
    if (form.visible() && views_.count(&form) != 0) loop.exec(QEventLoop::DialogExec);
    if (view) {
        view->setModalLoop(nullptr);
        view->setWindowModality(Qt::NonModal);
    }
}

void QtPlatform::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    // Centred over the window the operator is working in: a dialog, else the active window.
    QWidget* over = QApplication::activeModalWidget();
    if (over == nullptr) over = QApplication::activeWindow();
    QMessageBox box(toQt(icon), qtp::toQt(title), qtp::toQt(text), QMessageBox::Ok, over);
    box.exec();
}

void QtPlatform::setBusyCursor(bool busy) {
    // An on/off switch like the screen's mouse pointer property, not a stack.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtPlatform::openWithDesktop(const std::string& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(qtp::toQt(address)));
}

std::string QtPlatform::findProgram(const std::string& name) {
    return filesPath(QStandardPaths::findExecutable(qtPath(name)));
}

bool QtPlatform::startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& argument : arguments) list.append(qtPath(argument));
    return QProcess::startDetached(qtPath(program), list);
}

std::string QtPlatform::privateFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const std::string runtimePath = filesPath(runtime);
    if (!runtime.isEmpty() && isOwnerOnlyFolder(runtimePath)) return runtimePath;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) return {};
    const QString folder = cache + QStringLiteral("/private");
    if (!QDir().mkpath(folder)) return {};
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const std::string folderPath = filesPath(folder);
    return isOwnerOnlyFolder(folderPath) ? folderPath : std::string();
}

QWidget* QtPlatform::viewOf(const Form& form) const {
    const auto found = views_.find(&form);
    return found == views_.end() ? nullptr : found->second;
}

}  // namespace plx::qtp
