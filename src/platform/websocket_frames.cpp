#include "platform/websocket_frames.h"

#include <cstdint>

namespace plx {
namespace {

// The status codes of a close frame.
constexpr std::uint16_t kNormalClosure = 1000;
constexpr std::uint16_t kProtocolError = 1002;
constexpr std::uint16_t kMessageTooBig = 1009;

std::string closeFrame(std::uint16_t code) {
    const char payload[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    return webSocketFrame(WebSocketOpcode::Close, std::string_view(payload, 2));
}

}  // namespace

std::string webSocketFrame(WebSocketOpcode opcode, std::string_view payload) {
    std::string frame(1, static_cast<char>(0x80 | static_cast<unsigned char>(opcode)));  // FIN
    const std::size_t size = payload.size();
    if (size < 126) {
        frame += static_cast<char>(size);
    } else if (size <= 0xFFFF) {
        frame += static_cast<char>(126);
        for (int shift = 8; shift >= 0; shift -= 8) frame += static_cast<char>(size >> shift);
    } else {
        frame += static_cast<char>(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            frame += static_cast<char>(static_cast<std::uint64_t>(size) >> shift);
    }
    return frame.append(payload);
}

WebSocketReader::Reply WebSocketReader::take(std::string_view bytes) {
    Reply reply;
    if (closed_) return reply;
    pending_.append(bytes);
    const auto end = [&](std::uint16_t code) {
        closed_ = true;
        pending_.clear();
        reply.bytes += closeFrame(code);
        reply.close = true;
        return reply;
    };
    for (;;) {
        const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(pending_[i]); };
        if (pending_.size() < 2) return reply;
        const unsigned opcode = byte(0) & 0x0F;
        const bool final = (byte(0) & 0x80) != 0, masked = (byte(1) & 0x80) != 0;
        std::size_t length = byte(1) & 0x7F, at = 2;
        if ((byte(0) & 0x70) != 0 || !masked) return end(kProtocolError);
        if (length >= 126) {
            const std::size_t extra = length == 126 ? 2 : 8;
            if (pending_.size() < at + extra) return reply;
            length = 0;
            for (std::size_t i = 0; i < extra; ++i) {
                if (length > kMaxFrameBytes) break;  // no overflow: it is too big already
                length = length << 8 | byte(at + i);
            }
            at += extra;
        }
        if (length > kMaxFrameBytes) return end(kMessageTooBig);
        const bool control = opcode >= 0x8;
        if (control && (!final || length > 125)) return end(kProtocolError);
        if (opcode > 0xA || (opcode > 0x2 && opcode < 0x8)) return end(kProtocolError);
        if (pending_.size() < at + 4 + length) return reply;
        std::string payload = pending_.substr(at + 4, length);
        for (std::size_t i = 0; i < payload.size(); ++i) payload[i] ^= pending_[at + i % 4];
        pending_.erase(0, at + 4 + length);
        if (opcode == static_cast<unsigned>(WebSocketOpcode::Close)) return end(kNormalClosure);
        if (opcode == static_cast<unsigned>(WebSocketOpcode::Ping))
            reply.bytes += webSocketFrame(WebSocketOpcode::Pong, payload);
        // Text, binary, continuation and pong frames say nothing a stream needs.
    }
}

}  // namespace plx
