#pragma once
// JSON as the web console writes and reads it. The gateway's text is 8-bit (Latin-1, or the
// code page on Windows); JSON is UTF-8: each character goes over as itself, and one the
// 8-bit set lacks comes back as "?".

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plx {

// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);

// The fields of a flat JSON object as a command sends them: strings, whole numbers, lists of
// whole numbers. Nothing, and `error` says what is wrong, for anything else.
struct JsonFields {
    std::map<std::string, std::string> texts;
    std::map<std::string, long long> numbers;
    std::map<std::string, std::vector<long long>> lists;
};
std::optional<JsonFields> parseJsonObject(std::string_view json, std::string& error);

}  // namespace plx
