#include "platform/qt/qt_http_server.h"

#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <memory>

namespace plx::qtp {
namespace {

// Lives as the socket's child, so it goes with the socket. Caps the request (Qt 6.4 holds a
// whole request in the socket's buffer until it is complete, so the buffer's size is a real
// limit), answers a declared oversize body at once, and closes a connection left idle.
class SocketGuard : public QObject {
  public:
    SocketGuard(QTcpSocket* socket, int& live) : QObject(socket), socket_(socket), live_(live) {
        ++live_;
        socket->setReadBufferSize(QtHttpServer::kMaxRequestBytes);
        idle_.setSingleShot(true);
        idle_.setInterval(QtHttpServer::kIdleMs);
        connect(&idle_, &QTimer::timeout, socket, &QAbstractSocket::abort);
        idle_.start();
        // Made before the server's own connection: it runs first.
        connect(socket, &QIODevice::readyRead, this, &SocketGuard::checkHead);
        connect(socket, &QIODevice::bytesWritten, this, [this] { idle_.start(); });
    }
    ~SocketGuard() override { --live_; }

    // A WebSocket lives as long as its page: its own limits apply from now on.
    void disarm() {
        idle_.stop();
        socket_->setReadBufferSize(0);
    }

  private:
    void checkHead() {
        idle_.start();
        if (socket_->isTransactionStarted()) return;  // within a request
        const QByteArray head = socket_->peek(QtHttpServer::kMaxRequestBytes);
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0) return;  // the cap and the idle timer take care of a head never ending
        qint64 length = 0;
        bool chunked = false;
        for (const QByteArray& line : head.left(end).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0) continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            if (name == "content-length") length = line.mid(colon + 1).trimmed().toLongLong();
            if (name == "transfer-encoding") chunked = true;
        }
        if (!chunked && length <= QtHttpServer::kMaxRequestBytes - end) return;
        disconnect(socket_, &QIODevice::readyRead, nullptr, nullptr);
        socket_->write(chunked ? "HTTP/1.1 411 Length Required\r\n"
                               : "HTTP/1.1 413 Payload Too Large\r\n");
        socket_->write("Connection: close\r\nContent-Length: 0\r\n\r\n");
        socket_->disconnectFromHost();
        QTimer::singleShot(2000, socket_, &QAbstractSocket::abort);
    }

    QTcpSocket* socket_;
    int& live_;
    QTimer idle_;
};

bool refuseWhenFull(QTcpServer& server, qintptr descriptor, int live) {
    if (live < QtHttpServer::kMaxConnections) return false;
    auto* socket = new QTcpSocket(&server);
    QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return true;
    }
    socket->write(
        "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n"
        "Content-Length: 0\r\n\r\n");
    socket->disconnectFromHost();
    return true;
}

class GuardedTcpServer : public QTcpServer {
  public:
    explicit GuardedTcpServer(int& live) : live_(live) {}

  protected:
    void incomingConnection(qintptr descriptor) override {
        if (refuseWhenFull(*this, descriptor, live_)) return;
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        new SocketGuard(socket, live_);
        addPendingConnection(socket);
    }

  private:
    int& live_;
};

class GuardedSslServer : public QSslServer {
  public:
    explicit GuardedSslServer(int& live) : live_(live) {
        connect(this, &QSslServer::startedEncryptionHandshake, this,
                [this](QSslSocket* socket) { new SocketGuard(socket, live_); });
    }

  protected:
    void incomingConnection(qintptr descriptor) override {
        if (!refuseWhenFull(*this, descriptor, live_)) QSslServer::incomingConnection(descriptor);
    }

  private:
    int& live_;
};

SocketGuard* guardOf(QObject* socket) {
    for (QObject* child : socket->children()) {
        if (auto* guard = dynamic_cast<SocketGuard*>(child)) return guard;
    }
    return nullptr;
}

std::string methodName(QHttpServerRequest::Method method) {
    using M = QHttpServerRequest::Method;
    switch (method) {
        case M::Get:
            return "GET";
        case M::Post:
            return "POST";
        case M::Put:
            return "PUT";
        case M::Delete:
            return "DELETE";
        case M::Head:
            return "HEAD";
        case M::Options:
            return "OPTIONS";
        case M::Patch:
            return "PATCH";
        default:
            return "OTHER";
    }
}

// An IPv4 peer on a dual-stack socket reads as itself, not as "::ffff:127.0.0.1".
std::string peerText(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return (isV4 ? QHostAddress(v4).toString() : address.toString()).toStdString();
}

