#include "report_lines.h"

namespace plx::wall {

std::string printableValue(const std::string& value) {
    std::string printable = value;
    for (char& c : printable) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code > 0x7E) c = '?';
    }
    return printable;
}

TerminalNote terminalNote(const TerminalState& terminal) {
    if (terminal.binding == Binding::Refused) return {"refused: " + terminal.bindError, true};
    if (terminal.binding == Binding::Failed) return {"cannot bind: " + terminal.bindError, true};
    if (const char unknown = terminal.unknownAttribute()) {
        return {"attr " + terminal.shown.attributes + " (" + unknown + " red)", true};
    }
    return {terminal.lit ? "attr " + terminal.shown.attributes : "", false};
}

std::string framesCaption(std::uint64_t frames) {
    return std::to_string(frames) + (frames == 1 ? " frame" : " frames");
}

std::string frameReportLine(const TerminalEntry& terminal, const TerminalFrame& frame) {
    return "frame " + terminal.number + " " + terminal.address + " " + printableValue(frame.value) +
           " " + frame.attributes;
}

std::string malformedReportLine(const std::string& address, std::size_t length) {
    return "malformed " + address + " " + std::to_string(length);
}

}  // namespace plx::wall
