#pragma once
// The colour table a gateway holds after writing and reading its default colour file.

#include <array>
#include <string>

#include "console/config_files.h"
#include "shared/shared_state.h"
#include "shared/text_lines.h"

namespace plx::testing_support {

inline std::array<std::string, kColourEntries> defaultColourTable() {
    std::array<std::string, kColourEntries> table;
    for (const std::string& line : splitLines(defaultColourFile())) {
        if (const auto colour = parseColourLine(line)) table[colour->index] = colour->pattern;
    }
    return table;
}

}  // namespace plx::testing_support