HttpRequest ourRequest(const QHttpServerRequest& request) {
    HttpRequest ours;
    ours.method = methodName(request.method());
    ours.path = request.url().path().toStdString();
    ours.query = request.url().query().toStdString();
    for (const auto& [name, value] : request.headers())
        ours.headers.emplace_back(name.toLower().toStdString(), value.toStdString());
    ours.body = request.body().toStdString();
    ours.peer = peerText(request.remoteAddress());
    return ours;
}

}  // namespace

QtHttpServer::QtHttpServer() {
    server_.setMissingHandler(
        [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
            answer(request, std::move(responder));
        });
    // The upgrade happens only when a route takes the request and writes nothing.
    server_.route(kLivePath, QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
                      if (request.value("upgrade").toLower() != "websocket") {
                          answer(request, std::move(responder));
                      } else if (SocketGuard* guard = guardOf(responder.socket())) {
                          guard->disarm();
                      }
                  });
    QObject::connect(&server_, &QHttpServer::newWebSocketConnection, &server_,
                     [this] { takeStreams(); });
}

QtHttpServer::~QtHttpServer() = default;

std::string QtHttpServer::listen(const HttpListen& where) {
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(where.address)))
        return "not an address: " + where.address;
    std::unique_ptr<QTcpServer> tcp;
    if (where.certificatePem.empty()) {
        tcp = std::make_unique<GuardedTcpServer>(liveConnections_);
    } else {
        const QSslCertificate certificate(QByteArray::fromStdString(where.certificatePem));
        const QByteArray keyPem = QByteArray::fromStdString(where.keyPem);
        QSslKey key(keyPem, QSsl::Rsa);
        if (key.isNull()) key = QSslKey(keyPem, QSsl::Ec);
        if (certificate.isNull()) return "the certificate cannot be read";
        if (key.isNull()) return "the key cannot be read";
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificate);
        configuration.setPrivateKey(key);
        configuration.setProtocol(QSsl::TlsV1_2OrLater);
        auto ssl = std::make_unique<GuardedSslServer>(liveConnections_);
        ssl->setSslConfiguration(configuration);
        ssl->setHandshakeTimeout(5000);
        tcp = std::move(ssl);
    }
    if (!tcp->listen(address, where.port)) return tcp->errorString().toStdString();
    server_.bind(tcp.release());  // the server owns it from now on
    return {};
}

void QtHttpServer::answer(const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    if (!onRequest) return;
    // The answer may come later (a refused token waits): by then the connection may be gone.
    QPointer<QTcpSocket> socket = responder.socket();
    auto held = std::make_shared<QHttpServerResponder>(std::move(responder));
    onRequest(ourRequest(request), [socket, held](HttpResponse ours) {
        if (!socket || socket->state() != QAbstractSocket::ConnectedState) return;
        QHttpServerResponse response(QByteArray::fromStdString(ours.contentType),
                                     QByteArray::fromStdString(ours.body),
                                     static_cast<QHttpServerResponse::StatusCode>(ours.status));
        for (const auto& [name, value] : ours.headers)
            response.setHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
        response.write(std::move(*held));
    });
}

void QtHttpServer::takeStreams() {
    while (server_.hasPendingWebSocketConnections()) {
        QWebSocket* stream = server_.nextPendingWebSocketConnection().release();
        stream->setParent(&server_);
        // Before any close, which may report the disconnection at once.
        QObject::connect(stream, &QWebSocket::disconnected, stream, [this, stream] {
            std::erase_if(streams_, [stream](const auto& s) { return s == stream || !s; });
            stream->deleteLater();
        });
        // Only the page's own origin may open a stream (no other site's page).
        const QByteArray host = stream->request().rawHeader("Host");
        const QString origin = stream->origin();
        const bool sameOrigin = origin == QStringLiteral("http://") + QString::fromLatin1(host) ||
                                origin == QStringLiteral("https://") + QString::fromLatin1(host);
        if (stream->requestUrl().path() != QLatin1String(kLivePath) || !sameOrigin) {
            stream->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("origin"));
            continue;
        }
        stream->setMaxAllowedIncomingFrameSize(1024);
        stream->setMaxAllowedIncomingMessageSize(1024);
        streams_.emplace_back(stream);
    }
}

void QtHttpServer::broadcast(const std::string& text) {
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (const QPointer<QWebSocket>& stream : std::vector(streams_)) {
        if (!stream) continue;
        // A page that does not read is closed rather than queued for without end.
        if (stream->bytesToWrite() > kMaxStreamBacklog) {
            stream->abort();
            continue;
        }
        stream->sendTextMessage(message);
    }
}

}  // namespace plx::qtp
