#pragma once
// The terminal editor's checks: whether what the operator typed may enter the terminal list,
// checked against every other row, and the list entry it makes. The editor dialog shows the
// verdict; anything else that adds or edits a terminal asks the same rule.

#include <string>
#include <vector>

namespace plx {

// The editor's fields as typed.
struct TypedTerminal {
    std::string number;
    std::string address;
    std::string description;
};

struct TerminalEntryCheck {
    bool accepted = false;
    // Refused: what the operator is told (nothing when the number field holds no number at
    // all), and whether the number is what to correct, where the focus goes back.
    std::string message;
    bool numberRefused = false;
    // Accepted: the list entry ("0007,,10.1.2.3,Dock"), and whether an edited row now names
    // another terminal (another number or address) than it did.
    std::string entry;
    bool anotherTerminal = false;
};

// A field as it may enter the entry: the separator taken out, which would split it. The
// editor applies it as the operator types and pastes; checkTerminalEntry to what it is given.
std::string withoutSeparator(std::string field);

// `entries` is the list, `editedRow` the row being edited or -1 when adding. The separator
// is taken out of the address and the description; then, in this order: a control character
// (below 0x20, or 0x7F) in any field, however it came; a number that
// reads as 0 (empty, letters), then one that is not a whole number from 1 to 9999; a full
// list (1001 rows) when adding; then each other row in list order, its number
// before its address (the address compared trimmed, whole, case-sensitive), the first
// conflict deciding.
TerminalEntryCheck checkTerminalEntry(const std::vector<std::string>& entries, int editedRow,
                                      const TypedTerminal& typed);

}  // namespace plx
