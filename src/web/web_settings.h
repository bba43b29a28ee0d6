#pragma once
// The web console's own files and WebConsole.cfg, the file whose presence turns it on:
// "listen ADDRESS:PORT" (127.0.0.1:8400 when the file says nothing), "read-token" for a
// second token that opens reading and no command; "#" starts a comment.

#include <cstdint>
#include <string>
#include <string_view>

namespace plx {

inline const std::string kWebConsoleFile = "WebConsole.cfg";
inline const std::string kWebTokenFile = "WebConsole.token";  // owner-only, made at first start
inline const std::string kWebReadTokenFile = "WebConsole.read-token";  // the same, when asked for
inline const std::string kWebCertificateFile = "WebConsole.pem";
inline const std::string kWebKeyFile = "WebConsole.key";
inline constexpr std::uint16_t kWebDefaultPort = 8400;

struct WebConsoleSettings {
    std::string address = "127.0.0.1";
    std::uint16_t port = kWebDefaultPort;
    bool readToken = false;
    // Why the file cannot be used (then nothing listens); empty when it can.
    std::string problem;
};

WebConsoleSettings readWebConsoleSettings(std::string_view content);

// Compares two secrets in a time that depends only on their lengths.
bool sameSecret(std::string_view given, std::string_view expected);

}  // namespace plx
