#include "display/display_command.h"

#include <algorithm>

namespace plx {
namespace {

constexpr std::size_t kNumberWidth = 4;
constexpr std::size_t kValueWidth = 4;
constexpr std::string_view kDisplayPrefix = "><F";
constexpr std::size_t kShownWidth = kValueWidth + 3;  // value, two blanks, colour

}  // namespace

std::string_view numberField(std::string_view hostCommand) {
    return hostCommand.substr(0, kNumberWidth);
}

std::string displayCommand(std::string_view hostCommand) {
    std::string value(hostCommand.substr(std::min(kNumberWidth, hostCommand.size()), kValueWidth));
    value.resize(kValueWidth, ' ');
    std::string command(kDisplayPrefix);
    command += value;
    command += "  ";
    if (!hostCommand.empty()) command += hostCommand.back();
    return command;
}

std::string shownValue(std::string_view displayCommand) {
    return std::string(
        displayCommand.substr(std::min(kDisplayPrefix.size(), displayCommand.size()), kShownWidth));
}

}  // namespace plx
