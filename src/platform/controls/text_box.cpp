#include "platform/controls/text_box.h"

namespace plx {

void TextBox::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
    if (onChange) onChange();
}

void TextBox::appendAtEnd(const std::string& text) {
    if (text.empty()) return;
    text_ += text;
    changed();
    if (onChange) onChange();
}

void TextBox::type(const std::string& characters) {
    for (const char c : characters) {
        int keyAscii = static_cast<unsigned char>(c);
        if (onKeyPress) onKeyPress(keyAscii);
        if (keyAscii == 0) continue;
        appendAtEnd(std::string(1, static_cast<char>(keyAscii)));
    }
}

}  // namespace plx
