#pragma once
// How the console reads numbers out of typed and stored text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plx {

// The number a text begins with, read as leniently as typed and stored numbers always
// have been: blanks (spaces, tabs, line feeds) anywhere are ignored; an optional sign,
// digits, an optional decimal point with fraction and an optional exponent introduced by
// E or D (either case); or &H (hexadecimal) or &O (octal) and their digits. Reading stops
// at the first character that cannot continue the number; a text that does not begin with
// a number reads as 0 ("12ab" gives 12). Too large a number reads as an infinity, never as
// undefined behaviour, and the process locale plays no part.
double readLenientNumber(std::string_view text);

// A whole decimal number with optional sign and blanks around it ("0007", " 12 "); nothing
// when the text is anything else or does not fit an int.
std::optional<int> wholeNumber(std::string_view text);

// A TCP port as the operator means it: a whole decimal number from 1 to 65535, blanks
// (spaces, tabs) around it allowed (" 23", "2323 "); nothing for anything else.
std::optional<std::uint16_t> portNumber(std::string_view text);

// A number written with at least four digits, zero-filled, after its sign ("0007", "12345",
// "-0005").
std::string fourDigits(long long number);

// The text without leading and trailing spaces (only spaces: a tab is content).
std::string trimSpaces(std::string_view text);

}  // namespace plx
