#include "console/config_files.h"

#include <cmath>

#include "platform/controls/list_box.h"
#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"
#include "shared/text_lines.h"

namespace plx {

std::string entriesAsLines(const ListBox& list) {
    std::string bytes;
    for (int row = 0; row < list.count(); ++row) {
        bytes += list.text(row);
        bytes += kLineEnd;
    }
    return bytes;
}

const std::string& defaultColourFile() {
    static const std::string text = [] {
        const std::string dashes(51, '-');
        return joinLines({
            dashes,
            "- This file contain:",
            "- Color#,ColorPatern",
            "- Color#: 0 to 9 ... A to Z",
            "- ColorPatern: Contain 4 numbers from 0 to 6",
            "-          0=Red, 1=Green",
            "-          2=Red with dot, 3=Green with dot",
            "-          4=Flashing red  5=flashing green",
            "-          6=Flashing red / green",
            dashes,
            "",
            "0,1100",
            "1,0011",
            "2,1111",
            "3,0000",
            "4,6666",
            "5,1144",
            "6,1155",
            "7,1166",
            "8,4411",
            "9,5511",
            "A,6611",
        });
    }();
    return text;
}

std::optional<ColourLine> parseColourLine(const std::string& line) {
    static const std::string kColourCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string character = EXTRACT_FIELD(line, ",", 1);
    // A substring test, as the file has always been read: "0" to "9" and "A" to "Z" pass,
    // lower case, comments and blank-led lines do not.
    if (kColourCharacters.find(character) == std::string::npos) return std::nullopt;
    if (line.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return ColourLine{colourIndex(character), trimSpaces(EXTRACT_FIELD(line, ",", 2))};
}

std::vector<std::string> readColourTable(std::array<std::string, kColourEntries>& table,
                                         std::string_view bytes) {
    std::vector<std::string> counted;
    for (std::string& line : splitLines(bytes)) {
        auto colour = parseColourLine(line);
        if (!colour) continue;
        if (colour->index < kColourEntries) table[colour->index] = std::move(colour->pattern);
        counted.push_back(std::move(line));
    }
    return counted;
}

std::string hostSettingsFile(const HostSettings& settings) {
    // A blank before a non-negative number, as the switch has always been written.
    return joinLines({settings.address, settings.port, settings.password, settings.user,
                      " " + std::to_string(settings.logSwitch)});
}

HostSettingsLines readHostSettings(std::string_view bytes) {
    constexpr std::size_t kTextLines = 4;
    std::vector<std::string> lines = splitLines(bytes);
    HostSettingsLines read;
    if (lines.size() > kTextLines) read.logSwitch = switchValue(lines[kTextLines]);
    if (lines.size() > kTextLines) lines.resize(kTextLines);
    read.texts = std::move(lines);
    return read;
}

std::optional<int> switchValue(const std::string& line) {
    const double value = std::round(readLenientNumber(line));
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace plx
