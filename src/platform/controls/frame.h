#pragma once
#include "platform/controls/control.h"

namespace plx {

// A group box; the controls placed in it are positioned relative to it.
class Frame : public Control {
  public:
    Frame(Form& form, std::string name, std::string caption = {})
        : Control(&form, nullptr, ControlKind::Frame, std::move(name), -1),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    bool bordered() const { return bordered_; }
    void setBordered(bool bordered) {
        if (bordered_ == bordered) return;
        bordered_ = bordered;
        changed();
    }

  private:
    std::string caption_;
    bool bordered_ = true;
};

}  // namespace plx
