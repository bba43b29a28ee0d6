#pragma once
// The configuration file formats as pure functions over bytes: line splitting and joining,
// the default colour file, the colour file's lines and the host settings' switch line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plx {

class ListBox;

inline const std::string kProductsFile = "Products.cfg";
inline const std::string kColourFile = "Color_Patern.txt";
inline const std::string kHostSettingsFile = "SERVER_AS400.cfg";
inline constexpr const char* kLineEnd = "\r\n";

// Lines of a text file: a line ends at CR LF, CR or a lone LF (hand-written files); a last
// line without terminator counts, a terminator at the very end opens no further line.
std::vector<std::string> splitLines(std::string_view bytes);

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

// Line 5 of the host settings file as the log switch's value: the number the text starts
// with, as a 16-bit integer; nothing when it does not fit one.
std::optional<int> switchValue(const std::string& line);

}  // namespace plx
