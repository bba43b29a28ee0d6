#pragma once
// One live stream: a WebSocket on the socket the HTTP library hands over after the 101. It
// carries the server's broadcasts; what the page sends is read only to answer a ping or a
// close. Its unsent bytes are its own, so the server can end a stream that falls behind.

#include <QSocketNotifier>
#include <functional>
#include <string>
#include <string_view>

#include "platform/qt/socket_calls.h"
#include "platform/websocket_frames.h"

namespace plx::qtp {

class LiveStream {
  public:
    // `alreadyRead`: what the library read past the request; `onEnd` runs once, when the
    // stream ends for any reason (the owner then lets it go, outside this call).
    LiveStream(MHD_socket socket, MHD_UpgradeResponseHandle* handle, std::string_view alreadyRead,
               std::function<void()> onEnd);
    // Hands the socket back to the library, which closes it.
    ~LiveStream();
    LiveStream(const LiveStream&) = delete;
    LiveStream& operator=(const LiveStream&) = delete;

    void send(std::string_view bytes);
    std::size_t unsent() const { return unsent_.size(); }
    bool ended() const { return ended_; }
    void end();

  private:
    void readable();
    void take(std::string_view bytes);
    void flush();

    MHD_socket socket_;
    MHD_UpgradeResponseHandle* handle_;
    QSocketNotifier reading_;
    QSocketNotifier writing_;
    WebSocketReader reader_;
    std::string unsent_;
    bool ended_ = false;
    std::function<void()> onEnd_;
};

}  // namespace plx::qtp
