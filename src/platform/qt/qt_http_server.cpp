#include "platform/qt/qt_http_server.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QTcpSocket>
#include <algorithm>
#include <charconv>
#include <climits>

#include "platform/websocket_frames.h"

namespace plx::qtp {
namespace {

// TLS 1.3, and TLS 1.2 with forward-secret AEAD suites only: no CBC, no key exchange by RSA
// or pre-shared keys, no finite-field groups.
constexpr const char* kTlsPriorities =
    "SECURE128:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-CIPHER-ALL:+AES-256-GCM:+AES-128-GCM:"
    "+CHACHA20-POLY1305:-MAC-ALL:+AEAD:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:-GROUP-ALL:+GROUP-EC-ALL:"
    "%SERVER_PRECEDENCE";

// A refusal for load, which monitoring tells from a link that is down: in plain HTTP an
// answer saying when to try again (slots free within a request deadline); over TLS a fatal
// alert (internal_error) in a TLS record, never plain text where TLS is spoken.
const QByteArray kBusyAnswer =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: application/json\r\nRetry-After: " +
    QByteArray::number(QtHttpServer::kRequestDeadlineMs / 1000) +
    "\r\nConnection: close\r\nContent-Length: 16\r\n\r\n{\"error\":\"busy\"}";
const QByteArray kTlsRefusal("\x15\x03\x03\x00\x02\x02\x50", 7);

constexpr std::string_view kWebSocketGuid = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

HttpResponse refusal(int status, const char* message) {
    return {status, "application/json", std::string("{\"error\":\"") + message + "\"}", {}};
}

// %XX decoded, whatever it gives (a control character is the console's to refuse); the
// rest as it is.
std::string percentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr ==
                text.data() + i + 3) {
            decoded += static_cast<char>(value);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// An IPv4 peer on a dual-stack socket reads as itself, not as "::ffff:127.0.0.1".
std::string peerText(const sockaddr_storage& address) {
    const QHostAddress peer(reinterpret_cast<const sockaddr*>(&address));
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    return (isV4 ? QHostAddress(v4).toString() : peer.toString()).toStdString();
}

MHD_Result collectHeader(void* request, MHD_ValueKind, const char* name, const char* value) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    static_cast<HttpRequest*>(request)->headers.emplace_back(std::move(lower), value ? value : "");
    return MHD_YES;
}

}  // namespace

// One request on its way: what the library has given of it, and the answer once there is one.
struct QtHttpServer::Exchange {
    QtHttpServer& server;
    MHD_Connection* connection;
    std::string target;  // as the request line has it
    HttpRequest request;
    bool headersChecked = false;
    bool tooLarge = false;
    bool asked = false;  // handed to onRequest
    bool suspended = false;
    std::optional<HttpResponse> reply;
};

struct QtHttpServer::Connection {
    std::string peer;
    MHD_socket socket;
    QTimer deadline;
    std::shared_ptr<Exchange> exchange;  // the request under way
    bool streaming = false;              // a live stream's own limits apply
};

QtHttpServer::Connection* QtHttpServer::connectionOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<Connection*>(info->socket_context) : nullptr;
}

QtHttpServer::QtHttpServer() {
    runTimer_.setSingleShot(true);
    QObject::connect(&runTimer_, &QTimer::timeout, [this] { run(); });
}

QtHttpServer::~QtHttpServer() {
    listener_.close();
    streams_.clear();
    if (!daemon_) return;
    // The library may only stop with no connection suspended.
    for (const auto& [key, connection] : connections_) {
        if (connection->exchange && connection->exchange->suspended)
            MHD_resume_connection(connection->exchange->connection);
    }
    MHD_stop_daemon(daemon_);
}

