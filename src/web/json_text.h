#pragma once
// JSON as the web console writes and reads it. The gateway's text is 8-bit (Latin-1, or the
// code page on Windows); JSON is UTF-8: each character goes over as itself, and one the
// 8-bit set lacks comes back as "?".

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace plx {

// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);

// The fields of a flat JSON object as a command sends them: texts, whole numbers, lists of
// whole numbers, each name once. Nothing, and `error` says what is wrong, for anything else.
using JsonValue = std::variant<std::string, long long, std::vector<long long>>;
using JsonFields = std::map<std::string, JsonValue>;
std::optional<JsonFields> parseJsonObject(std::string_view json, std::string& error);

// The field as the kind a command expects (std::string, long long or std::vector<long long>);
// nothing when it is missing, and also when it holds another kind, which `error` then names.
template <class Kind>
std::optional<Kind> jsonField(const JsonFields& fields, const std::string& name,
                              std::string& error) {
    const auto found = fields.find(name);
    if (found == fields.end()) return std::nullopt;
    if (const Kind* value = std::get_if<Kind>(&found->second)) return *value;
    error = "\"" + name + "\" must be " +
            (std::is_same_v<Kind, std::string> ? "a text"
             : std::is_same_v<Kind, long long> ? "a whole number"
                                               : "a list of whole numbers");
    return std::nullopt;
}

}  // namespace plx
