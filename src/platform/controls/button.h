#pragma once
#include <functional>

#include "platform/controls/control.h"

namespace plx {

// A push button; a picture button carries an image name and usually only a tooltip.
class Button : public Control {
  public:
    Button(Form& form, std::string name, std::string caption = {}, Frame* container = nullptr)
        : Control(&form, container, ControlKind::Button, std::move(name), -1),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ == caption) return;
        caption_ = caption;
        changed();
    }
    const std::string& image() const { return image_; }
    void setImage(const std::string& image) {
        image_ = image;
        changed();
    }

    // The default button answers Enter, the cancel button Esc, anywhere in its window.
    bool isDefault() const { return default_; }
    void setDefault(bool isDefault) {
        default_ = isDefault;
        changed();
    }
    bool isCancel() const { return cancel_; }
    void setCancel(bool isCancel) { cancel_ = isCancel; }

    // The operator presses it.
    void click() {
        if (enabled() && onClick) onClick();
    }
    std::function<void()> onClick;

  private:
    std::string caption_;
    std::string image_;
    bool default_ = false;
    bool cancel_ = false;
};

}  // namespace plx
