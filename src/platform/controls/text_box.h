#pragma once
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace plx {

// A text field (single- or multi-line); also an editable combo box used as a text field.
class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, std::string text = {}, int index = -1,
            Frame* container = nullptr)
        : TextBox(form, ControlKind::TextBox, std::move(name), std::move(text), index, container) {}

    const std::string& text() const { return text_; }
    // Sets the whole text; onChange runs when it differs.
    void setText(const std::string& text);
    // Inserts at the end, moving the caret there (the view follows the newest text).
    void appendAtEnd(const std::string& text);

    // The operator types: each character goes through onKeyPress, which may discard it
    // by setting the code to 0; the rest is inserted at the end, one onChange per character.
    void type(const std::string& characters);
    // The operator pastes: no onKeyPress, one onChange.
    void paste(const std::string& characters) { edit(text_ + characters); }
    // The operator's edit of the whole text. A single-line field holds no line break: each
    // one (CR LF, CR or LF) becomes a blank, so that a pasted password or description never
    // cuts a line of the settings or terminal file in two.
    void edit(const std::string& text);

    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool multiLine) { multiLine_ = multiLine; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void()> onDblClick;

  protected:
    TextBox(Form& form, ControlKind kind, std::string name, std::string text, int index,
            Frame* container)
        : Control(&form, container, kind, std::move(name), index), text_(std::move(text)) {}

  private:
    std::string text_;
    bool multiLine_ = false;
    bool readOnly_ = false;
};

// An editable combo box with no list items, used as a text field.
class ComboBox : public TextBox {
  public:
    ComboBox(Form& form, std::string name, std::string text = {})
        : TextBox(form, ControlKind::ComboBox, std::move(name), std::move(text), -1, nullptr) {}
};

}  // namespace plx
