#pragma once
#include "platform/controls/control.h"

namespace plx {

class Label : public Control {
  public:
    Label(Form& form, std::string name, std::string caption = {}, Frame* container = nullptr,
          int index = -1)
        : Control(&form, container, ControlKind::Label, std::move(name), index),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ == caption) return;
        caption_ = caption;
        changed();
    }
    bool rightAligned() const { return rightAligned_; }
    void setRightAligned(bool right) { rightAligned_ = right; }

  private:
    std::string caption_;
    bool rightAligned_ = false;
};

}  // namespace plx
