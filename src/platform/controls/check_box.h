#pragma once
#include <functional>

#include "platform/controls/control.h"

namespace plx {

// Value 0 (clear), 1 (ticked) or 2 (greyed). Every change of the value, by the operator or
// by code, runs onClick.
class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name, std::string caption = {}, int value = 0)
        : Control(&form, nullptr, ControlKind::CheckBox, std::move(name), -1),
          caption_(std::move(caption)),
          value_(value) {}

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ == caption) return;
        caption_ = caption;
        changed();
    }
    int value() const { return value_; }
    // Refuses a value other than 0, 1 or 2 (returns false, nothing changes).
    bool setValue(int value) {
        if (value < 0 || value > 2) return false;
        if (value_ != value) {
            value_ = value;
            changed();
            if (onClick) onClick();
        }
        return true;
    }
    // The operator clicks it.
    void click() {
        if (enabled()) setValue(value_ == 1 ? 0 : 1);
    }
    std::function<void()> onClick;

  private:
    std::string caption_;
    int value_;
};

}  // namespace plx
