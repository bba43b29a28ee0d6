#include "ansi_wall.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include "report_lines.h"

namespace plx::wall {
namespace {

constexpr int kCellWidth = 26;   // columns per terminal, the gap to the next included
constexpr int kCellHeight = 4;   // lines per terminal, the gap below included
constexpr int kHeaderLines = 2;  // the status line and a gap
constexpr std::size_t kCellText = kCellWidth - 2;     // the last two columns part the cells
constexpr std::size_t kLedColumns = kValueChars * 2;  // each character and its dot
constexpr winsize kFallbackSize{24, 80, 0, 0};        // a terminal that does not say its size

const char* const kEnter = "\x1b[?1049h\x1b[?25l";  // alternate screen, cursor hidden
const char* const kLeave = "\x1b[0m\x1b[?25h\x1b[?1049l";
const char* const kHome = "\x1b[H";
const char* const kEndOfLine = "\x1b[K\r\n";  // clear what an earlier, longer line left
const char* const kReset = "\x1b[0m";
const char* const kBold = "\x1b[1m";
const char* const kDim = "\x1b[2m";
const char* const kAmber = "\x1b[33m";
const char* const kRed = "\x1b[91m";
const char* const kGreen = "\x1b[92m";

winsize sizeOf(std::FILE* out) {
    winsize size{};
    if (::ioctl(::fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        return size;
    }
    return kFallbackSize;
}

// Pads `text` to `width` visible columns; `visible` is its length without escape codes.
std::string padded(const std::string& text, std::size_t visible, std::size_t width) {
    return text + std::string(width > visible ? width - visible : 0, ' ');
}

// The LED field: each character followed by its dot or a blank, so it keeps eight columns.
std::string ledField(const TerminalState& terminal, FlashPhase phase) {
    if (!terminal.lit) return std::string(kValueChars * 2, ' ');  // dark, as the terminal is
    const std::string value = printableValue(terminal.shown.value);
    std::string field;
    for (std::size_t i = 0; i < kValueChars; ++i) {
        const LedAttribute attribute = attributeOf(terminal.shown.attributes[i]);
        const Lamp lamp = lampAt(attribute, phase);
        if (lamp == Lamp::Off) {
            field += "  ";
            continue;
        }
        field += lamp == Lamp::Red ? kRed : kGreen;
        if (attribute.dot) field += kBold;
        field += value[i];
        field += attribute.dot ? '.' : ' ';
        field += kReset;
    }
    return field;
}

}  // namespace

AnsiWall::AnsiWall(const WallModel& model, std::FILE* out) : model_(model), out_(out) {
    std::fputs(kEnter, out_);
    std::fflush(out_);
}

AnsiWall::~AnsiWall() {
    std::fputs(kLeave, out_);
    std::fflush(out_);
}

void AnsiWall::draw(FlashPhase phase) {
    drawnPhase_ = phase;
    const winsize size = sizeOf(out_);
    const std::string text = screen(phase, size.ws_col, size.ws_row);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

AnsiWall::Cell AnsiWall::cell(const TerminalState& terminal, FlashPhase phase) const {
    // Texts from the terminal list are cut to the cell and cleaned of control bytes, so a
    // stray escape in the file cannot upset the terminal.
    const std::string number = printableValue(terminal.entry.number).substr(0, kCellText);
    const std::string address = printableValue(terminal.entry.address)
                                    .substr(0, kCellText - std::min(kCellText, number.size() + 1));
    Cell cell;
    cell[0] = padded(kBold + number + kReset + " " + kDim + address + kReset,
                     number.size() + 1 + address.size(), kCellWidth);

    const std::string frames = framesCaption(terminal.frames);
    cell[1] = padded("[" + ledField(terminal, phase) + "] " + frames,
                     kLedColumns + 3 + frames.size(), kCellWidth);

    const TerminalNote note = terminalNote(terminal);
    const std::string text = note.text.substr(0, kCellText);
    cell[2] = padded((note.warning ? kAmber : kDim) + text + kReset, text.size(), kCellWidth);
    return cell;
}

void AnsiWall::drawOnPhaseChange(FlashPhase phase) {
    if (phase != drawnPhase_) draw(phase);
}

std::string AnsiWall::screen(FlashPhase phase, int width, int height) const {
    const auto& terminals = model_.terminals();
    const std::size_t perRow = static_cast<std::size_t>(std::max(1, width / kCellWidth));
    // Rows beyond the screen would scroll it and spoil the redraw in place.
    const std::size_t rows =
        static_cast<std::size_t>(std::max(1, (height - kHeaderLines - 1) / kCellHeight));
    const std::size_t shown = std::min(terminals.size(), rows * perRow);

    std::string text = kHome;
    std::string status = std::string(kBold) + "Terminal wall" + kReset + "  " +
                         std::to_string(terminals.size()) + " terminals, " +
                         std::to_string(model_.listening()) +
                         " listening   malformed: " + std::to_string(model_.malformed());
    if (!model_.lastMalformed().empty()) status += " (last " + model_.lastMalformed() + ")";
    text += status + kEndOfLine + kEndOfLine;

    for (std::size_t first = 0; first < shown; first += perRow) {
        Cell lines;
        for (std::size_t i = first; i < std::min(first + perRow, shown); ++i) {
            const Cell next = cell(terminals[i], phase);
            for (std::size_t line = 0; line < lines.size(); ++line) lines[line] += next[line];
        }
        for (const auto& line : lines) text += line + kEndOfLine;
        text += kEndOfLine;
    }
    if (shown < terminals.size()) {
        text += std::string(kDim) + std::to_string(terminals.size() - shown) +
                " more terminals: a larger terminal shows them" + kReset + "\x1b[K";
    }
    return text + "\x1b[J";  // nothing of an earlier, taller grid stays below
}

}  // namespace plx::wall
