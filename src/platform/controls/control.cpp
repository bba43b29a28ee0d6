#include "platform/controls/control.h"

#include "platform/controls/form.h"

namespace plx {

Control::Control(Form* form, Frame* container, ControlKind kind, std::string name, int index)
    : form_(form), container_(container), kind_(kind), name_(std::move(name)), index_(index) {
    if (form_ != nullptr && form_ != this) form_->adopt(*this);
}

std::string Control::objectName() const {
    return index_ < 0 ? name_ : name_ + "_" + std::to_string(index_);
}

void Control::setLeft(int left) {
    if (left_ == left) return;
    left_ = left;
    changed();
}

void Control::setTop(int top) {
    if (top_ == top) return;
    top_ = top;
    changed();
}

bool Control::setWidth(int width) {
    if (width < 0) return false;
    if (width_ != width) {
        width_ = width;
        changed();
    }
    return true;
}

bool Control::setHeight(int height) {
    if (height < 0) return false;
    if (height_ != height) {
        height_ = height;
        changed();
    }
    return true;
}

void Control::move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    if (width >= 0) width_ = width;
    if (height >= 0) height_ = height;
    changed();
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void Control::setToolTip(const std::string& toolTip) {
    if (toolTip_ == toolTip) return;
    toolTip_ = toolTip;
    changed();
}

void Control::setFocus() {
    form_->moveFocusTo(this);
}

bool Control::hasFocus() const {
    return form_->focused() == this;
}

}  // namespace plx
