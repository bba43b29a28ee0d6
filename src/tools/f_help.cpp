#include "tools/f_help.h"

#include "gateway/gateway.h"

namespace plx {

F_HELP::F_HELP(Gateway&)
    : form("F_HELP", "Plyxen AS400 Help", 9000, 6000), INP_HELP(form, "INP_HELP", helpText()) {
    INP_HELP.setMultiLine(true);
    INP_HELP.setReadOnly(true);
    form.onResize = [this] { Form_Resize(); };
    Form_Resize();
}

void F_HELP::Form_Resize() {
    INP_HELP.move(0, 0, form.clientWidth(), form.clientHeight());
}

const std::string& F_HELP::helpText() {
    static const std::string text =
        "Server AS-400 commands\r\n"
        "\r\n"
        "Syntax: <9999XXXXC>\r\n"
        "\t9999 = Is the product number (4 digits) **** = all products\r\n"
        "\tXXXX = Is the value to display (4 digits)\r\n"
        "\tC = Is the display color (0 is the default)\r\n"
        "\t* Put your color configuration to: Color_Patern.txt\r\n"
        "\t\tColor_Patern.txt contain:\r\n"
        "\t\tColor#,ColorPatern\r\n"
        "\t\tColor#: 0 to 9 ... A to Z\r\n"
        "\t\tColorPatern: Contain 4 numbers from 0 to 6\r\n"
        "\t\t\t     0=Red, 1=Green\r\n"
        "\t\t\t     2=Red with dot, 3=Green with dot\r\n"
        "\t\t\t     4=Flashing red  5=flashing green\r\n"
        "\t\t\t     6=Flashing red / green\r\n"
        "\r\n"
        "\r\n"
        "Example to display on all products 1234 use this syntax: <****12340>\r\n"
        "Example to display 1234 on product 0001 use this syntax: <000112340>\r\n";
    return text;
}

}  // namespace plx
