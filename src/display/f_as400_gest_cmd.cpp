// The command dispatcher: one host command to the terminal it names, or to every terminal.
#include <string>

#include "console/f_main.h"
#include "display/display_command.h"
#include "display/host_number.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"

namespace plx {

void F_AS400::GEST_CMD(const std::string& THE_CMD) {
    if (THE_CMD.empty()) return;  // names neither a terminal nor a value
    const std::string numberText(numberField(THE_CMD));
    const std::string command = displayCommand(THE_CMD);

    SharedState& state = gateway_.state();
    // A number outside the table (sign, exponent, radix prefix) is as unknown as a number
    // that no terminal has: nothing is sent, and the host programmer sees why.
    const std::optional<int> number = hostTerminalNumber(numberText);
    if (!number || state.TAB_ROW_OF_NO[*number] == kNoRow) {
        gateway_.events().ADD_EVENTS(
            -1, "Warning",
            "<" + command + "> " + "The product number " + numberText + " does not exist !", true);
        return;
    }
    if (numberText.find('*') == std::string::npos) {
        SEND_CMD_UDP(state.TAB_ROW_OF_NO[*number], command);
        return;
    }
    // The count is read anew for each row: the list may change while a send lets events run.
    const ListBox& terminals = gateway_.main().LST_PRODUIT;
    for (int row = 0; row < terminals.count(); ++row) SEND_CMD_UDP(row, command);
}

}  // namespace plx
