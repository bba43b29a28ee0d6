#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace plx {

class Button;

// A window; its controls register themselves. Its width and height are the outer size in
// twips, frame and title bar included, as the layout handlers reckon; the client area, where
// the controls sit, is smaller by the frame: the window system's own once it reports one,
// until then the classic frame.
class Form : public Control {
  public:
    static constexpr int kClassicFrameWidth = 120;   // a 60-twip border left and right
    static constexpr int kClassicFrameHeight = 405;  // a 345-twip title bar, 60 below

    // Made with the design's client size.
    Form(std::string name, std::string caption, int clientWidth, int clientHeight);

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);

    // Resizing (the outer size) runs onResize (the window's layout) when the size changes.
    void resize(int width, int height);
    int clientWidth() const { return width() - frameWidth_; }
    int clientHeight() const { return height() - frameHeight_; }
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    // The window system's frame: outer minus client size.
    void setFrame(int width, int height) {
        frameWidth_ = width;
        frameHeight_ = height;
    }
    // The smallest client area the operator may give the window (0: no limit), so that no
    // control drops out of reach.
    int minimumClientWidth() const { return minimumClientWidth_; }
    int minimumClientHeight() const { return minimumClientHeight_; }
    void setMinimumClientSize(int width, int height);

    // Enter and Esc, wherever the focus is: they press the default and the cancel button.
    void pressEnter();
    void pressEscape();

    // Showing a window that is already open brings it to the front. A hidden one runs onShow
    // first, before any view shows it.
    void show();
    std::function<void()> onShow;
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
    // Clicks the first visible button that has the role (default or cancel).
    void pressFirst(bool (Button::*hasRole)() const);

    std::string caption_;
    int frameWidth_ = kClassicFrameWidth;
    int frameHeight_ = kClassicFrameHeight;
    int minimumClientWidth_ = 0;
    int minimumClientHeight_ = 0;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    std::uint64_t showRequests_ = 0;
};

}  // namespace plx
