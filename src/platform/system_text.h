#pragma once
// Text and paths as the system names them. The gateway's text (fields, lists, the files'
// contents, the log) is 8-bit, one character per byte: Latin-1 on POSIX systems, the
// system's ANSI code page on Windows (cp1252 on a Western one, whose 0x80-0x9F hold €, œ,
// ’...). Paths are not text: on Windows they are UTF-8, so that every name the system gives
// (a folder in Greek on a Western machine) reaches its wide calls whole; elsewhere they are
// the file system's own bytes. Every conversion between text, paths and the system's
// UTF-16 is made here, once each way.

#include <string>
#include <string_view>

namespace plx {

// The gateway's text and UTF-8 (the web console's text); a character the 8-bit set lacks
// becomes "?", as does a byte that is not UTF-8.
std::string utf8FromText(std::string_view text);
std::string textFromUtf8(std::string_view utf8);

#ifdef _WIN32
// 8-bit text and UTF-16, through the ANSI code page; a character it lacks becomes "?".
std::wstring wideText(std::string_view text);
std::string narrowText(std::wstring_view text);
// The same through a given code page (the ANSI one is the system's choice, UTF-8 among them).
std::string narrowTextIn(unsigned codePage, std::wstring_view text);
// Paths and UTF-16, without loss.
std::wstring widePath(std::string_view path);
std::string narrowPath(std::wstring_view path);

// A path as the operator reads it: in a label, a tooltip, a message or the log.
inline std::string pathText(std::string_view path) {
    return narrowText(widePath(path));
}
// Text that names a file (typed by the operator) as a path.
inline std::string textPath(std::string_view text) {
    return narrowPath(wideText(text));
}
#else
inline std::string pathText(std::string_view path) {
    return std::string(path);
}
inline std::string textPath(std::string_view text) {
    return std::string(text);
}
#endif

}  // namespace plx
