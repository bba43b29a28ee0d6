#include "platform/qt/qt_tcp_client.h"

#include <QMetaObject>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>

#include "platform/ipv4.h"
#include "platform/qt/control_binding.h"
#include "platform/qt/qt_address.h"

namespace plx::qtp {
namespace {

// What a handshake fails with when nothing but the chain above the host's certificate is
// unknown: acceptable when that certificate is itself one of the trusted ones.
bool onlyTheChainIsUnknown(const QList<QSslError>& errors) {
    for (const QSslError& error : errors) {
        switch (error.error()) {
            case QSslError::UnableToGetIssuerCertificate:
            case QSslError::UnableToGetLocalIssuerCertificate:
            case QSslError::UnableToVerifyFirstCertificate:
            case QSslError::SelfSignedCertificate:
            case QSslError::SelfSignedCertificateInChain:
            case QSslError::CertificateUntrusted:
                continue;
            default:
                return false;
        }
    }
    return true;
}

bool isTlsError(QAbstractSocket::SocketError error) {
    return error == QAbstractSocket::SslHandshakeFailedError ||
           error == QAbstractSocket::SslInternalError ||
           error == QAbstractSocket::SslInvalidUserDataError;
}

// The error in words an administrator can act on. A host that answers the handshake with
// something other than TLS (telnet in clear, most often) makes the TLS library speak of
// record versions and lengths.
std::string describe(const QAbstractSocket& socket, QAbstractSocket::SocketError error,
                     std::uint16_t port) {
    const QString text = socket.errorString();
    if (!isTlsError(error)) return text.toStdString();
    for (const char* notTls :
         {"wrong version number", "packet length too long", "unknown protocol"}) {
        if (text.contains(QLatin1String(notTls), Qt::CaseInsensitive)) {
            return "TLS: the host did not answer in TLS: is port " + std::to_string(port) +
                   " a TLS port?";
        }
    }
    return "TLS: " + text.toStdString();
}

}  // namespace

QtTcpClient::~QtTcpClient() {
    close();
}

template <class Handler>
void QtTcpClient::deliver(unsigned generation, Handler handler) {
    // Queued: the logic never sees an event from inside one of its own calls (a write that
    // fails at once, a refusal found during connectToHost).
    QMetaObject::invokeMethod(
        this,
        [this, generation, handler] {
            if (generation != generation_ || socket_ == nullptr) return;
            markSystemAsked_();
            handler();
        },
        Qt::QueuedConnection);
}

TcpClientPort::State QtTcpClient::state() const {
    if (socket_ == nullptr) return State::Closed;
    switch (socket_->state()) {
        case QAbstractSocket::ConnectedState:
            // With TLS, the handshake is still part of connecting.
            if (tls_ && !static_cast<QSslSocket*>(socket_)->isEncrypted()) return State::Connecting;
            return State::Connected;
        case QAbstractSocket::HostLookupState:
        case QAbstractSocket::ConnectingState:
        case QAbstractSocket::BoundState:
        case QAbstractSocket::ListeningState:
            return State::Connecting;
        case QAbstractSocket::ClosingState:
        case QAbstractSocket::UnconnectedState:
            break;
    }
    // Closed by the peer or broken: not closed until we close it ourselves.
    return State::Closing;
}

void QtTcpClient::connectTo(const std::string& host, std::uint16_t port, const TlsSettings& tls) {
    close();
    errorReported_ = false;
    tls_ = tls.on;
    const unsigned generation = ++generation_;
    QSslSocket* secure = tls.on ? tlsSocket(tls, generation) : nullptr;
    socket_ = tls.on ? secure : new QTcpSocket;
    if (errorReported_) return;

    // The connection is usable once TCP is up, or with TLS once the handshake is done.
    const auto usable = [this, generation] {
        deliver(generation, [this] {
            if (onConnect) onConnect();
        });
    };
    if (secure != nullptr) {
        connect(secure, &QSslSocket::encrypted, this, usable);
    } else {
        connect(socket_, &QTcpSocket::connected, this, usable);
    }
    connect(socket_, &QTcpSocket::readyRead, this, [this, generation] {
        deliver(generation, [this] {
            // An earlier handler may have read everything already.
            if (onDataArrival && hasPendingData()) onDataArrival();
        });
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this, generation] {
        // After a reported error the disconnect is part of that failure, not a peer close.
        if (errorReported_) return;
        deliver(generation, [this] {
            if (onClose) onClose();
        });
    });
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this, generation, port](QAbstractSocket::SocketError error) {
                // A peer close is reported by the disconnect that follows it.
                if (error == QAbstractSocket::RemoteHostClosedError) return;
                errorReported_ = true;
                const std::string description = describe(*socket_, error, port);
                deliver(generation, [this, description] {
                    if (onError) onError(description);
                });
            });
    const auto address = parseDottedIPv4(host);
    const QString target = address ? toQt(*address).toString() : qtp::toQt(host);
    if (secure != nullptr) {
        secure->connectToHostEncrypted(target, port, qtp::toQt(tls.peerName));
    } else {
        socket_->connectToHost(target, port);
    }
}

QSslSocket* QtTcpClient::tlsSocket(const TlsSettings& tls, unsigned generation) {
    auto* secure = new QSslSocket;
    QString problem;
    QList<QSslCertificate> trusted;
    if (!QSslSocket::supportsSsl()) problem = QStringLiteral("not available on this machine");
    for (const std::string& der : tls.trustedCertificates) {
        const QSslCertificate certificate(QByteArray::fromStdString(der), QSsl::Der);
        if (certificate.isNull()) problem = QStringLiteral("a trusted certificate cannot be read");
        trusted.append(certificate);
    }
    if (!problem.isEmpty()) {
        errorReported_ = true;
        const std::string description = "TLS: " + problem.toStdString();
        deliver(generation, [this, description] {
            if (onError) onError(description);
        });
        return secure;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    // Given certificates replace the system's trust store: only they are trusted.
    if (!trusted.isEmpty()) configuration.setCaCertificates(trusted);
    secure->setSslConfiguration(configuration);
    connect(secure, &QSslSocket::sslErrors, this,
            [secure, trusted](const QList<QSslError>& errors) {
                // The host's own certificate pinned (not that of its authority): it is trusted
                // as itself, its name and dates still checked.
                if (trusted.contains(secure->peerCertificate()) && onlyTheChainIsUnknown(errors)) {
                    secure->ignoreSslErrors(errors);
                }
            });
    return secure;
}

void QtTcpClient::close() {
    if (socket_ == nullptr) return;
    ++generation_;  // events already queued for this socket are dropped
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

bool QtTcpClient::send(const std::string& bytes) {
    if (state() != State::Connected) return false;
    const auto size = static_cast<qint64>(bytes.size());
    return socket_->write(bytes.data(), size) == size;
}

std::string QtTcpClient::readAll() {
    if (socket_ == nullptr) return {};
    const QByteArray data = socket_->readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool QtTcpClient::hasPendingData() const {
    return socket_ != nullptr && socket_->bytesAvailable() > 0;
}

}  // namespace plx::qtp
