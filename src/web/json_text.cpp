#include "web/json_text.h"

#include <cstdio>

#include "platform/system_text.h"

namespace plx {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : utf8FromText(text)) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20 || code == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonFields> object(std::string& error) {
        JsonFields fields;
        if (!take('{')) return fail(error, "an object must start with {");
        if (take('}')) return end(fields, error);
        do {
            const auto name = string();
            if (!name) return fail(error, "a field name must be a string");
            if (!take(':')) return fail(error, "a field name must be followed by :");
            // Given twice, a field would mean what one reader or another takes of it.
            if (fields.count(*name) != 0) return fail(error, "field \"" + *name + "\" given twice");
            skipBlanks();
            if (peek() == '"') {
                const auto text = string();
                if (!text) return fail(error, "a string is not closed or holds a bad escape");
                fields[*name] = *text;
            } else if (take('[')) {
                std::vector<long long> list;
                if (!take(']')) {
                    do {
                        const auto n = number();
                        if (!n) return fail(error, "a list may only hold whole numbers");
                        list.push_back(*n);
                    } while (take(','));
                    if (!take(']')) return fail(error, "a list must end with ]");
                }
                fields[*name] = std::move(list);
            } else if (const auto n = number()) {
                fields[*name] = *n;
            } else {
                return fail(error, "field \"" + *name + "\": unexpected value");
            }
        } while (take(','));
        if (!take('}')) return fail(error, "an object must end with }");
        return end(fields, error);
    }

  private:
    static std::optional<JsonFields> fail(std::string& error, std::string message) {
        error = "Malformed JSON: " + std::move(message);
        return std::nullopt;
    }
    std::optional<JsonFields> end(JsonFields& fields, std::string& error) {
        skipBlanks();
        if (at_ != text_.size()) return fail(error, "text after the object");
        return std::move(fields);
    }
    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool take(char c) {
        skipBlanks();
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    std::optional<long long> number() {
        skipBlanks();
        const std::size_t start = at_;
        if (peek() == '-') ++at_;
        long long value = 0;
        while (peek() >= '0' && peek() <= '9' && at_ - start < 12)
            value = value * 10 + (text_[at_++] - '0');
        if (at_ == start || (text_[start] == '-' && at_ == start + 1)) return std::nullopt;
        if (peek() >= '0' && peek() <= '9') return std::nullopt;  // too long for a terminal
        return text_[start] == '-' ? -value : value;
    }
    // UTF-8, with the \u escapes written out, then the gateway's text.
    std::optional<std::string> string() {
        if (!take('"')) return std::nullopt;
        std::string utf8;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return textFromUtf8(utf8);
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                utf8 += c;
                continue;
            }
            const char e = at_ < text_.size() ? text_[at_++] : '\0';
            static constexpr std::string_view kPlain = "\"\\/bfnrt", kMeant = "\"\\/\b\f\n\r\t";
            if (const auto p = kPlain.find(e); p != std::string_view::npos && e != '\0') {
                utf8 += kMeant[p];
                continue;
            }
            if (e != 'u' || at_ + 4 > text_.size()) return std::nullopt;
            unsigned code = 0;
            for (int i = 0; i < 4; ++i) {
                const char h = text_[at_++];
                const int digit = h >= '0' && h <= '9'   ? h - '0'
                                  : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                  : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                         : -1;
                if (digit < 0) return std::nullopt;
                code = code * 16 + static_cast<unsigned>(digit);
            }
            appendUtf8(utf8, code);
        }
        return std::nullopt;
    }
    static void appendUtf8(std::string& utf8, unsigned code) {
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<JsonFields> parseJsonObject(std::string_view json, std::string& error) {
    return Reader(json).object(error);
}

}  // namespace plx
