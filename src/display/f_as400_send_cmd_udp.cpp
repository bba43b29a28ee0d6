// One display command to one terminal: the memory test, the frame sent twice, the log line
// and the memory of what the terminal shows.
#include <string>

#include "console/f_main.h"
#include "display/display_command.h"
#include "display/terminal_frame.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"

namespace plx {

void F_AS400::SEND_CMD_UDP(int Index, const std::string& ID_CMD) {
    // Rows past the tables can only come from an over-long list: nothing to send them to.
    if (Index < 0 || Index >= kMaxRows) return;
    SharedState& state = gateway_.state();
    const std::string shown = shownValue(ID_CMD);
    if (state.TAB_AFF_VALUE[Index] == shown) return;  // the terminal already shows it

    // Everything the sends need is taken now, in this call's own copies: the pump after
    // each send may run handlers that send elsewhere or rebuild the tables.
    const std::string frame = terminalFrame(ID_CMD, state.TAB_COLOR_PATERN);
    const std::string address = state.TAB_IP[Index];
    bool sent = false;
    for (int copy = 0; copy < kCopiesPerCommand; ++copy) {
        if (gateway_.main().SOCK_UPD->sendDatagram(address, kTerminalPort, frame)) sent = true;
        gateway_.pump();
    }

    gateway_.events().ADD_EVENTS(Index, "CMD", "<" + frame.substr(0, kFrameBytes - 1) + ">", false);
    // A command that never left is not remembered, so the same command later tries again.
    if (sent) state.TAB_AFF_VALUE[Index] = shown;
}

}  // namespace plx
