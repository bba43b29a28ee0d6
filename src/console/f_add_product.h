#pragma once
// F_ADD_PRODUCT, the modal terminal editor: adds a terminal to the list or changes the one
// on the list's current row.

#include "platform/controls/button.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/option_button.h"
#include "platform/controls/picture.h"
#include "platform/controls/text_box.h"

namespace plx {

class Gateway;

class F_ADD_PRODUCT {
  public:
    explicit F_ADD_PRODUCT(Gateway& gateway);

    Form form;
    Label LBL_NO;
    TextBox INP_NO;
    Label LBL_IP;
    ComboBox INP_IP;
    Label LBL_TYPE;
    ComboBox INP_TYPE;  // hidden and disabled
    Label LBL_DESCRIPTION;
    TextBox INP_DESCRIPTION;
    Button B_OK;
    Button B_CLOSE;
    OptionButton SW_EDIT_SAVE_0;  // "SAVE": edit mode (hidden)
    OptionButton SW_EDIT_SAVE_1;  // "ADD": add mode (hidden)
    Picture PIC_DECORATION;

    OptionButton& SW_EDIT_SAVE(int index) { return index == 1 ? SW_EDIT_SAVE_1 : SW_EDIT_SAVE_0; }

    void SW_EDIT_SAVE_Click(int index);
    void B_OK_Click();
    void B_CLOSE_Click();
    void INP_DESCRIPTION_KeyPress(int& keyAscii);
    void INP_IP_KeyPress(int& keyAscii);
    // A comma that arrives otherwise than typed (pasted, dropped) is taken out again.
    void INP_DESCRIPTION_Change();
    void INP_IP_Change();

  private:
    Gateway& gateway_;
};

}  // namespace plx
