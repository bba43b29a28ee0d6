#pragma once
// The WebSocket framing (RFC 6455) of a live stream, which only tells: the server's frames
// out, and the client's frames in, which must be masked and small; a ping is answered, a
// close is answered and ends the stream, anything the protocol forbids ends it too.

#include <cstddef>
#include <string>
#include <string_view>

namespace plx {

enum class WebSocketOpcode : unsigned char { Text = 0x1, Close = 0x8, Ping = 0x9, Pong = 0xA };

// One unmasked, unfragmented frame, as a server sends it.
std::string webSocketFrame(WebSocketOpcode opcode, std::string_view payload);

class WebSocketReader {
  public:
    static constexpr std::size_t kMaxFrameBytes = 1024;  // the page sends nothing but control
    struct Reply {
        std::string bytes;   // to send back
        bool close = false;  // and then end the stream
    };
    // Takes what the client sent, however cut; the answer to every frame it completes.
    Reply take(std::string_view bytes);

  private:
    std::string pending_;
    bool closed_ = false;
};

}  // namespace plx
