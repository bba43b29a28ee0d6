// Text through the ANSI code page, paths and the web's text through UTF-8: the system's own
// converters.
#include "platform/system_text.h"

#include <windows.h>

namespace plx {
namespace {

std::wstring toWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string fromWide(UINT codePage, DWORD flags, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    std::string bytes(
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr),
        '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring wideText(std::string_view text) {
    return toWide(CP_ACP, text);
}

std::string narrowText(std::wstring_view text) {
    return narrowTextIn(GetACP(), text);
}

// No best fit: a character the code page lacks is "?", never a look-alike ("Ł" as "L"). UTF-8
// (the system-wide "UTF-8 for worldwide language support") lacks none and refuses the flag:
// with it every conversion would fail, and every text read from a window would be empty.
std::string narrowTextIn(unsigned codePage, std::wstring_view text) {
    return fromWide(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, text);
}

std::string utf8FromText(std::string_view text) {
    return fromWide(CP_UTF8, 0, wideText(text));
}

std::string textFromUtf8(std::string_view utf8) {
    return narrowText(toWide(CP_UTF8, utf8));
}

std::wstring widePath(std::string_view path) {
    return toWide(CP_UTF8, path);
}

std::string narrowPath(std::wstring_view path) {
    return fromWide(CP_UTF8, 0, path);
}

}  // namespace plx
