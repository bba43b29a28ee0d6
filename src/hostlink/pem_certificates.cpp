#include "hostlink/pem_certificates.h"

#include <optional>
#include <string_view>

#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace plx {
namespace {

constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
constexpr std::string_view kAnyBegin = "-----BEGIN ";

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Base64 with its padding; blanks are allowed between the characters.
std::optional<std::string> decodeBase64(const std::string& text) {
    std::string bytes;
    unsigned bits = 0;
    int count = 0;
    int padding = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = base64Value(c);
        if (value < 0 || padding > 0) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        if (++count % 4 == 0) {
            bytes += static_cast<char>(bits >> 16);
            bytes += static_cast<char>(bits >> 8);
            bytes += static_cast<char>(bits);
            bits = 0;
        }
    }
    const int rest = count % 4;
    if (rest == 1 || padding > 2 || (padding > 0 && rest + padding != 4)) return std::nullopt;
    if (rest == 2) bytes += static_cast<char>(bits >> 4);
    if (rest == 3) {
        bytes += static_cast<char>(bits >> 10);
        bytes += static_cast<char>(bits >> 2);
    }
    return bytes;
}

// Whether `der` is exactly one DER SEQUENCE, its length in definite form, as a certificate is.
bool isOneDerSequence(const std::string& der) {
    if (der.size() < 2 || static_cast<unsigned char>(der[0]) != 0x30) return false;
    const auto first = static_cast<unsigned char>(der[1]);
    std::size_t length = first;
    std::size_t header = 2;
    if (first & 0x80) {
        const std::size_t lengthBytes = first & 0x7f;
        if (lengthBytes == 0 || lengthBytes > 4 || der.size() < 2 + lengthBytes) return false;
        length = 0;
        for (std::size_t i = 0; i < lengthBytes; ++i) {
            length = (length << 8) | static_cast<unsigned char>(der[2 + i]);
        }
        header += lengthBytes;
    }
    return der.size() == header + length;
}

}  // namespace

PemCertificates readPemCertificates(const std::string& text) {
    PemCertificates result;
    bool inBlock = false;
    std::string content;
    int blockLine = 0;
    int lineNumber = 0;
    for (const std::string& rawLine : splitLines(text)) {
        ++lineNumber;
        const std::string line = trimSpaces(rawLine);
        if (!inBlock) {
            if (line == kBegin) {
                inBlock = true;
                blockLine = lineNumber;
                content.clear();
            }
            continue;
        }
        if (line == kEnd) {
            inBlock = false;
            const auto der = decodeBase64(content);
            if (!der || !isOneDerSequence(*der)) {
                result.problem =
                    "the certificate of line " + std::to_string(blockLine) + " is damaged";
                break;
            }
            result.der.push_back(*der);
        } else if (line.compare(0, kAnyBegin.size(), kAnyBegin) == 0) {
            break;  // a new block before this one's end
        } else {
            content += line;
        }
    }
    if (result.problem.empty() && inBlock) {
        result.problem = "the certificate of line " + std::to_string(blockLine) + " has no end";
    } else if (result.problem.empty() && result.der.empty()) {
        result.problem = "no certificate in it";
    }
    if (!result.problem.empty()) result.der.clear();
    return result;
}

}  // namespace plx
