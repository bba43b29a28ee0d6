#pragma once
// Shared text helpers.

#include <string>
#include <string_view>

namespace plx {

// The marker that asks EXTRACT_FIELD to read a field rather than replace it.
inline const std::string kReadField = "---VIDE---**";

// Field THE_FIELD (from 1) of a separated text; with a new value other than the read
// marker, the text with that field replaced (empty fields added first when missing).
std::string EXTRACT_FIELD(const std::string& THE_TEXT, const std::string& THE_SEPARATOR,
                          int THE_FIELD, const std::string& THE_NEW_VALUE = kReadField);

// Every byte 0..31 and 127..255 written as "%" + its code in decimal + "%".
std::string ESCAPE_CTRL_CHARS(const std::string& THE_TEXT);
// The bytes back from that text: "%", a code of those ranges, "%" is the byte; anything else,
// "%65%" or "100%" among them, stands for itself (so host text that reads like an escaped
// control byte comes back as that byte).
std::string unescapeControlChars(std::string_view text);

}  // namespace plx
