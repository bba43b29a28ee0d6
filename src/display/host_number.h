#pragma once
// Reading the number field of a host command. The host writes four digits, but the field
// is read leniently, as the host programs have always relied on: blanks are ignored, and
// signs, fractions, exponents and radix prefixes are understood.

#include <optional>
#include <string_view>

#include "shared/numeric_text.h"

namespace plx {

// The terminal number a host command's number field names: the lenient reading rounded to
// the nearest integer, halves to the even neighbour; nothing when that lies outside
// 0..9999 (or is not a number at all).
std::optional<int> hostTerminalNumber(std::string_view numberField);

}  // namespace plx
