#pragma once
// Our parsed IPv4 bytes as Qt's address. Never QHostAddress(text): it reads a part with a
// leading zero ("010") as octal, where the gateway reads decimal everywhere.

#include <QHostAddress>
#include <array>
#include <cstdint>

namespace plx::qtp {

inline QHostAddress toQt(const std::array<std::uint8_t, 4>& bytes) {
    return QHostAddress(quint32{bytes[0]} << 24 | quint32{bytes[1]} << 16 | quint32{bytes[2]} << 8 |
                        quint32{bytes[3]});
}

}  // namespace plx::qtp
