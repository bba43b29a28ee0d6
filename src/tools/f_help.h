#pragma once
// F_HELP, the help window: the host command syntax and the colour pattern file.

#include <string>

#include "platform/controls/form.h"
#include "platform/controls/text_box.h"

namespace plx {

class Gateway;

class F_HELP {
  public:
    explicit F_HELP(Gateway& gateway);

    Form form;
    TextBox INP_HELP;  // read-only: the text is never saved, so edits would only be lost

    // Keeps the text filling the window.
    void Form_Resize();

    // The help text, lines ending CR LF.
    static const std::string& helpText();
};

}  // namespace plx
