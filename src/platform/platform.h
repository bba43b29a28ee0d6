#pragma once
// The one port through which the gateway's logic sees the world. The Qt platform
// implements it for the real program, the fake platform for unit tests.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/local_time.h"

namespace plx {

class Form;

// A periodic timer. start() (re)arms it with a period; stop() disarms it.
class TimerPort {
  public:
    virtual ~TimerPort() = default;
    virtual void start(int periodMs) = 0;
    virtual void stop() = 0;
    std::function<void()> onTimeout;
};

// How the host connection is protected: not at all (telnet as it always was), or TLS, the
// host's certificate checked against the given certificates or the system's trust store.
struct TlsSettings {
    bool on = false;
    // DER certificates the host's must be, or chain to; none: the system's trust store.
    std::vector<std::string> trustedCertificates;
    // The name or address the host's certificate must be made out to.
    std::string peerName;
};

// The host connection. Events arrive from the event loop, never from inside a call.
class TcpClientPort {
  public:
    enum class State { Closed, Connecting, Connected, Closing };
    virtual ~TcpClientPort() = default;
    // Connected comes only once the connection is usable: with TLS, once the handshake has
    // completed and the host's certificate has been accepted.
    virtual State state() const = 0;
    // Starts a connection to a dotted IPv4 address (its parts read as decimal, leading
    // zeros and all) or to a host name; the outcome arrives as an event. With TLS on, the
    // Connect event comes after the handshake, a failed handshake is an Error whose
    // description starts with "TLS: ", and no byte is ever sent in clear.
    virtual void connectTo(const std::string& host, std::uint16_t port, const TlsSettings& tls) = 0;
    virtual void close() = 0;
    virtual bool send(const std::string& bytes) = 0;
    virtual std::string readAll() = 0;
    virtual bool hasPendingData() const = 0;

    std::function<void()> onConnect;
    std::function<void()> onDataArrival;
    std::function<void()> onClose;
    std::function<void(const std::string& description)> onError;
};

// One datagram of a batch: where it goes and what it carries, both held by the caller until
// the send returns.
struct OutgoingDatagram {
    std::string_view ipv4;
    std::uint16_t port = 0;
    std::string_view bytes;
};

// What became of a datagram handed to the socket.
enum class DatagramOutcome : std::uint8_t {
    Left,
    Busy,        // "try again": the system's buffers are full for now
    BadAddress,  // not a dotted IPv4 address, or one the system will not send to
    NoRoute,     // the network or the host is unreachable
    Refused,     // the system does not allow it (a firewall, a broadcast address)
    Failed,      // any other failure
};
inline constexpr std::size_t kDatagramOutcomes =
    static_cast<std::size_t>(DatagramOutcome::Failed) + 1;

// Terminal datagrams. Every send names its destination, so a nested send in the
// middle of another cannot redirect it. Only dotted IPv4 addresses are accepted.
class UdpSocketPort {
  public:
    virtual ~UdpSocketPort() = default;
    // The datagrams in their order, each to its own address, in one system call where the
    // system has one. Stops before the first one the system cannot take now: returns how
    // many were handled, each one's outcome in `outcomes` (as long as `datagrams`); the one
    // after them, if any, was Busy.
    virtual std::size_t send(std::span<const OutgoingDatagram> datagrams,
                             std::span<DatagramOutcome> outcomes) = 0;
    // Returns once the socket may take a datagram again, or after timeoutMs; meanwhile the
    // pending events run as processPendingEvents runs them (never the operator's input).
    virtual void awaitWritable(int timeoutMs) = 0;
};

// One HTTP request as the web console sees it: header names in lower case, the path decoded,
// the peer's address as text ("127.0.0.1", "::1").
struct HttpRequest {
    std::string method;
    std::string path;
    std::string query;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string peer;

    // The header's value, empty when it is missing.
    std::string header(const std::string& lowerCaseName) const {
        for (const auto& [name, value] : headers) {
            if (name == lowerCaseName) return value;
        }
        return {};
    }
};

struct HttpResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// Where a server listens, and with what certificate and key (PEM) when over TLS.
struct HttpListen {
    std::string address;
    std::uint16_t port = 0;
    std::string certificatePem;
    std::string keyPem;
};

// A small HTTP server on the event loop, made for a network: requests in, answers out (at once
// or later, from a timer), in request order on each connection. An answer 101 to a WebSocket
// request opens a live stream that receives what is broadcast. Its limits (the request's size
// and deadline, connections in all and per peer, a stream that does not read) are its own,
// and so are the refusals they make, counted by reason.
class HttpServerPort {
  public:
    using Respond = std::function<void(HttpResponse)>;
    virtual ~HttpServerPort() = default;
    // Empty when listening, otherwise why not.
    virtual std::string listen(const HttpListen& where) = 0;
    // Text to every open stream; a stream too far behind is closed (its page reconnects).
    virtual void broadcast(const std::string& text) = 0;
    virtual int streamCount() const = 0;
    // The server's own refusals since it started, by reason ("busy", "deadline", ...).
    virtual std::map<std::string, long long> refusals() const = 0;

