#include "shared/global.h"

namespace plx {

std::string EXTRACT_FIELD(const std::string& THE_TEXT, const std::string& THE_SEPARATOR,
                          int THE_FIELD, const std::string& THE_NEW_VALUE) {
    // Positions are 0-based here; a missing field moves to the end and remembers one
    // separator per field that the text lacks, so a replacement can add them.
    std::size_t pos = 0;
    std::string pad;
    for (int k = 2; k <= THE_FIELD; ++k) {
        const std::size_t found = THE_TEXT.find(THE_SEPARATOR, pos);
        if (found != std::string::npos) {
            pos = found + THE_SEPARATOR.size();
        } else {
            pos = THE_TEXT.size();
            pad += THE_SEPARATOR;
        }
    }
    std::size_t end = THE_TEXT.find(THE_SEPARATOR, pos);
    if (end == std::string::npos) end = THE_TEXT.size();

    if (THE_NEW_VALUE == kReadField)
        return pos >= end ? std::string() : THE_TEXT.substr(pos, end - pos);
    std::string replaced = THE_TEXT.substr(0, pos);
    replaced += pad;
    replaced += THE_NEW_VALUE;
    replaced.append(THE_TEXT, end);
    return replaced;
}

std::string ESCAPE_CTRL_CHARS(const std::string& THE_TEXT) {
    std::string escaped;
    escaped.reserve(THE_TEXT.size());
    for (const char c : THE_TEXT) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code >= 127) {
            escaped += '%';
            escaped += std::to_string(code);
            escaped += '%';
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string unescapeControlChars(std::string_view text) {
    constexpr std::size_t kMaxDigits = 3;
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t close = text[at] == '%' ? text.find('%', at + 1) : std::string::npos;
        const std::string_view digits =
            close == std::string::npos ? std::string_view() : text.substr(at + 1, close - at - 1);
        int code = 0;
        for (const char c : digits) code = c >= '0' && c <= '9' ? code * 10 + (c - '0') : 1000;
        if (digits.empty() || digits.size() > kMaxDigits || (code >= 32 && code < 127) ||
            code > 255) {
            bytes += text[at];
            continue;
        }
        bytes += static_cast<char>(code);
        at = close;
    }
    return bytes;
}

}  // namespace plx
