#include "tools/terminal_emulator.h"

#include <array>

#include "platform/platform.h"

namespace plx {
namespace {

struct TerminalEmulator {
    const char* program;
    const char* titleOption;    // empty: the program takes no title
    const char* executeOption;  // empty: the command follows the options directly
};

// In order of preference: the desktop's choice (a Debian alternative that accepts -T and
// -e), then the usual emulators of the common desktops, then the plain ones.
constexpr std::array kEmulators = {
    TerminalEmulator{"x-terminal-emulator", "-T", "-e"},
    TerminalEmulator{"gnome-terminal", "--title", "--"},
    TerminalEmulator{"konsole", "", "-e"},
    TerminalEmulator{"xfce4-terminal", "-T", "-x"},
    TerminalEmulator{"mate-terminal", "-t", "-x"},
    TerminalEmulator{"xterm", "-T", "-e"},
    TerminalEmulator{"kitty", "--title", ""},
    TerminalEmulator{"alacritty", "--title", "-e"},
    TerminalEmulator{"foot", "--title", ""},
};

std::vector<std::string> argumentsFor(const TerminalEmulator& emulator, const std::string& title,
                                      const std::vector<std::string>& command) {
    std::vector<std::string> arguments;
    if (*emulator.titleOption != '\0')
        arguments.insert(arguments.end(), {emulator.titleOption, title});
    if (*emulator.executeOption != '\0') arguments.emplace_back(emulator.executeOption);
    arguments.insert(arguments.end(), command.begin(), command.end());
    return arguments;
}

}  // namespace

bool startInTerminalWindow(Platform& platform, const std::string& title,
                           const std::vector<std::string>& command) {
    for (const TerminalEmulator& emulator : kEmulators) {
        const std::string path = platform.findProgram(emulator.program);
        if (!path.empty() && platform.startDetached(path, argumentsFor(emulator, title, command))) {
            return true;
        }
    }
    return false;
}

}  // namespace plx
