#include "tools/web_page.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "shared/numeric_text.h"

namespace plx {
namespace {

constexpr std::string_view kOpen = "{[";
constexpr std::string_view kClose = "]}";
constexpr std::size_t kCodeLength = 2;    // the letters after "{["
constexpr std::size_t kNumberDigits = 4;  // terminal numbers are 0..9999

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The table row of a terminal number written in digits, or nothing when no terminal has it.
std::optional<std::size_t> rowOfNumber(std::string_view digits, const SharedState& tables) {
    const auto significant = digits.find_first_not_of('0');
    if (significant != std::string_view::npos && digits.size() - significant > kNumberDigits) {
        return std::nullopt;
    }
    int number = 0;
    for (const char c : digits) number = number * 10 + (c - '0');
    const std::size_t row = tables.TAB_ROW_OF_NO[static_cast<std::size_t>(number)];
    if (row >= static_cast<std::size_t>(kMaxRows)) return std::nullopt;
    return row;
}

// The value of a placeholder whose code and number are given, or nothing for an unknown code
// (or a terminal code without a number).
std::optional<std::string> valueOf(std::string_view code, std::string_view digits,
                                   const WebPageValues& values) {
    const SharedState& tables = values.tables;
    const std::array<std::string, kMaxRows>* column = nullptr;
    if (code == "AF") column = &tables.TAB_AFF_VALUE;
    if (code == "IP") column = &tables.TAB_IP;
    if (code == "DE") column = &tables.TAB_DESCRIPTION;
    if (code == "TY") column = &tables.TAB_TYPE;
    if (column != nullptr) {
        if (digits.empty()) return std::nullopt;
        const auto row = rowOfNumber(digits, tables);
        return row ? (*column)[*row] : std::string();
    }
    if (code == "SO") return values.linkState;
    if (code == "SI") return values.hostAddress;
    if (code == "SP") return values.hostPort;
    if (code == "SU") return values.user;
    if (code == "SW") return values.password;
    if (code == "SR") return values.received;
    if (code == "AE") return values.events;
    if (code == "GT") return values.time;
    if (code == "GD") return values.date;
    return std::nullopt;
}

void fillLine(std::string_view line, const WebPageValues& values, std::string& page) {
    std::size_t copied = 0;
    std::size_t open = line.find(kOpen);
    while (open != std::string_view::npos) {
        const std::size_t numberStart = open + kOpen.size() + kCodeLength;
        std::size_t numberEnd = std::min(numberStart, line.size());
        while (numberEnd < line.size() && isDigit(line[numberEnd])) ++numberEnd;
        std::optional<std::string> value;
        if (line.substr(numberEnd, kClose.size()) == kClose) {
            value = valueOf(line.substr(open + kOpen.size(), kCodeLength),
                            line.substr(numberStart, numberEnd - numberStart), values);
        }
        if (value) {
            page.append(line.substr(copied, open - copied));
            page.append(*value);
            copied = numberEnd + kClose.size();
            open = line.find(kOpen, copied);
        } else {
            // Not a placeholder: copied as it stands; the search goes on one character later.
            open = line.find(kOpen, open + 1);
        }
    }
    page.append(line.substr(copied));
    page.append("\r\n");
}

}  // namespace

std::string webPageTemplateName(const std::string& fieldText) {
    return trimSpaces(fieldText);
}

std::string webPageOutputName(const std::string& templateName) {
    std::string output;
    for (const char c : trimSpaces(templateName)) {
        if (c == '.') output += '2';
        output += c;
    }
    return output;
}

std::string fillWebPage(const std::string& templateText, const WebPageValues& values) {
    std::string page;
    const std::string_view text = templateText;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        fillLine(text.substr(start, end - start), values, page);
        start = end + 1;
        if (text.substr(end, 2) == "\r\n") ++start;
    }
    return page;
}

}  // namespace plx
