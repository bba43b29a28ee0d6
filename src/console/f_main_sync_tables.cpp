// The terminal tables that every lookup reads instead of the list.
#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "shared/global.h"
#include "shared/numeric_text.h"

namespace plx {

bool F_MAIN::SYNC_TABLES() {
    return indexRows() < 0;
}

int F_MAIN::indexRows() {
    SharedState& state = gateway_.state();
    state.TAB_ROW_OF_NO.fill(kNoRow);
    state.TAB_NO_OF_ROW.fill(0);
    state.ROW_COUNT = LST_PRODUIT.count();
    for (int row = 0; row < kMaxRows; ++row) {
        state.TAB_TYPE[row].clear();
        state.TAB_IP[row].clear();
        state.TAB_DESCRIPTION[row].clear();
    }
    for (int row = 0; row < LST_PRODUIT.count(); ++row) {
        const std::string& entry = LST_PRODUIT.text(row);
        const auto number = wholeNumber(EXTRACT_FIELD(entry, ",", 1));
        if (!number || *number < 0 || *number >= kTerminalNumbers) return row;
        // A row beyond the tables has its number entered before it stops the rebuild.
        state.TAB_ROW_OF_NO[*number] = static_cast<std::uint16_t>(row);
        if (row >= kMaxRows) return row;
        state.TAB_TYPE[row] = EXTRACT_FIELD(entry, ",", 2);
        state.TAB_IP[row] = EXTRACT_FIELD(entry, ",", 3);
        state.TAB_DESCRIPTION[row] = EXTRACT_FIELD(entry, ",", 4);
        state.TAB_NO_OF_ROW[row] = *number;
        LST_PRODUIT.setItemData(row, *number);
    }
    return -1;
}

void F_MAIN::syncTablesAndWarn() {
    const int row = indexRows();
    if (row < 0) return;
    // The line stays in the list and in the file; the operator learns why the terminals
    // from there on do not display anything. A runaway line is quoted by its start only.
    constexpr std::size_t kQuotedCharacters = 80;
    const std::string& entry = LST_PRODUIT.text(row);
    const std::string quoted =
        entry.size() <= kQuotedCharacters ? entry : entry.substr(0, kQuotedCharacters) + "...";
    gateway_.window<F_EVENTS>().ADD_EVENTS(
        -1, "Warning",
        "Products.cfg line " + std::to_string(row + 1) +
            " cannot be indexed, it and the lines after it get no "
            "commands: " +
            quoted,
        true);
}

}  // namespace plx
