#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace plx {

// A window. Its size is the outer size in twips; its controls register themselves.
class Form : public Control {
public:
    Form(std::string name, std::string caption, int width, int height);

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);

    // Resizing runs onResize (the window's layout) when the size changes.
    void resize(int width, int height);

    // Showing a window that is already open brings it to the front.
    void show();
    void hide() { setVisible(false); }
    // Counts the requests to show, so a view can tell a new one from one it has served.
    std::uint64_t showRequests() const { return showRequests_; }

    // The operator's close box: onQueryUnload may cancel (and usually hides instead);
    // otherwise the window is hidden, onUnload runs, then onClosed (its owner releases it).
    void requestClose();
    // Closing from code (a dialog's OK or Cancel): hidden, then onClosed.
    void close();
    std::function<bool()> onQueryUnload;  // returns true to cancel
    std::function<void()> onUnload;
    std::function<void()> onResize;
    std::function<void()> onClosed;

    const std::vector<Control*>& controls() const { return controls_; }
    Control* focused() const { return focused_; }
    void moveFocusTo(Control* control);
    void adopt(Control& control) { controls_.push_back(&control); }

private:
    std::string caption_;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    std::uint64_t showRequests_ = 0;
};

}  // namespace plx
