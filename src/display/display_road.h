#pragma once
// The display road: where every host command ends, whoever made it (the host link's frames,
// Synchronize, the test window). The dispatcher (GEST_CMD) finds the terminal or terminals a
// host command names; the sender (SEND_CMD_UDP) drops what a terminal already shows, sends the
// terminal frame twice on the UDP socket SOCK_UPD and logs it; the display value memory
// (TAB_AFF_VALUE) remembers what each row was sent. It reads the terminal tables of the shared
// state, and of the windows only uses the event log.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // pending events let run after each copy, one "CMD" line, and the memory. Copies with
    // no event pending between them leave together, at the latest when the dispatch ends.
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
    // One dispatch (a host command, Synchronize, a test press): its datagrams leave in
    // batches, and whatever waits in the batch leaves when the outermost one ends.
    class Dispatch;
    // A datagram in the batch, and the command it is a copy of.
    struct Waiting {
        std::uint64_t command;
        int row;
    };
    // A command not yet remembered: copies of it wait, or its call is still under way.
    struct Unsent {
        std::uint64_t command;
        int row;
        std::string shown;
        int copiesToGo;  // copies not yet gone, and one for the call
        bool left;       // a copy has left
    };
    // A copy into the batch; the batch leaves when full, and before events run.
    void queueCopy(std::uint64_t command, int row, const std::string& address,
                   const std::string& frame);
    // The batch leaves, then the pending events run.
    void pumpBetweenCopies();
    // Hands the batch to the system; each command whose copies have all gone is remembered
    // when one of them left.
    void sendBatch();
    // One copy of the command has gone (left or not), or its call has ended; at the last,
    // the memory.
    void countDown(std::uint64_t command, bool left);
    bool rowWaits(int row) const;

    Gateway& gateway_;
    std::vector<OutgoingDatagram> batch_;
    std::vector<Waiting> waiting_;  // beside batch_, one for each datagram
    std::vector<Unsent> unsent_;
    std::uint64_t commands_ = 0;  // commands sent so far, to tell them apart
    int dispatches_ = 0;          // dispatches under way, outside the pump's nesting
};

}  // namespace plx
