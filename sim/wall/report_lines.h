#pragma once
// The lines the wall prints with --report, one per datagram, read by scripts:
//   frame <number> <address> <four value characters> <six attribute digits>
//   malformed <address> <length>

#include <cstdint>
#include <string>

#include "terminal_frame.h"
#include "terminal_list.h"
#include "wall_model.h"

namespace plx::wall {

// A value byte that is not printable ASCII is written as '?', so a line stays one line
// and the value keeps its four columns.
std::string frameReportLine(const TerminalEntry& terminal, const TerminalFrame& frame);
std::string malformedReportLine(const std::string& address, std::size_t length);

// The value as a person may read it; the same replacement as the report.
std::string printableValue(const std::string& value);

// What the wall says of a terminal beside its display: why it does not listen, or the
// attribute digits of what it shows and the first a terminal does not know.
struct TerminalNote {
    std::string text;
    bool warning = false;  // the terminal does not listen, or shows a colour it does not know
};
TerminalNote terminalNote(const TerminalState& terminal);

// "1 frame", "12 frames".
std::string framesCaption(std::uint64_t frames);

}  // namespace plx::wall
