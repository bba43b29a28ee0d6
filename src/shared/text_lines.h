#pragma once
// Lines of the system's text files: 8-bit text whose lines end with CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace plx {

inline constexpr const char* kLineEnd = "\r\n";

// Lines of a text file: a line ends at CR LF, CR or a lone LF (hand-written files); a last
// line without terminator counts, a terminator at the very end opens no further line.
std::vector<std::string> splitLines(std::string_view bytes);

// Each line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace plx
