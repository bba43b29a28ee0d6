#pragma once
// A deterministic platform for unit tests: virtual clock and timers that fire only when
// the test advances time, scripted sockets, answered dialogs, files in memory that fail on
// demand.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/platform.h"

namespace plx::fake {

// The machine's files, in memory (a test's folder costs no disk), with a disk that fails
// on demand. The tests of the files themselves use the real ones (LocalFiles).
class FakeFiles : public Files {
  public:
    explicit FakeFiles(std::string folder) : folder_(std::move(folder)) {}
    std::string currentDirectory() override { return folder_; }
    bool exists(const std::string& path) override { return files_.contains(path); }
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::optional<std::string> read(const std::string& path) override;
    std::string readProblem() const override { return readProblem_; }
    bool replace(const std::string& path, const std::string& bytes, Access access) override;
    bool append(const std::string& path, const std::string& bytes) override;

    // Every read fails from now on (a file the gateway's account may not read).
    bool failReads = false;
    // Every write fails from now on (a read-only folder, a full disk).
    bool failWrites = false;
    // The disk takes this many more bytes, then fails the write under way; -1: no limit.
    long long failAfterBytes = -1;

    // Every file forgotten: a gateway fuzzed for hours would fill the memory with its log.
    void clear() { files_.clear(); }
    // Past the failures: the test sets the scene.
    void put(const std::string& path, std::string bytes) { files_[path] = {std::move(bytes)}; }
    // Whether the file was last written for its owner alone.
    bool ownerOnly(const std::string& path) const {
        const auto found = files_.find(path);
        return found != files_.end() && found->second.access == Access::OwnerOnly;
    }

  private:
    struct File {
        std::string bytes;
        Access access = Access::Default;
    };
    // How many of the next `bytes` bytes the disk takes.
    std::size_t roomFor(std::size_t bytes);

    std::string folder_;
    std::map<std::string, File> files_;
    std::string readProblem_;
};

class FakeTcpClient;
class FakeUdpSocket;

// The web console's server as a test drives it: requests handed in, answers collected (some
// arrive later, from a timer), broadcasts recorded.
class FakeHttpServer : public HttpServerPort {
  public:
    std::string listen(const HttpListen& where) override {
        listens.push_back(where);
        return listenError;
    }
    void broadcast(const std::string& text) override { broadcasts.push_back(text); }
    int streamCount() const override { return streams; }
    std::map<std::string, long long> refusals() const override { return serverRefusals; }

    // Hands the request in; the answer, or nothing while it is held back.
    std::optional<HttpResponse> request(const HttpRequest& request) {
        auto slot = std::make_shared<std::optional<HttpResponse>>();
        onRequest(request, [slot](HttpResponse response) { *slot = std::move(response); });
        answers.push_back(slot);
        return *slot;
    }

    std::vector<HttpListen> listens;
    std::string listenError;
    std::vector<std::string> broadcasts;
    int streams = 0;
    std::map<std::string, long long> serverRefusals;
    // Every request's answer slot, in order: a held-back answer fills its slot later.
    std::vector<std::shared_ptr<std::optional<HttpResponse>>> answers;
};

// Thrown by endProcess: the real process ends there, so nothing after it may run. A test
// that ends its gateway catches it where the event loop would have stood.
struct ProcessEnded {};

struct Datagram {
    std::string address;
    std::uint16_t port;
    std::string bytes;
    bool operator==(const Datagram&) const = default;
};

class FakePlatform : public Platform {
  public:
    // The folder's name holds "€": outside Latin-1, in the code page of a Western Windows.
    static constexpr std::u8string_view kFolderName = u8"plyxen400-test-€";
    explicit FakePlatform(std::u8string_view folderName = kFolderName);

    // --- Platform ---
    LocalTime now() override { return clock_; }
    long long uptimeMs() override { return elapsedMs_; }
    // Not random at all: the same bytes every time, so a test can read them.
    std::string secureRandom(std::size_t bytes) override { return std::string(bytes, '\x5a'); }
    std::unique_ptr<HttpServerPort> createHttpServer() override;
    std::optional<std::string> embeddedFile(const std::string& name) override {
        const auto found = embedded.find(name);
        if (found == embedded.end()) return std::nullopt;
        return found->second;
    }
    long long journalLinesDropped() override { return journalDropped; }
    ProcessFigures processFigures() override { return {1765000000, 50 << 20, 20}; }
    std::unique_ptr<TimerPort> createTimer() override;
    std::unique_ptr<TcpClientPort> createTcpClient() override;
    std::unique_ptr<UdpSocketPort> createUdpSocket() override;
    std::optional<std::array<std::uint8_t, 4>> lookupIPv4(const std::string& name) override;
    Files& files() override { return files_; }
    void processPendingEvents() override;
    bool eventsMayWait() override;
    void post(std::function<void()> task) override { queue_.push_back({std::move(task), false}); }
    [[noreturn]] void endProcess() override { throw ProcessEnded{}; }
    void attachView(Form& form) override { attachedForms.insert(&form); }
    void detachView(Form& form) override { attachedForms.erase(&form); }
    void runModal(Form& form, const Form& owner) override;
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    void setBusyCursor(bool) override {}
    void serviceReady() override { ++readyCount; }
    void serviceStatus(const std::string& text) override { serviceStatuses.push_back(text); }
    void journal(const std::string& line, JournalPriority priority) override {
        journalLines.push_back("<" + std::to_string(static_cast<int>(priority)) + ">" + line);
    }
    ScriptKind scriptKind() const override { return scripts; }
    void openWithDesktop(const std::string& address) override;
    std::string findProgram(const std::string& name) override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    std::string privateFolder() override;

