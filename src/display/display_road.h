#pragma once
// The display road: where every host command ends, whoever made it (the host link's frames,
// Synchronize, the test window). The dispatcher (GEST_CMD) finds the terminal or terminals a
// host command names; the sender (SEND_CMD_UDP) drops what a terminal already shows, sends the
// terminal frame twice on the UDP socket SOCK_UPD and logs it; the display value memory
// (TAB_AFF_VALUE) remembers what each row was sent. It reads the terminal tables of the shared
// state, and of the windows only uses the event log.

#include <memory>
#include <string>

#include "platform/platform.h"

namespace plx {

class Gateway;

class DisplayRoad {
  public:
    explicit DisplayRoad(Gateway& gateway);

    // Every datagram leaves here, each with the terminal's address and port 1024.
    std::unique_ptr<UdpSocketPort> SOCK_UPD;

    // One host command (number field, value, colour character) to the terminal it names, or
    // to every row when the number field holds "*"; an unknown number is a Warning.
    void GEST_CMD(const std::string& THE_CMD);
    // One display command to one row: unless the row shows it already, the frame twice, the
    // pending events let run after each copy, one "CMD" line, and the memory.
    void SEND_CMD_UDP(int Index, const std::string& ID_CMD);

    // Synchronize: forget what every row shows, then four dashes to each listed terminal by
    // its own number, then one "GENERAL" line (ending with `origin`, who asked, if not the
    // window).
    void synchronize(const std::string& origin = {});
    // The memory follows its terminal: rows below a removed one move up with theirs, and a row
    // given another terminal forgets what the old one showed.
    void rowRemoved(int row);
    void rowReplaced(int row);

  private:
    Gateway& gateway_;
};

}  // namespace plx
