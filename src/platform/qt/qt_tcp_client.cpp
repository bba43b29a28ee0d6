#include "platform/qt/qt_tcp_client.h"

#include <QMetaObject>
#include <QTcpSocket>

#include "platform/ipv4.h"
#include "platform/qt/qt_address.h"

namespace plx::qtp {

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

void QtTcpClient::connectTo(const std::string& host, std::uint16_t port) {
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
    if (const auto address = parseDottedIPv4(host)) {
        socket_->connectToHost(toQt(*address), port);
    } else {
        socket_->connectToHost(
            QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size())), port);
    }
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
