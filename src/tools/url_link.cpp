#include "tools/url_link.h"

namespace plx {

URLLink::URLLink(Form& form, std::string name, Platform& platform)
    : LinkLabel(form, std::move(name)), platform_(platform) {
    onMouseDown = [this](int button) { lblURL_MouseDown(button, 0, 0, 0); };
}

void URLLink::setURL(const std::string& url) {
    url_ = url;
}

void URLLink::lblURL_MouseDown(int Button, int, float, float) {
    if ((Button & 1) == 0) {
        platform_.setBusyCursor(false);
        return;
    }
    // Nothing to open is not a failure to report.
    if (url_.empty()) return;
    platform_.setBusyCursor(true);
    // The desktop's answer is not examined: an address it cannot open shows no message.
    platform_.openWithDesktop(url_);
    platform_.setBusyCursor(false);
}

}  // namespace plx
