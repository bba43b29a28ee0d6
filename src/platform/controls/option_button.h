#pragma once
#include <functional>

#include "platform/controls/control.h"

namespace plx {

// One of a group of option buttons; selecting it runs onClick.
class OptionButton : public Control {
  public:
    OptionButton(Form& form, std::string name, int index, std::string caption = {})
        : Control(&form, nullptr, ControlKind::OptionButton, std::move(name), index),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    bool value() const { return value_; }
    void setValue(bool value) {
        if (value_ != value) {
            value_ = value;
            changed();
        }
        if (value && onClick) onClick();
    }
    std::function<void()> onClick;

  private:
    std::string caption_;
    bool value_ = false;
};

}  // namespace plx
