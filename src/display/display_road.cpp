#include "display/display_road.h"

#include <algorithm>

#include "display/display_command.h"
#include "display/host_number.h"
#include "display/terminal_frame.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "shared/numeric_text.h"

namespace plx {

DisplayRoad::DisplayRoad(Gateway& gateway)
    : SOCK_UPD(gateway.platform().createUdpSocket()), gateway_(gateway) {}

void DisplayRoad::GEST_CMD(const std::string& THE_CMD) {
    if (THE_CMD.empty()) return;  // names neither a terminal nor a value
    const std::string numberText(numberField(THE_CMD));
    const std::string command = displayCommand(THE_CMD);

    const SharedState& state = gateway_.state();
    // A number outside the table (sign, exponent, radix prefix) is as unknown as a number
    // that no terminal has: nothing is sent, and the host programmer sees why.
    const std::optional<int> number = hostTerminalNumber(numberText);
    if (!number || state.TAB_ROW_OF_NO[*number] == kNoRow) {
        ++gateway_.state().STATS.unknownTerminals;
        gateway_.window<F_EVENTS>().ADD_EVENTS(
            -1, "Warning",
            "<" + command + "> " + "The product number " + numberText + " does not exist !", true);
        return;
    }
    if (numberText.find('*') == std::string::npos) {
        SEND_CMD_UDP(state.TAB_ROW_OF_NO[*number], command);
        return;
    }
    for (int row = 0; row < state.ROW_COUNT; ++row) SEND_CMD_UDP(row, command);
}

void DisplayRoad::SEND_CMD_UDP(int Index, const std::string& ID_CMD) {
    // Rows past the tables can only come from an over-long list: nothing to send them to.
    if (Index < 0 || Index >= kMaxRows) return;
    SharedState& state = gateway_.state();
    const std::string shown = shownValue(ID_CMD);
    if (state.TAB_AFF_VALUE[Index] == shown) {  // the terminal already shows it
        ++state.STATS.commandsAlreadyShown;
        return;
    }

    // Everything the sends need is taken now, in this call's own copies: the pump after
    // each send may run a nested command that sends elsewhere.
    const std::string frame = terminalFrame(ID_CMD, state.TAB_COLOR_PATERN);
    const std::string address = state.TAB_IP[Index];
    bool sent = false;
    for (int copy = 0; copy < kCopiesPerCommand; ++copy) {
        if (SOCK_UPD->sendDatagram(address, kTerminalPort, frame)) sent = true;
        gateway_.pump();
    }

    gateway_.window<F_EVENTS>().ADD_EVENTS(Index, "CMD",
                                           "<" + frame.substr(0, kFrameBytes - 1) + ">", false);
    // A command that never left is not remembered, so the same command later tries again.
    if (!sent) return;
    state.TAB_AFF_VALUE[Index] = shown;
    state.TAB_AFF_TIME[Index] = gateway_.platform().uptimeMs();
    ++state.STATS.commandsSent;
}

void DisplayRoad::synchronize(const std::string& origin) {
    SharedState& state = gateway_.state();
    for (std::string& shown : state.TAB_AFF_VALUE) shown.clear();
    // Each terminal by its own number, not by the broadcast form.
    const int rows = std::min(state.ROW_COUNT, kMaxRows);
    for (int row = 0; row < rows; ++row) GEST_CMD(fourDigits(state.TAB_NO_OF_ROW[row]) + "----0");
    gateway_.window<F_EVENTS>().ADD_EVENTS(-1, "GENERAL", "Synchronize all products" + origin,
                                           true);
}

void DisplayRoad::rowRemoved(int row) {
    if (row < 0 || row >= kMaxRows) return;
    auto& shown = gateway_.state().TAB_AFF_VALUE;
    std::move(shown.begin() + row + 1, shown.end(), shown.begin() + row);
    shown.back().clear();
    auto& sentAt = gateway_.state().TAB_AFF_TIME;
    std::move(sentAt.begin() + row + 1, sentAt.end(), sentAt.begin() + row);
}

void DisplayRoad::rowReplaced(int row) {
    if (row >= 0 && row < kMaxRows) gateway_.state().TAB_AFF_VALUE[row].clear();
}

}  // namespace plx
