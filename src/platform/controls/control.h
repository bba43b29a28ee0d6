#pragma once
// Toolkit-free controls. A window unit owns them; a view (Qt, or none in unit tests)
// follows them through the observer and drives them through the operator actions.

#include <functional>
#include <string>

namespace plx {

class Form;
class Frame;

enum class ControlKind {
    Form,
    Frame,
    Label,
    Button,
    CheckBox,
    OptionButton,
    TextBox,
    ComboBox,
    ListBox,
    Picture,
    Link
};

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    // Position in a control array (PIC_SW_LOG_DISPLAY(1)), -1 for a single control.
    int index() const { return index_; }
    // The name a view gives its widget: NAME, or NAME_INDEX in a control array.
    std::string objectName() const;
    Form& form() const { return *form_; }
    Frame* container() const { return container_; }

    // Geometry in twips, relative to the container (the form's client area or a frame).
    // A negative width or height is refused: the setter returns false and changes nothing.
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int left);
    void setTop(int top);
    bool setWidth(int width);
    bool setHeight(int height);
    void move(int left, int top, int width, int height);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& toolTip);

    // Focus, as the operator moves it (or as code sets it). The control that loses the
    // focus gets its onLostFocus.
    void setFocus();
    bool hasFocus() const;
    std::function<void()> onLostFocus;

    // The one view that follows this control: called after every change of its state.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  protected:
    Control(Form* form, Frame* container, ControlKind kind, std::string name, int index);
    void changed() const {
        if (observer_) observer_();
    }

  private:
    Form* form_;
    Frame* container_;
    ControlKind kind_;
    std::string name_;
    int index_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string toolTip_;
    std::function<void()> observer_;
};

}  // namespace plx
