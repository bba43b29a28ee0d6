#pragma once
// The binding of each kind of control (see control_binding.h).

#include <memory>

#include "platform/qt/control_binding.h"

namespace plx {
class Button;
class CheckBox;
class Frame;
class Label;
class LinkLabel;
class ListBox;
class OptionButton;
class Picture;
class TextBox;
}  // namespace plx

namespace plx::qtp {

std::unique_ptr<ControlBinding> bindLabel(Label& label, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindButton(Button& button, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindCheckBox(CheckBox& box, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindOptionButton(OptionButton& option, QWidget* parent,
                                                 ViewState& view);
std::unique_ptr<ControlBinding> bindPicture(Picture& picture, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindLink(LinkLabel& link, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindFrame(Frame& frame, QWidget* parent, ViewState& view);
// A single-line text box (QLineEdit), a combo box (editable QComboBox) or a multi-line
// text box (QPlainTextEdit).
std::unique_ptr<ControlBinding> bindTextBox(TextBox& box, QWidget* parent, ViewState& view);
std::unique_ptr<ControlBinding> bindListBox(ListBox& list, QWidget* parent, ViewState& view);

}  // namespace plx::qtp
