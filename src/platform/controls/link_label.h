#pragma once
#include <functional>

#include "platform/controls/control.h"

namespace plx {

// Underlined text that reacts to mouse presses (button bits: 1 left, 2 right, 4 middle).
class LinkLabel : public Control {
  public:
    LinkLabel(Form& form, std::string name)
        : Control(&form, nullptr, ControlKind::Link, std::move(name), -1) {}

    const std::string& text() const { return text_; }
    void setText(const std::string& text) {
        if (text_ == text) return;
        text_ = text;
        changed();
    }
    // The operator presses a mouse button over the text.
    void mouseDown(int button) {
        if (onMouseDown) onMouseDown(button);
    }
    std::function<void(int button)> onMouseDown;

  private:
    std::string text_;
};

}  // namespace plx
