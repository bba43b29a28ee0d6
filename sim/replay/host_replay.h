#pragma once
// The host stream of a day's file or of a trace, replayed through the gateway's core with a
// given terminal list and colour file, and what it gives written out: per read its telnet
// answers, per frame its value and colour, each terminal's pattern and datagram as it leaves
// (the frames of one read are cut first when nothing stops them: their datagrams leave
// together, in order, after them), and every Warning. The report is itself a trace: kept in
// tests/data/, it is what the core must give again.
//
//   Products.cfg 0001,,127.0.10.2,Line 1          the terminal list, a line per entry
//   Color_Patern.txt 0,1100                       the colour file's lines that count, if given
//   Connected                                     a new connection: the stream starts anew
//   RX-AS400 %255%%253%%24%<000112340>            one read, as its RX-AS400 line writes it
//     reply %255%%251%%24%                        a telnet answer sent back
//     frame <000112340> value "1234" colour "0"   a frame handed to the dispatcher
//       0001 "127.0.10.2" pattern 1100 sent 2x FE F8 08 02 3E 3C 46 31 32 33 34 20 ... 03
//       already shown by 1 terminal(s)            dropped by the display value memory
//       Warning <text>                            each Warning, where it arose

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plx::replay {

struct Recording {
    // The terminal list and the colour file's lines a trace carries (a day's file has none).
    std::vector<std::string> products;
    std::optional<std::vector<std::string>> colours;
    // In order: a read of the host stream (its bytes), or a new connection (nothing).
    std::vector<std::optional<std::string>> reads;
};

// What a day's file or a trace holds for a replay: the "RX-AS400" events (a read each) and
// the statuses "Connected" of a day's file ("14:05:09 RX-AS400:Server [127.0.0.1],<text>"),
// or the unindented lines of a trace; everything else is passed over.
Recording readRecording(std::string_view text);

// The report of the recording replayed, its lines ending LF. Without colour lines the colour
// file is the one the gateway writes where it finds none.
std::string replay(const Recording& recording);

}  // namespace plx::replay
