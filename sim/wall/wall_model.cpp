#include "wall_model.h"

#include <algorithm>

#include "led_attribute.h"

namespace plx::wall {

bool TerminalState::flashing() const {
    if (!lit) return false;
    const auto value = std::string_view(shown.attributes).substr(0, kValueChars);
    return std::any_of(value.begin(), value.end(),
                       [](char digit) { return attributeOf(digit).flashing(); });
}

char TerminalState::unknownAttribute() const {
    if (!lit) return '\0';
    for (const char digit : std::string_view(shown.attributes).substr(0, kValueChars)) {
        if (!attributeOf(digit).known) return digit;
    }
    return '\0';
}

WallModel::WallModel(std::vector<TerminalEntry> terminals) {
    terminals_.reserve(terminals.size());
    for (auto& entry : terminals) {
        TerminalState terminal;
        terminal.entry = std::move(entry);
        terminals_.push_back(std::move(terminal));
    }
}

std::size_t WallModel::listening() const {
    return static_cast<std::size_t>(
        std::count_if(terminals_.begin(), terminals_.end(),
                      [](const auto& terminal) { return terminal.binding == Binding::Listening; }));
}

std::vector<std::string> WallModel::addresses() const {
    std::vector<std::string> addresses;
    for (const auto& terminal : terminals_) {
        if (std::find(addresses.begin(), addresses.end(), terminal.entry.address) ==
            addresses.end()) {
            addresses.push_back(terminal.entry.address);
        }
    }
    return addresses;
}

std::vector<std::size_t> WallModel::terminalsAt(std::string_view address) const {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < terminals_.size(); ++row) {
        if (terminals_[row].entry.address == address) rows.push_back(row);
    }
    return rows;
}

void WallModel::setBinding(std::string_view address, Binding binding, const std::string& error) {
    for (const auto row : terminalsAt(address)) {
        terminals_[row].binding = binding;
        terminals_[row].bindError = error;
    }
}

FrameDecoding WallModel::receive(std::string_view address, std::string_view bytes) {
    FrameDecoding decoding = decodeFrame(bytes);
    if (!decoding.ok()) {
        ++malformed_;
        lastMalformed_ = std::string(address) + ": " + std::to_string(bytes.size()) + " bytes, " +
                         std::string(faultText(decoding.fault));
        return decoding;
    }
    for (const auto row : terminalsAt(address)) {
        TerminalState& terminal = terminals_[row];
        terminal.lit = true;
        terminal.shown = decoding.frame;
        ++terminal.frames;
    }
    return decoding;
}

}  // namespace plx::wall
