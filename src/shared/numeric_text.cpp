#include "shared/numeric_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace plx {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isExponentMark(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Value of c as a digit of the given radix (8 or 16), -1 when it is none.
int radixDigit(char c, int radix) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < radix ? value : -1;
}

// Digits after &H or &O. The sum saturates rather than wrapping: any value past 2^60 is
// far outside every range a caller checks.
double readRadixDigits(std::string_view digits, int radix) {
    constexpr std::uint64_t kSaturation = std::uint64_t{1} << 60;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = radixDigit(c, radix);
        if (digit < 0) break;
        value = value >= kSaturation ? kSaturation : value * radix + digit;
    }
    return static_cast<double>(value);
}

// Sign, digits, fraction and exponent, each part optional, read from the front of text.
double readDecimal(std::string_view text) {
    std::string number;  // the accepted part, in the form from_chars reads
    std::size_t at = 0;
    const auto take = [&](auto accept) {
        while (at < text.size() && accept(text[at])) number += text[at++];
    };
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    take(isDigit);
    if (at < text.size() && text[at] == '.') {
        number += text[at++];
        take(isDigit);
    }
    if (number.find_first_of("0123456789") == std::string::npos) return 0.0;
    bool negativeExponent = false;
    if (at < text.size() && isExponentMark(text[at])) {
        std::size_t next = at + 1;
        if (next < text.size() && (text[next] == '+' || text[next] == '-')) ++next;
        if (next < text.size() && isDigit(text[next])) {
            negativeExponent = text[at + 1] == '-';
            number += 'e';
            number.append(text.substr(at + 1, next - at - 1));
            at = next;
            take(isDigit);
        }
    }
    // from_chars does not depend on the process locale (a decimal comma would misread).
    double value = 0.0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

}  // namespace

double readLenientNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (const char c : text) {
        if (!isBlank(c)) compact += c;
    }
    const std::string_view number = compact;
    if (number.size() >= 2 && number[0] == '&') {
        if (number[1] == 'H' || number[1] == 'h') return readRadixDigits(number.substr(2), 16);
        if (number[1] == 'O' || number[1] == 'o') return readRadixDigits(number.substr(2), 8);
        return 0.0;
    }
    return readDecimal(number);
}

std::optional<int> wholeNumber(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    const std::string number(text.substr(first, last - first));
    std::size_t start = (!number.empty() && (number[0] == '+' || number[0] == '-')) ? 1 : 0;
    if (start == number.size()) return std::nullopt;
    for (std::size_t i = start; i < number.size(); ++i) {
        if (!isDigit(number[i])) return std::nullopt;
    }
    errno = 0;
    const long value = std::strtol(number.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::uint16_t> portNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const auto digits = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    unsigned value = 0;
    for (const char c : digits) {
        if (!isDigit(c)) return std::nullopt;
        value = std::min(value * 10 + static_cast<unsigned>(c - '0'), 65536u);
    }
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string fourDigits(long long number) {
    // A terminal number, at every event of a terminal: written digit by digit.
    if (number >= 0 && number <= 9999) {
        std::string text(4, '0');
        for (int at = 3; number > 0; --at, number /= 10)
            text[at] = static_cast<char>('0' + number % 10);
        return text;
    }
    // The sign stands before the four digits, as the "0000" format writes it.
    char text[32];
    if (number < 0) {
        std::snprintf(text, sizeof text, "-%04llu", 0ull - static_cast<unsigned long long>(number));
    } else {
        std::snprintf(text, sizeof text, "%04lld", number);
    }
    return text;
}

std::string trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace plx
