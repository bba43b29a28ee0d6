#include "console/terminal_entry.h"

#include <cmath>
#include <optional>
#include <utility>

#include "shared/global.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"

namespace plx {
namespace {

TerminalEntryCheck refused(std::string message, bool numberRefused = false) {
    return {false, std::move(message), numberRefused, {}, false};
}

// A byte below 0x20 or 0x7F, where the field has one: it would break the list entry's line or
// forge a line of the log when the entry is logged.
std::optional<int> controlCharacter(const std::string& field) {
    for (const char c : field) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F) return code;
    }
    return std::nullopt;
}

// The numbers the terminal tables can index; 0 is refused before this, without a message.
bool isTerminalNumber(double number) {
    return number >= 1 && number < kTerminalNumbers && number == std::floor(number);
}

}  // namespace

TerminalEntryCheck checkTerminalEntry(const std::vector<std::string>& entries, int editedRow,
                                      const TypedTerminal& typed) {
    const std::pair<const std::string&, const char*> fields[] = {
        {typed.number, "terminal number"},
        {typed.address, "IP address"},
        {typed.description, "description"}};
    for (const auto& [field, name] : fields) {
        if (const auto code = controlCharacter(field)) {
            return refused("Error the " + std::string(name) + " holds a control character (code " +
                               std::to_string(*code) + ")",
                           &field == &typed.number);  // the focus goes back to a number
        }
    }
    const double number = readLenientNumber(typed.number);
    if (number == 0) return refused({}, true);
    // Beyond 9999, below 1 or fractional, the terminal could never be found by its number.
    if (!isTerminalNumber(number))
        return refused("Error the terminal number must be a whole number from 1 to 9999", true);
    const bool adding = editedRow < 0;
    if (adding && entries.size() >= kMaxRows)
        return refused("Error the terminal list is full (" + std::to_string(kMaxRows) +
                       " terminals)");

    const std::string address = trimSpaces(typed.address);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        if (static_cast<int>(row) == editedRow) continue;  // it may keep its own values
        const double other = readLenientNumber(EXTRACT_FIELD(entries[row], ",", 1));
        if (other == number) return refused("Error this terminal number is already in use");
        if (EXTRACT_FIELD(entries[row], ",", 3) == address) {
            return refused("Error this IP address is already in use (Terminal:" +
                           fourDigits(std::llround(other)) + ")");
        }
    }

    TerminalEntryCheck accepted{true, {}, false, {}, false};
    accepted.entry =
        fourDigits(static_cast<long long>(number)) + ",," + address + "," + typed.description;
    if (!adding) {
        const std::string& before = entries.at(static_cast<std::size_t>(editedRow));
        accepted.anotherTerminal = readLenientNumber(EXTRACT_FIELD(before, ",", 1)) != number ||
                                   EXTRACT_FIELD(before, ",", 3) != address;
    }
    return accepted;
}

}  // namespace plx
