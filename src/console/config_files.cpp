#include "console/config_files.h"

#include <cmath>

#include "console/global.h"
#include "console/numeric_text.h"
#include "platform/controls/list_box.h"

namespace plx {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

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
        const char* const lines[] = {
            dashes.c_str(),
            "- This file contain:",
            "- Color#,ColorPatern",
            "- Color#: 0 to 9 ... A to Z",
            "- ColorPatern: Contain 4 numbers from 0 to 6",
            "-          0=Red, 1=Green",
            "-          2=Red with dot, 3=Green with dot",
            "-          4=Flashing red  5=flashing green",
            "-          6=Flashing red / green",
            dashes.c_str(),
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
        };
        std::string joined;
        for (const char* line : lines) {
            joined += line;
            joined += kLineEnd;
        }
        return joined;
    }();
    return text;
}

std::optional<ColourLine> parseColourLine(const std::string& line) {
    static const std::string kColourCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const std::string kDigits = "0123456789";
    const std::string character = EXTRACT_FIELD(line, ",", 1);
    // A substring test, as the file has always been read: "0" to "9" and "A" to "Z" pass,
    // lower case, comments and blank-led lines do not.
    if (kColourCharacters.find(character) == std::string::npos) return std::nullopt;
    if (line.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    const int index = kDigits.find(character) != std::string::npos
                          ? static_cast<int>(readLenientNumber(character))
                          : static_cast<unsigned char>(character.front());
    return ColourLine{index, trimSpaces(EXTRACT_FIELD(line, ",", 2))};
}

std::optional<int> switchValue(const std::string& line) {
    const double value = std::round(readLenientNumber(line));
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace plx
