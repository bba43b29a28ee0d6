#pragma once
// Process-wide state shared by the subsystems: the terminal tables, the display value
// memory, the colour patterns, the application folder and the host link state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace plx {

inline constexpr int kTerminalNumbers = 10000;  // terminal numbers 0..9999
inline constexpr int kMaxRows = 1001;           // terminal list rows 0..1000
inline constexpr std::uint16_t kNoRow = 65535;  // TAB_ROW_OF_NO: no terminal has this number
inline constexpr int kColourEntries = 101;      // colour character indices 0..100

// The TAB_COLOR_PATERN entry a colour selects: a run of "0123456789" ("7", "12", or none at
// all) by its value, anything else by the 8-bit code of its first character ("A" is 65).
// The colour file's loader and the terminal frame both index the table by this rule.
int colourIndex(std::string_view colour);

// Between a folder and a name in a path: the system's own, as the operator reads paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

enum LinkState : std::uint8_t { OFFLINE = 0, ONLINE = 1, PAUSE = 2 };
// "ONLINE", "OFFLINE" or "PAUSE": the state as the lamp's tag and the web console name it.
std::string linkStateName(std::uint8_t state);

// The gateway's own counts since the start, kept where each thing happens (plain integers,
// nothing on the road costs more), read by monitoring. Times are the platform's uptime in ms.
struct Statistics {
    long long connects = 0;
    // Links lost while ONLINE, by cause; the operator's: reset, PAUSE, a settings change.
    long long dropsHostClose = 0;
    long long dropsError = 0;
    long long dropsWatchdog = 0;
    long long dropsOperator = 0;
    long long hostBytes = 0;
    long long hostFrames = 0;
    long long commandsSent = 0;
    long long commandsAlreadyShown = 0;  // dropped by the display value memory
    // Datagrams by what became of them: left, or given up and why (Busy: a link that took
    // none for a second).
    std::array<long long, kDatagramOutcomes> datagrams{};
    long long datagramSendWaits = 0;  // waits for a full socket to take datagrams again
    long long unknownTerminals = 0;
    long long logWriteFailures = 0;
    long long listWriteFailures = 0;
    long long hostDataAtMs = -1;  // the last host data; -1: none yet
    long long linkSinceMs = 0;    // the last change of LINK_STATE

    long long& datagramsOf(DatagramOutcome outcome) {
        return datagrams[static_cast<std::size_t>(outcome)];
    }
    long long datagramsOf(DatagramOutcome outcome) const {
        return datagrams[static_cast<std::size_t>(outcome)];
    }
};

struct SharedState {
    // The terminal list as its last rebuild (SYNC_TABLES) left it: the row of each terminal
    // number, the number, type, address and description of each row, and the list's length.
    std::array<std::uint16_t, kTerminalNumbers> TAB_ROW_OF_NO{};
    std::array<std::int32_t, kMaxRows> TAB_NO_OF_ROW{};  // 0 for a row that cannot be indexed
    std::array<std::string, kMaxRows> TAB_TYPE;
    std::array<std::string, kMaxRows> TAB_IP;
    std::array<std::string, kMaxRows> TAB_DESCRIPTION;
    int ROW_COUNT = 0;
    std::array<std::string, kMaxRows> TAB_AFF_VALUE;
    // When each row's TAB_AFF_VALUE was sent (uptime ms); it moves with the value.
    std::array<long long, kMaxRows> TAB_AFF_TIME{};
    std::array<std::string, kColourEntries> TAB_COLOR_PATERN;
    std::string APP_PATH;
    std::uint8_t LINK_STATE = OFFLINE;
    // The address the host link last connected to (empty before its first tick): the
    // source of the host side's events.
    std::string CONNECT_ADDRESS;
    Statistics STATS;

    // A file of the system: APP_PATH, the separator, the name ("Products.cfg").
    std::string filePath(const std::string& name) const { return APP_PATH + kPathSeparator + name; }
};

}  // namespace plx
