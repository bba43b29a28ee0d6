#pragma once
// F_STATUS, the status window: a snapshot of the value last sent to each terminal.

#include <cstdint>
#include <string>

#include "platform/controls/button.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"

namespace plx {

class Gateway;

// One status line: the terminal number, at least four digits zero-filled, "," and the value
// last sent to it (empty when nothing was).
std::string statusLine(std::int32_t number, const std::string& value);

class F_STATUS {
  public:
    explicit F_STATUS(Gateway& gateway);

    Form form;
    ListBox LST_STATUS;
    Button B_REFRESH;

    void Form_Load();
    void Form_Resize();
    void B_REFRESH_Click();
    void LST_STATUS_DblClick();

  private:
    // One line per row of the terminal list, read by row from the display value memory.
    void rebuild();

    Gateway& gateway_;
};

}  // namespace plx