std::string QtHttpServer::listen(const HttpListen& where) {
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(where.address)))
        return "not an address: " + where.address;
    tls_ = !where.certificatePem.empty();
    const auto callback = [](auto* function) { return reinterpret_cast<intptr_t>(function); };
    std::vector<MHD_OptionItem> options = {
        {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(kConnectionMemoryBytes),
         nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, kStalledAnswerSeconds, nullptr},
        {MHD_OPTION_STRICT_FOR_CLIENT, 1, nullptr},
        {MHD_OPTION_NOTIFY_CONNECTION, callback(&onConnection), this},
        {MHD_OPTION_NOTIFY_COMPLETED, callback(&onCompleted), this},
        {MHD_OPTION_URI_LOG_CALLBACK, callback(&onTarget), this},
    };
    if (tls_) {
        options.push_back(
            {MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(where.certificatePem.c_str())});
        options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(where.keyPem.c_str())});
        options.push_back({MHD_OPTION_HTTPS_PRIORITIES, 0, const_cast<char*>(kTlsPriorities)});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    const unsigned flags = MHD_USE_NO_LISTEN_SOCKET | MHD_ALLOW_SUSPEND_RESUME | MHD_ALLOW_UPGRADE |
                           (tls_ ? MHD_USE_TLS : 0);
    daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &QtHttpServer::onAccess, this,
                               MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END);
    if (!daemon_)
        return tls_ ? "the certificate or its key cannot be used" : "the server cannot start";
    if (!listener_.listen(address, where.port)) return listener_.errorString().toStdString();
    run();
    return {};
}

void QtHttpServer::accept(qintptr descriptor) {
    const auto socket = static_cast<MHD_socket>(descriptor);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (!peerAddress(socket, address, length)) return closeSocket(socket);
    const std::string peer = peerText(address);
    const HttpAdmission::Verdict verdict = admission_.admit(peer);
    if (verdict != HttpAdmission::Verdict::Admitted)
        return refuse(descriptor, verdict == HttpAdmission::Verdict::Busy ? "busy" : "peer_limit");
    auto owned = std::make_unique<Connection>();
    Connection* const ours = owned.get();
    ours->peer = peer;
    ours->socket = socket;
    ours->deadline.setSingleShot(true);
    QObject::connect(&ours->deadline, &QTimer::timeout, [this, ours] {
        // An idle connection between requests goes too, but only a request begun is refused.
        if (ours->exchange && !ours->exchange->asked) ++refusals_["deadline"];
        shutDownSocket(ours->socket);  // the library meets the end at its next read
    });
    ours->deadline.start(kRequestDeadlineMs);
    connections_.emplace(ours, std::move(owned));
    adding_ = ours;
    const bool added =
        MHD_add_connection(daemon_, socket, reinterpret_cast<const sockaddr*>(&address), length) ==
        MHD_YES;
    adding_ = nullptr;
    // The library closed the socket; it told of the connection's end, or it never began.
    if (!added && connections_.erase(ours) != 0) admission_.release(peer);
    run();
}

void QtHttpServer::refuse(qintptr descriptor, const char* reason) {
    ++refusals_[reason];
    const auto socket = static_cast<MHD_socket>(descriptor);
    if (static_cast<int>(lingering_.children().size()) >= kMaxLingeringRefusals)
        return closeSocket(socket);
    auto* refused = new QTcpSocket(&lingering_);
    if (!refused->setSocketDescriptor(descriptor)) {
        delete refused;
        return closeSocket(socket);
    }
    // What the client sent is read and dropped: closed unread, it would reset the connection
    // before the client reads the refusal.
    QObject::connect(refused, &QIODevice::readyRead, refused, [refused] { refused->readAll(); });
    QObject::connect(refused, &QAbstractSocket::disconnected, refused, &QObject::deleteLater);
    QTimer::singleShot(2000, refused, &QObject::deleteLater);
    refused->write(tls_ ? kTlsRefusal : kBusyAnswer);
    refused->disconnectFromHost();
}

void QtHttpServer::run() {
    streams_.remove_if([](const LiveStream& stream) { return stream.ended(); });
    MHD_run(daemon_);
    fd_set reads, writes, errors;
    FD_ZERO(&reads);
    FD_ZERO(&writes);
    FD_ZERO(&errors);
    MHD_socket largest = MHD_INVALID_SOCKET;
    MHD_get_fdset2(daemon_, &reads, &writes, &errors, &largest, FD_SETSIZE);
    watch(watches_, reads, writes, largest);
    MHD_UNSIGNED_LONG_LONG timeoutMs = 0;
    if (MHD_get_timeout(daemon_, &timeoutMs) == MHD_YES)
        runTimer_.start(static_cast<int>(std::min<MHD_UNSIGNED_LONG_LONG>(timeoutMs, INT_MAX)));
    else
        runTimer_.stop();
}

