#pragma once
// One control and the widget that shows it, bound both ways: the control's changes are
// copied to the widget (sync), the operator's actions on the widget are played on the
// control (click, type, select...). One binding class per kind of control.

#include <QObject>
#include <QString>
#include <memory>
#include <string>

class QWidget;

namespace plx {
class Control;
}

namespace plx::qtp {

// What every binding of one view shares.
struct ViewState {
    // A widget update made by sync must not come back to the control as an operator action.
    bool syncing = false;
    // Cleared when the view stops following its form: its controls may be gone.
    bool attached = true;
};

// Control texts are the gateway's 8-bit text (platform/system_text.h): Latin-1 here, the
// system's code page on Windows.
QString toQt(const std::string& text);
std::string fromQt(const QString& text);

// Twips to pixels: 15 twips per pixel at the 96 dpi the design measures assume.
constexpr int kTwipsPerPixel = 15;
int toPixels(int twips);

class ControlBinding : public QObject {
  public:
    ControlBinding(Control& control, ViewState& view);
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;

    Control& control() const { return control_; }
    virtual QWidget* widget() const = 0;
    // Lists and multi-line texts can change thousands of times a second: their widgets
    // catch up on the view's refresh timer instead of at each change.
    virtual bool deferred() const { return false; }
    // Copies the control's whole state to the widget.
    void sync();
    // Copies only where the widget is, whether it is shown and enabled: cheap enough to run
    // at every change, even of a deferred control.
    void syncPlacement();

    bool dirty = false;

  protected:
    virtual void syncContent() = 0;
    // Where the widget goes, in pixels of its parent.
    virtual QRect geometry() const;
    // True when a widget signal is the operator's doing and may reach the control.
    bool operatorAction() const { return view_.attached && !view_.syncing; }
    // Focus taken by the widget moves the form's focus (running the LostFocus of the
    // control that had it).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Installs the focus (and subclass) event filter on the widget that takes focus.
    void watch(QWidget* focusWidget);

    Control& control_;
    ViewState& view_;
};

// The binding for any control; its widget is created as a child of `parent`.
std::unique_ptr<ControlBinding> makeBinding(Control& control, QWidget* parent, ViewState& view);

}  // namespace plx::qtp
