#pragma once
// F_STATUS, the status window: a snapshot of the value last sent to each terminal.

#include "platform/controls/button.h"
#include "platform/controls/form.h"
#include "platform/controls/list_box.h"

namespace plx {

class Gateway;

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
    Gateway& gateway_;
};

}  // namespace plx