void QtHttpServer::watch(std::map<MHD_socket, Watch>& watches, const fd_set& reads,
                         const fd_set& writes, MHD_socket largest) {
    const bool none = largest == MHD_INVALID_SOCKET;
    const std::vector<MHD_socket> wantRead =
        none ? std::vector<MHD_socket>{} : socketsIn(reads, largest);
    const std::vector<MHD_socket> wantWrite =
        none ? std::vector<MHD_socket>{} : socketsIn(writes, largest);
    const auto wanted = [](const std::vector<MHD_socket>& list, MHD_socket socket) {
        return std::find(list.begin(), list.end(), socket) != list.end();
    };
    // A notifier may be the one whose signal runs this: it is let go later, never here.
    const auto letGo = [](std::unique_ptr<QSocketNotifier>& notifier) {
        if (!notifier) return;
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    };
    for (auto it = watches.begin(); it != watches.end();) {
        if (wanted(wantRead, it->first) || wanted(wantWrite, it->first)) {
            ++it;
            continue;
        }
        letGo(it->second.read);
        letGo(it->second.write);
        it = watches.erase(it);
    }
    const auto follow = [this](std::unique_ptr<QSocketNotifier>& notifier, MHD_socket socket,
                               QSocketNotifier::Type type, bool on) {
        if (on && !notifier) {
            notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(socket), type);
            QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] { run(); });
        }
        if (notifier) notifier->setEnabled(on);
    };
    for (const std::vector<MHD_socket>* list : {&wantRead, &wantWrite}) {
        for (const MHD_socket socket : *list) {
            Watch& w = watches[socket];
            follow(w.read, socket, QSocketNotifier::Read, wanted(wantRead, socket));
            follow(w.write, socket, QSocketNotifier::Write, wanted(wantWrite, socket));
        }
    }
}

void QtHttpServer::onConnection(void* server, MHD_Connection*, void** context,
                                MHD_ConnectionNotificationCode code) {
    auto& self = *static_cast<QtHttpServer*>(server);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        *context = self.adding_;
        return;
    }
    auto* ours = static_cast<Connection*>(*context);
    if (!ours) return;
    self.admission_.release(ours->peer);
    self.connections_.erase(ours);
}

void* QtHttpServer::onTarget(void* server, const char* target, MHD_Connection* connection) {
    Connection* ours = connectionOf(connection);
    if (!ours) return nullptr;
    ours->exchange = std::make_shared<Exchange>(Exchange{*static_cast<QtHttpServer*>(server),
                                                         connection,
                                                         target,
                                                         {},
                                                         false,
                                                         false,
                                                         false,
                                                         false,
                                                         std::nullopt});
    return ours->exchange.get();
}

MHD_Result QtHttpServer::onAccess(void* server, MHD_Connection* connection, const char*,
                                  const char* method, const char*, const char* upload,
                                  std::size_t* uploadSize, void** exchange) {
    auto& self = *static_cast<QtHttpServer*>(server);
    if (!*exchange) return MHD_NO;  // on no connection we admitted
    Exchange& ours = *static_cast<Exchange*>(*exchange);
    if (!ours.headersChecked) {
        // The body's length is checked before any of it is taken: one length, within bounds,
        // and never beside a chunked encoding (which would let two readers see two bodies).
        ours.headersChecked = true;
        ours.request.method = method;
        MHD_get_connection_values(connection, MHD_HEADER_KIND, &collectHeader, &ours.request);
        int lengths = 0;
        unsigned long long length = 0;
        for (const auto& [name, value] : ours.request.headers) {
            if (name != "content-length") continue;
            ++lengths;
            std::from_chars(value.data(), value.data() + value.size(), length);
        }
        if (lengths > 1 || (lengths == 1 && !ours.request.header("transfer-encoding").empty())) {
            ++self.refusals_["malformed"];
            ours.reply = refusal(400, "One Content-Length, and no Transfer-Encoding beside it");
        } else if (length > kMaxBodyBytes) {
            ++self.refusals_["too_large"];
            ours.reply = refusal(413, "Request too large");
        }
        return ours.reply ? self.answer(connection, ours) : MHD_YES;
    }
    if (*uploadSize != 0) {
        if (ours.request.body.size() + *uploadSize > kMaxBodyBytes)
            ours.tooLarge = true;  // a chunked body: dropped, and answered once it has ended
        else
            ours.request.body.append(upload, *uploadSize);
        *uploadSize = 0;
        return MHD_YES;
    }
    if (ours.reply) return self.answer(connection, ours);
    if (ours.asked) return MHD_YES;
    return self.ask(connection, ours);
}

