#pragma once
// The host connection over QTcpSocket, behaving as the socket component the host link
// expects: a connect reports Connect or Error; a peer close reports Close (not Error); our
// own close reports nothing.

#include <QObject>

#include "platform/platform.h"

class QTcpSocket;

namespace plx::qtp {

class QtTcpClient : public QObject, public TcpClientPort {
  public:
    QtTcpClient() = default;
    ~QtTcpClient() override;
    QtTcpClient(const QtTcpClient&) = delete;
    QtTcpClient& operator=(const QtTcpClient&) = delete;

    State state() const override;
    void connectTo(const std::string& host, std::uint16_t port) override;
    void close() override;
    bool send(const std::string& bytes) override;
    std::string readAll() override;
    bool hasPendingData() const override;

  private:
    // Runs a socket event unless the socket it came from has been closed since.
    template <class Handler>
    void deliver(unsigned generation, Handler handler);

    // One socket per connection attempt, so no late event of an old one can leak into
    // the next. Released with deleteLater: close() may run inside one of its signals.
    QTcpSocket* socket_ = nullptr;
    unsigned generation_ = 0;
    // An error was reported: the disconnect that follows it is not a peer close.
    bool errorReported_ = false;
};

}  // namespace plx::qtp
