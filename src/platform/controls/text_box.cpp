#include "platform/controls/text_box.h"

namespace plx {

void TextBox::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
    if (onChange) onChange();
}

void TextBox::edit(const std::string& text) {
    if (multiLine_) {
        setText(text);
        return;
    }
    std::string oneLine;
    oneLine.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lineBreak = text[i] == '\r' || text[i] == '\n';
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r') continue;  // CR LF is one break
        oneLine += lineBreak ? ' ' : text[i];
    }
    setText(oneLine);
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