    // Each request, answered once through `respond` (a closed connection makes it a no-op).
    std::function<void(const HttpRequest&, Respond respond)> onRequest;
};

// The process as monitoring counts it.
struct ProcessFigures {
    double startTimeSeconds = 0;  // since 1970-01-01 UTC
    long long residentBytes = 0;
    long long openFiles = 0;  // file descriptors; handles on Windows
};

enum class MessageIcon { Critical, Warning, Information };

// How urgent a journal line is, numbered as syslog numbers it: the "<N>" the journal reads at
// the start of a line.
enum class JournalPriority { Error = 3, Warning = 4, Info = 6 };

class Platform {
  public:
    virtual ~Platform() = default;

    // Clock: the time of day, and milliseconds since the process started (never going back).
    virtual LocalTime now() = 0;
    virtual long long uptimeMs() = 0;
    // Bytes from the system's secure random source.
    virtual std::string secureRandom(std::size_t bytes) = 0;

    // Timers, sockets, name lookup.
    virtual std::unique_ptr<TimerPort> createTimer() = 0;
    virtual std::unique_ptr<TcpClientPort> createTcpClient() = 0;
    virtual std::unique_ptr<UdpSocketPort> createUdpSocket() = 0;
    virtual std::unique_ptr<HttpServerPort> createHttpServer() = 0;
    // Blocking lookup of a host name's first IPv4 address; nothing when it does not resolve.
    virtual std::optional<std::array<std::uint8_t, 4>> lookupIPv4(const std::string& name) = 0;

    // Files.
    virtual Files& files() = 0;
    // A file built into the program (the web console's page), nothing when there is none.
    virtual std::optional<std::string> embeddedFile(const std::string& name) = 0;

    // Event loop. processPendingEvents runs the events already pending once, the nesting
    // point of datagram sending: posted tasks at once, what the system holds (sockets,
    // timers, windows) as soon as a fraction of a millisecond has passed since it last
    // looked, so that a pump with nothing pending costs nothing. The operator's input is not
    // among them: a click waits until the dispatch under way is done, so no dialog can open
    // in the middle of one and hold the host's data behind it. post runs a task after the
    // current handler has returned. endProcess ends the process at once with status 0:
    // nothing runs after it.
    virtual void processPendingEvents() = 0;
    // Whether processPendingEvents would run anything now, or may: cheap to ask after every
    // datagram. While it says no, datagrams can go out together.
    virtual bool eventsMayWait() = 0;
    virtual void post(std::function<void()> task) = 0;
    [[noreturn]] virtual void endProcess() = 0;
    // The system asks the program to end: a termination signal, the console closed, the
    // user's log-off, the machine's shut-down. Set by the gateway, called from the event loop.
    std::function<void()> onEndRequest;

    // Windows: a view follows a form from creation to release; a modal form, centred over
    // its owner, keeps the caller waiting, events still running, until the form is hidden.
    // A message box opens over the window the operator is working in.
    virtual void attachView(Form& form) = 0;
    virtual void detachView(Form& form) = 0;
    virtual void runModal(Form& form, const Form& owner) = 0;
    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;
    virtual void setBusyCursor(bool busy) = 0;

    // The service manager and the journal, when the gateway runs as a service (nothing
    // otherwise): told once start-up is done and whenever the link changes, and given every
    // event line that the day's file always receives. Neither ever waits for its reader.
    virtual void serviceReady() = 0;
    virtual void serviceStatus(const std::string& text) = 0;
    virtual void journal(const std::string& line, JournalPriority priority) = 0;
    // Journal lines dropped because its reader did not keep up, since the start.
    virtual long long journalLinesDropped() = 0;
    virtual ProcessFigures processFigures() = 0;

    // Desktop and processes. Scripts are written for the system's command interpreter; a
    // program and its arguments are paths (platform/system_text.h), an address is text.
    enum class ScriptKind { PosixShell, WindowsBatch };
    virtual ScriptKind scriptKind() const = 0;
    virtual void openWithDesktop(const std::string& address) = 0;
    // Full path of a program found on the search path, empty when there is none.
    virtual std::string findProgram(const std::string& name) = 0;
    virtual bool startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;
    // A per-user folder no other user can write (created with owner-only access);
    // empty when none can be had.
    virtual std::string privateFolder() = 0;
};

}  // namespace plx
