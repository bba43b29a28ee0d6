#pragma once
// The wall's state: per terminal what its display shows and how many frames it took, and
// the datagrams that were not frames. Fed by the sockets, read by the renderers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "terminal_frame.h"
#include "terminal_list.h"

namespace plx::wall {

enum class Binding { Pending, Listening, Failed, Refused };

struct TerminalState {
    TerminalEntry entry;
    Binding binding = Binding::Pending;
    std::string bindError;  // why Failed or Refused, for the operator
    bool lit = false;       // a frame has arrived since start
    TerminalFrame shown;    // the last frame, valid when lit
    std::uint64_t frames = 0;

    // Whether a character of the display flashes, so it needs redrawing as the phase turns.
    bool flashing() const;
    // The first attribute digit of the four characters that a terminal does not know and
    // shows red, or '\0'.
    char unknownAttribute() const;
};

class WallModel {
  public:
    explicit WallModel(std::vector<TerminalEntry> terminals);
    WallModel(const WallModel&) = delete;
    WallModel& operator=(const WallModel&) = delete;

    const std::vector<TerminalState>& terminals() const { return terminals_; }

    // Each address once, in list order: the wall binds one socket per address.
    std::vector<std::string> addresses() const;
    // Every terminal at that address, so a list with a repeated address shows both.
    std::vector<std::size_t> terminalsAt(std::string_view address) const;

    void setBinding(std::string_view address, Binding binding, const std::string& error = {});

    // One datagram that arrived at `address`: a frame lights every terminal there,
    // anything else is counted as malformed.
    FrameDecoding receive(std::string_view address, std::string_view bytes);

    std::size_t listening() const;
    std::uint64_t malformed() const { return malformed_; }
    // "127.0.10.3: 19 bytes, length not 20", empty before the first one.
    const std::string& lastMalformed() const { return lastMalformed_; }

  private:
    std::vector<TerminalState> terminals_;
    std::uint64_t malformed_ = 0;
    std::string lastMalformed_;
};

}  // namespace plx::wall
