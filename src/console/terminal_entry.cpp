#include "console/terminal_entry.h"

#include <cmath>
#include <optional>
#include <utility>

#include "shared/list_entry.h"
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

std::string withoutSeparator(std::string field) {
    std::erase(field, ListEntry::kSeparator);
    return field;
}

TerminalEntryCheck checkTerminalEntry(const std::vector<std::string>& entries, int editedRow,
                                      const TypedTerminal& typed) {
    const std::string typedAddress = withoutSeparator(typed.address);
    const std::string description = withoutSeparator(typed.description);
    const std::pair<const std::string&, const char*> fields[] = {{typed.number, "terminal number"},
                                                                 {typedAddress, "IP address"},
                                                                 {description, "description"}};
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

    const std::string address = trimSpaces(typedAddress);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        if (static_cast<int>(row) == editedRow) continue;  // it may keep its own values
        const ListEntry other = ListEntry::of(entries[row]);
        const double otherNumber = readLenientNumber(other.number);
        if (otherNumber == number) return refused("Error this terminal number is already in use");
        if (other.address == address) {
            return refused("Error this IP address is already in use (Terminal:" +
                           fourDigits(std::llround(otherNumber)) + ")");
        }
    }

    TerminalEntryCheck accepted{true, {}, false, {}, false};
    // The editor never writes a type.
    accepted.entry =
        ListEntry{fourDigits(static_cast<long long>(number)), {}, address, description}.line();
    if (!adding) {
        const ListEntry before = ListEntry::of(entries.at(static_cast<std::size_t>(editedRow)));
        accepted.anotherTerminal =
            readLenientNumber(before.number) != number || before.address != address;
    }
    return accepted;
}

}  // namespace plx
