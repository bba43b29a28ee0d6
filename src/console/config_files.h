#pragma once
// The configuration file formats as pure functions over bytes: the products file, the
// colour file and the host settings file, each read and written here only.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/shared_state.h"

namespace plx {

class ListBox;

inline const std::string kProductsFile = "Products.cfg";
inline const std::string kColourFile = "Color_Patern.txt";
inline const std::string kHostSettingsFile = "SERVER_AS400.cfg";

// Every entry of a list as one CR LF-terminated line, in row order.
std::string entriesAsLines(const ListBox& list);

// The colour file written when it is missing: 22 lines, CR LF.
const std::string& defaultColourFile();

// A colour file line that counts: its colour character index (possibly above the table)
// and its pattern with surrounding blanks removed. Nothing for a line that is skipped.
struct ColourLine {
    int index;
    std::string pattern;
};
std::optional<ColourLine> parseColourLine(const std::string& line);
// A colour file into the colour table: returns the lines that count, in order; each enters
// its pattern, unless its index is past the table.
std::vector<std::string> readColourTable(std::array<std::string, kColourEntries>& table,
                                         std::string_view bytes);

// The host settings, in the file's order: the password comes before the user name.
struct HostSettings {
    std::string address;
    std::string port;
    std::string password;
    std::string user;
    int logSwitch = 0;  // "Log AS-400 communication": 0, 1 (or 2, greyed)
    bool operator==(const HostSettings&) const = default;
};

// The file's five lines, each ending CR LF, the texts untrimmed and the switch written with
// a blank before it (" 1").
std::string hostSettingsFile(const HostSettings& settings);

// What a host settings file holds, line by line: the texts of the lines present among the
// first four, in order, and the switch when line 5 is present and its value fits.
struct HostSettingsLines {
    std::vector<std::string> texts;  // address, port, password, user: as many as there are
    std::optional<int> logSwitch;
};
HostSettingsLines readHostSettings(std::string_view bytes);

// Line 5 of the host settings file as the log switch's value: the number the text starts
// with, as a 16-bit integer; nothing when it does not fit one.
std::optional<int> switchValue(const std::string& line);

}  // namespace plx
