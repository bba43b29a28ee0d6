#pragma once
// Starting a command in a terminal window of its own, without waiting for it.

#include <string>
#include <vector>

namespace plx {

class Platform;

// Tries the desktop's chosen terminal emulator first, then common ones, each with its own
// title and "execute" options. False when none is installed or none could be started.
bool startInTerminalWindow(Platform& platform, const std::string& title,
                           const std::vector<std::string>& command);

}  // namespace plx
