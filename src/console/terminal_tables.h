#pragma once
// The terminal tables that every lookup reads instead of the list: rebuilt from the list's
// entries after every change to it (SYNC_TABLES).

#include <string>
#include <vector>

namespace plx {

struct SharedState;

// Each row's number, type, address and description, and each number's row, in row order.
// Stops at a row whose number field is no number or outside 0..9999, or at a row past the
// tables (its number entered first): returns that row, -1 when every row is indexed. The
// rows before it stay indexed, the others find nothing.
int rebuildTerminalTables(SharedState& state, const std::vector<std::string>& entries);

}  // namespace plx
