// The gateway's text is Latin-1 here: each byte is the character of the same number.
#include "platform/system_text.h"

namespace plx {

std::string utf8FromText(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

std::string textFromUtf8(std::string_view utf8) {
    std::string text;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at++]);
        if (lead < 0x80) {
            text += static_cast<char>(lead);
            continue;
        }
        // The lead byte says how many continuation bytes follow; a stray one is no character.
        const int more = lead >= 0xF8 || lead < 0xC0 ? -1 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        unsigned code = more < 0 ? 0x100 : lead & (0x3Fu >> more);
        for (int i = 0; i < more; ++i) {
            if (at >= utf8.size() || (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80) {
                code = 0x100;
                break;
            }
            code = code << 6 | (static_cast<unsigned char>(utf8[at++]) & 0x3F);
        }
        // A character written longer than it needs (C0 80 for NUL) is not UTF-8 either.
        static constexpr unsigned kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (more > 0 && code < kLeast[more]) code = 0x100;
        text += code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return text;
}

}  // namespace plx
