#include "scripted_host.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTimer>
#include <utility>

#include "hostlink/telnet_bytes.h"

namespace plx::sim {
namespace {

using namespace plx::telnet;

QByteArray bytes(std::initializer_list<unsigned char> values) {
    QByteArray text;
    for (const unsigned char value : values) text.append(static_cast<char>(value));
    return text;
}

}  // namespace

ScriptedHost::ScriptedHost(QObject* parent)
    : QObject(parent), server_(std::make_unique<QTcpServer>()) {
    // A connection is pending once accepted, with TLS once its handshake is done.
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &ScriptedHost::accept);
}

bool ScriptedHost::serveTls(const QByteArray& certificatePem, const QByteArray& keyPem) {
    const QSslCertificate certificate(certificatePem, QSsl::Pem);
    QSslKey key(keyPem, QSsl::Ec, QSsl::Pem);
    if (key.isNull()) key = QSslKey(keyPem, QSsl::Rsa, QSsl::Pem);
    if (certificate.isNull() || key.isNull()) return false;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);  // the gateway shows no certificate
    auto server = std::make_unique<QSslServer>();
    server->setSslConfiguration(configuration);
    // Already listening: the TLS server takes over the same port.
    const bool listening = server_->isListening();
    server_ = std::move(server);
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &ScriptedHost::accept);
    return !listening || server_->listen(address_, port_);
}

ScriptedHost::~ScriptedHost() {
    if (!client_) return;
    client_->disconnect(this);
    client_->abort();
}

bool ScriptedHost::listen(quint16 port) {
    return listen(QHostAddress(QHostAddress::LocalHost), port);
}

bool ScriptedHost::listen(const QHostAddress& address, quint16 port) {
    if (!server_->listen(address, port)) return false;
    address_ = address;
    port_ = server_->serverPort();
    return true;
}

void ScriptedHost::refuse() {
    server_->close();
}

bool ScriptedHost::connected() const {
    return client_ && client_->state() == QAbstractSocket::ConnectedState;
}

qint64 ScriptedHost::bytesToWrite() const {
    qint64 queued = client_ ? client_->bytesToWrite() : 0;
    for (const QByteArray& piece : pieces_) queued += piece.size();
    return queued;
}

void ScriptedHost::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        // The gateway keeps one connection: a newer one replaces the old.
        if (client_) {
            client_->disconnect(this);
            client_->abort();
            client_->deleteLater();
        }
        client_ = socket;
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        ++connections_;
        received_.clear();
        typing_.clear();
        pieces_.clear();
        closeWhenWritten_ = false;
        reading_ = Reading::Data;
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedHost::readGateway);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == client_) emit connectionClosed();
            socket->deleteLater();
        });
        emit connectionAccepted();
        // The host opens the negotiation: will the client tell its terminal type?
        socket->write(bytes({IAC, DO, TERMINAL_TYPE}));
    }
}

void ScriptedHost::readGateway() {
    if (!client_) return;
    const QByteArray data = client_->readAll();
    received_.append(data);
    if (echoing_) client_->write(data);
    for (const char c : data) take(static_cast<unsigned char>(c));
}

void ScriptedHost::take(unsigned char byte) {
    switch (reading_) {
        case Reading::Data:
            if (byte == IAC) {
                reading_ = Reading::Command;
                return;
            }
            typing_.append(static_cast<char>(byte));
            if (byte == '\r') {
                // The sign-on screen's Enter: the user is in, the application starts.
                signOn_ = std::exchange(typing_, {});
                emit signOnReceived(signOn_);
            }
            return;
        case Reading::Command:
            if (byte >= WILL && byte <= DONT) {
                command_ = byte;
                reading_ = Reading::Option;
            } else if (byte == SB) {
                sub_.clear();
                reading_ = Reading::Sub;
            } else if (byte == IAC) {
                typing_.append(static_cast<char>(IAC));  // an escaped data byte 255
                reading_ = Reading::Data;
            } else {
                reading_ = Reading::Data;  // a two-byte command: nothing to do
            }
            return;
        case Reading::Option:
            // The client agrees to tell its terminal type: ask for it.
            if (command_ == WILL && byte == TERMINAL_TYPE && client_) {
                client_->write(bytes({IAC, SB, TERMINAL_TYPE, SEND, IAC, SE}));
            }
            reading_ = Reading::Data;
            return;
        case Reading::Sub:
            if (byte == IAC) {
                reading_ = Reading::SubCommand;
            } else {
                sub_.append(static_cast<char>(byte));
            }
            return;
        case Reading::SubCommand:
            if (byte == SE) {
                reading_ = Reading::Data;
                if (sub_.size() >= 2 && static_cast<unsigned char>(sub_[0]) == TERMINAL_TYPE &&
                    static_cast<unsigned char>(sub_[1]) == IS) {
                    terminalType_ = sub_.mid(2);
                    emit terminalTypeReceived(terminalType_);
                }
            } else {
                sub_.append(static_cast<char>(byte));  // IAC IAC inside: one 255
                reading_ = Reading::Sub;
            }
            return;
    }
}

void ScriptedHost::write(const QByteArray& data) {
    pieces_.push_back(data);
    if (!pieceScheduled_) writeNextPiece();
}

void ScriptedHost::closeConnection() {
    closeWhenWritten_ = true;
    if (!pieceScheduled_) writeNextPiece();
}

void ScriptedHost::writeNextPiece() {
    pieceScheduled_ = false;
    if (!connected()) {
        pieces_.clear();
        return;
    }
    if (!pieces_.empty()) {
        client_->write(pieces_.front());
        client_->flush();
        pieces_.pop_front();
    }
    if (!pieces_.empty()) {
        pieceScheduled_ = true;
        QTimer::singleShot(kPieceGapMs, this, &ScriptedHost::writeNextPiece);
    } else if (closeWhenWritten_) {
        closeWhenWritten_ = false;
        client_->disconnectFromHost();  // graceful: what was written still arrives
    }
}

}  // namespace plx::sim
