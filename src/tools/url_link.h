#pragma once
// URLLink, a hyperlink control: underlined text that opens an address with the desktop's
// "open" action when clicked. Its text is the label's (text(), setText()): the view draws it
// at the control's top-left corner, sized to it.

#include <string>

#include "platform/controls/link_label.h"
#include "platform/platform.h"

namespace plx {

class URLLink : public LinkLabel {
  public:
    URLLink(Form& form, std::string name, Platform& platform);

    const std::string& URL() const { return url_; }
    void setURL(const std::string& url);

    // A mouse press on the text (button bits: 1 left, 2 right, 4 middle); public so that a
    // window can follow the link from code. Only the button is used.
    void lblURL_MouseDown(int Button, int Shift, float X, float Y);

  private:
    Platform& platform_;
    std::string url_;
};

}  // namespace plx