    // --- Test controls ---
    // The folder the process "starts in" (APP_PATH), named as given.
    const std::string& folder() const { return folder_; }
    FakeFiles& fakeFiles() { return files_; }
    const FakeFiles& fakeFiles() const { return files_; }

    void setTime(const LocalTime& time) { clock_ = time; }
    // Moves the virtual clock forward, firing due timers in deadline order, and running the
    // events they post. Whole milliseconds; seconds and dates roll over.
    void advance(int ms);
    // Runs queued events until none is left (what the event loop does when idle).
    void runEvents();
    // The operator acts (a click, a key): queued like a window event, run by the event loop
    // and by modal waits, never by the pump of a dispatch.
    void operatorDoes(std::function<void()> action) { queue_.push_back({std::move(action), true}); }

    // Called at each processPendingEvents, before the queued events: a test's way to run
    // something "in the middle" of a send loop.
    std::function<void()> onPump;

    // The host connection: the last one created.
    FakeTcpClient& tcp();
    // The datagrams that left; what every one to a dotted address meets; the number of sends
    // that find the socket full ("try again") next; the waits for it, and how long each lasts.
    std::vector<Datagram> datagrams;
    DatagramOutcome udpOutcome = DatagramOutcome::Left;
    int udpBusySends = 0;
    int udpWaits = 0;
    int udpWaitMs = 0;

    std::map<std::string, std::array<std::uint8_t, 4>> hostNames;
    std::vector<std::string> lookups;

    struct Message {
        std::string text, title;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    // Runs when a form is shown modally, after the events pending then: the test plays the
    // operator; the form stays modal until hidden. Without a script the form is closed at
    // once. The events pending after the script run before the wait ends.
    std::function<void(Form&)> modalScript;
    const Form* modalOwner = nullptr;  // the owner of the last modal form

    // The last web server created.
    FakeHttpServer* http = nullptr;
    std::map<std::string, std::string> embedded;
    long long journalDropped = 0;

    int readyCount = 0;
    std::vector<std::string> serviceStatuses;
    std::vector<std::string> journalLines;  // each after its priority: "<4>14:05:09 ..."

    std::set<Form*> attachedForms;
    std::vector<std::string> openedAddresses;
    ScriptKind scripts = ScriptKind::PosixShell;  // as on Windows when set to WindowsBatch
    // Name -> full path; a machine with a ping command and no terminal emulator.
    std::map<std::string, std::string> programs{{"ping", "/usr/bin/ping"}};
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Started> started;
    bool startFails = false;

  private:
    friend class FakeTimer;
    friend class FakeTcpClient;
    friend class FakeUdpSocket;
    struct TimerEntry {
        int periodMs = 0;
        long long dueAt = -1;  // virtual ms; -1 when stopped
        std::function<void()>* fire = nullptr;
    };
    void tickClock(int ms);
    bool eventPending() const;  // one that a pump runs: not the operator's

    std::string folder_;
    FakeFiles files_;
    LocalTime clock_;
    long long elapsedMs_ = 0;
    int subSecondMs_ = 0;
    std::map<int, TimerEntry> timers_;
    int nextTimerId_ = 0;
    struct Event {
        std::function<void()> run;
        bool operatorInput;
    };
    std::deque<Event> queue_;
    FakeTcpClient* tcp_ = nullptr;
};

// The host connection as a test scripts it. Events are queued like real socket events.
class FakeTcpClient : public TcpClientPort {
  public:
    explicit FakeTcpClient(FakePlatform& platform) : platform_(platform) {}
    ~FakeTcpClient() override;

    State state() const override { return state_; }
    void connectTo(const std::string& host, std::uint16_t port, const TlsSettings& tls) override;
    void close() override;
    bool send(const std::string& bytes) override;
    std::string readAll() override;
    bool hasPendingData() const override { return !incoming_.empty(); }

    // The host accepts the pending connect.
    void acceptConnection();
    // Bytes arrive from the host (one DataArrival event per call).
    void receive(const std::string& bytes);
    // The host closes the connection.
    void closeByPeer();
    // The connection fails with this description.
    void fail(const std::string& description);

    struct ConnectCall {
        std::string host;
        std::uint16_t port;
        TlsSettings tls;
    };
    std::vector<ConnectCall> connects;
    int closeCalls = 0;
    std::vector<std::string> sent;
    bool failSends = false;

  private:
    FakePlatform& platform_;
    State state_ = State::Closed;
    std::string incoming_;
};

}  // namespace plx::fake
