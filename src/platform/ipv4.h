#pragma once
#include <string>

namespace plx {

// True for exactly four decimal numbers 0..255 joined by dots ("10.1.200.11").
bool isDottedIPv4(const std::string& text);

}  // namespace plx
