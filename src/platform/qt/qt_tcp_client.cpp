#include "platform/qt/qt_tcp_client.h"

#include <QMetaObject>
#include <QTcpSocket>

namespace plx::qtp {
namespace {

// The port text as the operator typed it: decimal digits only, 1..65535.
std::optional<quint16> parsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<quint16>(value);
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
            if (generation == generation_ && socket_ != nullptr) handler();
        },
        Qt::QueuedConnection);
}

TcpClientPort::State QtTcpClient::state() const {
    if (socket_ == nullptr) return State::Closed;
    switch (socket_->state()) {
        case QAbstractSocket::ConnectedState:
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

std::optional<std::string> QtTcpClient::connectTo(const std::string& host,
                                                  const std::string& port) {
    if (host.empty()) return std::string("No remote host given");
    const auto number = parsePort(port);
    if (!number) return "Invalid remote port \"" + port + "\"";

    close();
    socket_ = new QTcpSocket;
    errorReported_ = false;
    const unsigned generation = ++generation_;

    connect(socket_, &QTcpSocket::connected, this, [this, generation] {
        deliver(generation, [this] {
            if (onConnect) onConnect();
        });
    });
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
            [this, generation](QAbstractSocket::SocketError error) {
                // A peer close is reported by the disconnect that follows it.
                if (error == QAbstractSocket::RemoteHostClosedError) return;
                errorReported_ = true;
                const std::string description = socket_->errorString().toStdString();
                deliver(generation, [this, description] {
                    if (onError) onError(description);
                });
            });
    socket_->connectToHost(QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size())),
                           *number);
    return std::nullopt;
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
