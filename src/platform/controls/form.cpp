#include "platform/controls/form.h"

#include "platform/controls/button.h"

namespace plx {

Form::Form(std::string name, std::string caption, int clientWidth, int clientHeight)
    : Control(this, nullptr, ControlKind::Form, std::move(name), -1), caption_(std::move(caption)) {
    setVisible(false);
    setWidth(clientWidth + frameWidth_);
    setHeight(clientHeight + frameHeight_);
}

void Form::setMinimumClientSize(int width, int height) {
    minimumClientWidth_ = width;
    minimumClientHeight_ = height;
    changed();
}

void Form::pressEnter() {
    pressFirst(&Button::isDefault);
}

void Form::pressEscape() {
    pressFirst(&Button::isCancel);
}

void Form::pressFirst(bool (Button::*hasRole)() const) {
    for (Control* control : controls_) {
        if (control->kind() != ControlKind::Button) continue;
        auto* button = static_cast<Button*>(control);
        if ((button->*hasRole)() && button->visible()) return button->click();
    }
}

void Form::setCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    changed();
}

void Form::resize(int width, int height) {
    if (width == this->width() && height == this->height()) return;
    setWidth(width);
    setHeight(height);
    if (onResize) onResize();
}

void Form::show() {
    ++showRequests_;
    if (visible()) {
        changed();
        return;
    }
    if (onShow) onShow();
    setVisible(true);
}

void Form::requestClose() {
    if (onQueryUnload && onQueryUnload()) return;
    hide();
    if (onUnload) onUnload();
    if (onClosed) onClosed();
}

void Form::close() {
    hide();
    if (onClosed) onClosed();
}

void Form::moveFocusTo(Control* control) {
    if (focused_ == control) return;
    Control* previous = focused_;
    focused_ = control;
    changed();  // the view moves the keyboard focus when code moved it
    if (previous != nullptr && previous->onLostFocus) previous->onLostFocus();
}

}  // namespace plx
