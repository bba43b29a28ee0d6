#pragma once
#include "platform/controls/control.h"

namespace plx {

// A picture: an image name the view draws, a tooltip and a tag text.
class Picture : public Control {
  public:
    Picture(Form& form, std::string name, std::string image = {}, int index = -1)
        : Control(&form, nullptr, ControlKind::Picture, std::move(name), index),
          image_(std::move(image)) {}

    const std::string& image() const { return image_; }
    void setImage(const std::string& image) {
        if (image_ == image) return;
        image_ = image;
        changed();
    }
    const std::string& tag() const { return tag_; }
    void setTag(const std::string& tag) { tag_ = tag; }
    // Docked along the bottom of the form over its whole width (a footer).
    bool dockedBottom() const { return dockedBottom_; }
    void setDockedBottom(bool docked) { dockedBottom_ = docked; }

  private:
    std::string image_;
    std::string tag_;
    bool dockedBottom_ = false;
};

}  // namespace plx
