// The command dispatcher: one host command to the terminal it names, or to every terminal.
#include <algorithm>
#include <string>

#include "console/f_main.h"
#include "console/gateway.h"
#include "display/host_number.h"
#include "eventlog/f_events.h"
#include "hostlink/f_as400.h"

namespace plx {
namespace {

constexpr std::size_t kNumberWidth = 4;  // host command: number field, then the value
constexpr std::size_t kValueWidth = 4;

}  // namespace

void F_AS400::GEST_CMD(const std::string& THE_CMD) {
    if (THE_CMD.empty()) return;  // names neither a terminal nor a value
    const std::string numberField = THE_CMD.substr(0, kNumberWidth);
    std::string value = THE_CMD.substr(std::min(kNumberWidth, THE_CMD.size()), kValueWidth);
    value.resize(kValueWidth, ' ');  // only a caller's short command lacks value characters
    const std::string displayCommand = "><F" + value + "  " + THE_CMD.back();

    SharedState& state = gateway_.state();
    // A number outside the table (sign, exponent, radix prefix) is as unknown as a number
    // that no terminal has: nothing is sent, and the host programmer sees why.
    const std::optional<int> number = hostTerminalNumber(numberField);
    if (!number || state.TAB_ROW_OF_NO[*number] == kNoRow) {
        gateway_.events().ADD_EVENTS(
            -1, "Warning",
            "<" + displayCommand + "> " + "The product number " + numberField + " does not exist !",
            true);
        return;
    }
    if (numberField.find('*') == std::string::npos) {
        SEND_CMD_UDP(state.TAB_ROW_OF_NO[*number], displayCommand);
        return;
    }
    // The count is read anew for each row: the list may change while a send lets events run.
    const ListBox& terminals = gateway_.main().LST_PRODUIT;
    for (int row = 0; row < terminals.count(); ++row) SEND_CMD_UDP(row, displayCommand);
}

}  // namespace plx
