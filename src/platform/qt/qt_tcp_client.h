#pragma once
// The host connection over QTcpSocket, or QSslSocket with TLS, behaving as the socket
// component the host link expects: a connect reports Connect (with TLS, once the handshake
// is done) or Error; a peer close reports Close (not Error); our own close reports nothing.

#include <QObject>
#include <functional>

#include "platform/platform.h"

class QSslSocket;
class QTcpSocket;

namespace plx::qtp {

class QtTcpClient : public QObject, public TcpClientPort {
  public:
    // `markSystemAsked` runs as each of the socket's events is handled: the event loop that
    // runs it has just asked the system for events.
    explicit QtTcpClient(std::function<void()> markSystemAsked)
        : markSystemAsked_(std::move(markSystemAsked)) {}
    ~QtTcpClient() override;
    QtTcpClient(const QtTcpClient&) = delete;
    QtTcpClient& operator=(const QtTcpClient&) = delete;

    State state() const override;
    void connectTo(const std::string& host, std::uint16_t port, const TlsSettings& tls) override;
    void close() override;
    bool send(const std::string& bytes) override;
    std::string readAll() override;
    bool hasPendingData() const override;

  private:
    // A socket for a TLS connection, its trust set up; null (and an Error on its way) when
    // TLS cannot be had.
    QSslSocket* tlsSocket(const TlsSettings& tls, unsigned generation);
    // Runs a socket event unless the socket it came from has been closed since.
    template <class Handler>
    void deliver(unsigned generation, Handler handler);

    std::function<void()> markSystemAsked_;
    // One socket per connection attempt, so no late event of an old one can leak into
    // the next. Released with deleteLater: close() may run inside one of its signals.
    QTcpSocket* socket_ = nullptr;
    bool tls_ = false;  // the socket is a QSslSocket, usable once encrypted
    unsigned generation_ = 0;
    // An error was reported: the disconnect that follows it is not a peer close.
    bool errorReported_ = false;
};

}  // namespace plx::qtp
