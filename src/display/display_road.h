#pragma once
// The display road: where every host command ends, whoever made it (the host link's frames,
// Synchronize, the test window). The dispatcher (GEST_CMD) finds the terminal or terminals a
// host command names; the sender (SEND_CMD_UDP) drops what a terminal already shows, sends the
// terminal frame twice on the UDP socket SOCK_UPD, logs it, and the display value memory
// (TAB_AFF_VALUE) remembers what each row was sent. It reads the terminal tables of the shared
// state, reports through the event log and lets events run through the nesting: no window.

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/terminal_frame.h"
#include "platform/platform.h"

namespace plx {

class EventLog;
class EventNesting;
struct SharedState;

class DisplayRoad {
  public:
    // A socket that takes no datagram for this long serves a link that is down, not slow:
    // what waits for it is given up, and so is each datagram it cannot take at once, until
    // one leaves again.
    static constexpr int kStalledAfterMs = 1000;

    DisplayRoad(Platform& platform, SharedState& state, EventLog& log, EventNesting& nesting);

    // Every datagram leaves here, each with the terminal's address and port 1024.
    std::unique_ptr<UdpSocketPort> SOCK_UPD;

    // One host command (number field, value, colour character) to the terminal it names, or
    // to every row when the number field holds "*"; an unknown number is a Warning.
    void GEST_CMD(const std::string& THE_CMD);
    // One display command to one row: unless the row shows it already, the frame twice, the
    // pending events let run after each copy; once both copies have gone, one "CMD" line and
    // the memory. Copies with no event pending between them leave together, at the latest
    // when the dispatch ends; while the socket cannot take them, they wait for it in order.
    void SEND_CMD_UDP(int Index, const std::string& ID_CMD);

    // Synchronize: forget what every row shows, then four dashes to each listed terminal by
    // its own number, then one "GENERAL" line (ending with `origin`, who asked, if not the
    // window).
    void synchronize(const std::string& origin = {});
    // The memory follows its terminal: rows below a removed one move up with theirs, and a row
    // given another terminal forgets what the old one showed.
    void rowRemoved(int row);
    void rowReplaced(int row);

    // One dispatch (a host command, the commands of one read, Synchronize, a test press),
    // held while it lasts: its datagrams leave in batches, and whatever waits in the batch
    // leaves when the outermost one ends.
    class Dispatch {
      public:
        explicit Dispatch(DisplayRoad& road) : road_(road) { ++road_.dispatches_; }
        ~Dispatch() {
            if (--road_.dispatches_ == 0) road_.sendBatch();
        }
        Dispatch(const Dispatch&) = delete;
        Dispatch& operator=(const Dispatch&) = delete;

      private:
        DisplayRoad& road_;
    };

  private:
    // Events run (a pump, a wait for the socket): what they dispatch leaves when it ends.
    class Nested;
    // A datagram in the batch, and the command it is a copy of.
    struct QueuedCopy {
        std::uint64_t command;
        int row;
    };
    // A command not yet remembered: copies of it wait, or its call is still under way. It
    // holds what its copies carry, so that nothing of a call can be changed by a nested one.
    struct CommandUnderWay {
        std::uint64_t command;
        int row;
        std::string address;
        TerminalFrame frame;
        std::string shown;
        int copiesToGo;           // copies not yet gone, and one for the call
        bool anyCopyLeft;         // at least one copy has left
        DatagramOutcome failure;  // why a copy did not, if one did not
    };
    // A copy into the batch; the batch leaves when full, and before events run.
    void queueCopy(std::uint64_t command, int row);
    // The batch leaves, then the pending events run.
    void pumpBetweenCopies();
    // Hands the batch to the system, in order, waiting while the socket cannot take it.
    void sendBatch();
    // The socket takes nothing now: wait for it, or, once the link has stalled, give up the
    // first datagram.
    void waitOrGiveUp();
    // One copy of the command has gone (`outcome`), or its call has ended (nothing); at the
    // last, the line, the memory, and for a command that never left, the warning.
    void countDown(std::uint64_t command, std::optional<DatagramOutcome> outcome);
    void commandDone(const CommandUnderWay& done);
    bool rowWaits(int row) const;

    Platform& platform_;
    SharedState& state_;
    EventLog& log_;
    EventNesting& nesting_;
    std::vector<QueuedCopy> batch_;
    std::vector<OutgoingDatagram> outgoing_;  // the batch as handed to the socket
    std::vector<DatagramOutcome> outcomes_;
    std::vector<CommandUnderWay> underWay_;
    std::string commandText_;  // the "CMD" line's text, its room kept from line to line
    // Rows whose datagrams failed and were told so since they last left.
    std::bitset<kMaxRows> failureTold_;
    std::uint64_t commands_ = 0;  // commands sent so far, to tell them apart
    int dispatches_ = 0;          // dispatches under way, outside the pump's nesting
    long long busySinceMs_ = -1;  // the first "try again" since a datagram last left
    bool stalled_ = false;
};

}  // namespace plx
