#include "console/terminal_tables.h"

#include "shared/list_entry.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"

namespace plx {

int rebuildTerminalTables(SharedState& state, const std::vector<std::string>& entries) {
    state.TAB_ROW_OF_NO.fill(kNoRow);
    state.TAB_NO_OF_ROW.fill(0);
    state.ROW_COUNT = static_cast<int>(entries.size());
    for (int row = 0; row < kMaxRows; ++row) {
        state.TAB_TYPE[row].clear();
        state.TAB_IP[row].clear();
        state.TAB_DESCRIPTION[row].clear();
    }
    for (int row = 0; row < state.ROW_COUNT; ++row) {
        ListEntry entry = ListEntry::of(entries[static_cast<std::size_t>(row)]);
        const auto number = wholeNumber(entry.number);
        if (!number || *number < 0 || *number >= kTerminalNumbers) return row;
        // A row beyond the tables has its number entered before it stops the rebuild.
        state.TAB_ROW_OF_NO[*number] = static_cast<std::uint16_t>(row);
        if (row >= kMaxRows) return row;
        state.TAB_TYPE[row] = std::move(entry.type);
        state.TAB_IP[row] = std::move(entry.address);
        state.TAB_DESCRIPTION[row] = std::move(entry.description);
        state.TAB_NO_OF_ROW[row] = *number;
    }
    return -1;
}

}  // namespace plx
