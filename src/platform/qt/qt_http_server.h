#pragma once
// The web console's server on Qt's HTTP server, on the one event loop: every request to the
// port's onRequest, WebSocket streams on the live path. Qt 6.4's server has no limits of its
// own: the request size, idle connections, their number and a stream's backlog are bounded
// here.

#include <QHttpServer>
#include <QPointer>
#include <QWebSocket>
#include <vector>

#include "platform/platform.h"

namespace plx::qtp {

class QtHttpServer : public HttpServerPort {
  public:
    static constexpr qint64 kMaxRequestBytes = 64 * 1024;    // a request's head and body
    static constexpr int kIdleMs = 30'000;                   // an idle connection is closed
    static constexpr int kMaxConnections = 64;               // streams included
    static constexpr qint64 kMaxStreamBacklog = 256 * 1024;  // unread bytes before a close

    QtHttpServer();
    ~QtHttpServer() override;

    std::string listen(const HttpListen& where) override;
    void broadcast(const std::string& text) override;
    int streamCount() const override { return static_cast<int>(streams_.size()); }

  private:
    void answer(const QHttpServerRequest& request, QHttpServerResponder&& responder);
    void takeStreams();

    // Open connections, streams included; declared first, so the guards of the server's
    // sockets still find it when they go with the server.
    int liveConnections_ = 0;
    QHttpServer server_;
    std::vector<QPointer<QWebSocket>> streams_;
};

}  // namespace plx::qtp
