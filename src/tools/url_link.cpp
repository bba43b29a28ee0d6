#include "tools/url_link.h"

namespace plx {

URLLink::URLLink(Form& form, std::string name, Platform& platform)
    : LinkLabel(form, std::move(name)), platform_(platform) {
    onMouseDown = [this](int button) { lblURL_MouseDown(button, 0, 0, 0); };
}

void URLLink::setURL(const std::string& url) {
    url_ = url;
    refreshToolTip();
    changed();
}

void URLLink::setShowToolTip(bool show) {
    showToolTip_ = show;
    refreshToolTip();
    changed();
}

void URLLink::refreshToolTip() {
    setToolTip(showToolTip_ ? url_ : std::string());
}

void URLLink::lblURL_MouseDown(int Button, int, float, float) {
    if ((Button & 1) == 0) {
        platform_.setBusyCursor(false);
        return;
    }
    std::string address = url_;
    bool cancel = false;
    if (GoToURL) GoToURL(address, cancel);
    // Nothing to open is not a failure to report.
    if (cancel || address.empty()) return;
    platform_.setBusyCursor(true);
    // The desktop's answer is not examined: an address it cannot open shows no message.
    platform_.openWithDesktop(address);
    platform_.setBusyCursor(false);
}

}  // namespace plx