MHD_Result QtHttpServer::ask(MHD_Connection* connection, Exchange& exchange) {
    Connection* ours = connectionOf(connection);
    ours->deadline.stop();  // the request is here whole
    if (exchange.tooLarge) {
        ++refusals_["too_large"];
        exchange.reply = refusal(413, "Request too large");
        return answer(connection, exchange);
    }
    const std::size_t mark = exchange.target.find('?');
    exchange.request.path = percentDecoded(std::string_view(exchange.target).substr(0, mark));
    if (mark != std::string::npos) exchange.request.query = exchange.target.substr(mark + 1);
    exchange.request.peer = ours->peer;
    exchange.asked = true;
    if (!onRequest) exchange.reply = refusal(404, "No such page");
    const std::weak_ptr<Exchange> later = ours->exchange;
    if (onRequest) {
        onRequest(exchange.request, [later](HttpResponse response) {
            const std::shared_ptr<Exchange> waiting = later.lock();
            if (!waiting || waiting->reply) return;
            waiting->reply = std::move(response);
            if (!waiting->suspended) return;  // answered at once, within the call
            waiting->suspended = false;
            MHD_resume_connection(waiting->connection);
            waiting->server.runSoon();
        });
    }
    if (exchange.reply) return answer(connection, exchange);
    // Held: the connection waits, and so do the requests behind it on the connection.
    MHD_suspend_connection(connection);
    exchange.suspended = true;
    return MHD_YES;
}

MHD_Result QtHttpServer::answer(MHD_Connection* connection, const Exchange& exchange) {
    static const HttpResponse kNotWebSocket = refusal(400, "Not a WebSocket request");
    const std::string key = exchange.request.header("sec-websocket-key");
    const bool upgrade = exchange.reply->status == 101;
    const bool canUpgrade =
        !key.empty() && exchange.request.header("sec-websocket-version") == "13";
    const HttpResponse& reply = upgrade && !canUpgrade ? kNotWebSocket : *exchange.reply;
    MHD_Response* response = nullptr;
    if (upgrade && canUpgrade) {
        response = MHD_create_response_for_upgrade(&QtHttpServer::onUpgraded, this);
        const QByteArray accept =
            QCryptographicHash::hash(QByteArray::fromStdString(key + std::string(kWebSocketGuid)),
                                     QCryptographicHash::Sha1)
                .toBase64();
        MHD_add_response_header(response, "Upgrade", "websocket");
        MHD_add_response_header(response, "Sec-WebSocket-Accept", accept.constData());
    } else {
        response = MHD_create_response_from_buffer(
            reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
        if (!reply.contentType.empty())
            MHD_add_response_header(response, "Content-Type", reply.contentType.c_str());
    }
    for (const auto& [name, value] : reply.headers)
        MHD_add_response_header(response, name.c_str(), value.c_str());
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

void QtHttpServer::onCompleted(void* server, MHD_Connection* connection, void** exchange,
                               MHD_RequestTerminationCode code) {
    auto& self = *static_cast<QtHttpServer*>(server);
    Connection* ours = connectionOf(connection);
    const auto* ended = static_cast<Exchange*>(*exchange);
    // The library's own refusals (a request line or headers too long, a bad length).
    if (ended && code == MHD_REQUEST_TERMINATED_WITH_ERROR && !ended->asked && !ended->reply)
        ++self.refusals_["malformed"];
    if (!ours) return;
    ours->exchange.reset();
    if (!ours->streaming) ours->deadline.start(kRequestDeadlineMs);  // the next request's clock
}

void QtHttpServer::onUpgraded(void* server, MHD_Connection* connection, void*, const char* extra,
                              std::size_t extraSize, MHD_socket socket,
                              MHD_UpgradeResponseHandle* handle) {
    auto& self = *static_cast<QtHttpServer*>(server);
    if (Connection* ours = connectionOf(connection)) {
        ours->streaming = true;
        ours->deadline.stop();
    }
    // A stream lives as long as its page, quiet or not.
    MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT, 0U);
    self.streams_.emplace_back(socket, handle, std::string_view(extra, extraSize),
                               [&self] { self.runSoon(); });
}

void QtHttpServer::broadcast(const std::string& text) {
    const std::string frame = webSocketFrame(WebSocketOpcode::Text, text);
    for (LiveStream& stream : streams_) {
        // A page that does not read is ended rather than queued for without end.
        if (stream.unsent() > kMaxStreamBacklog)
            stream.end();
        else
            stream.send(frame);
    }
}

int QtHttpServer::streamCount() const {
    return static_cast<int>(std::count_if(streams_.begin(), streams_.end(),
                                          [](const LiveStream& s) { return !s.ended(); }));
}

}  // namespace plx::qtp
