#pragma once
// The display command made from a host command, and what the display value memory keeps of
// it. A host command is the number field (four characters), the value (four) and the colour
// character (the last one, whatever the length); a display command is "><F", the value, two
// blanks and the colour character.

#include <string>
#include <string_view>

namespace plx {

// The number field: the first four characters.
std::string_view numberField(std::string_view hostCommand);

// "><F" + characters 5 to 8 + two blanks + the last character. A caller's short command
// (the test window's, with an empty colour box) has its missing value characters blank.
std::string displayCommand(std::string_view hostCommand);

// What a terminal is remembered to show: the display command from its fourth character on,
// the value, the two blanks and the colour character.
std::string shownValue(std::string_view displayCommand);

}  // namespace plx
