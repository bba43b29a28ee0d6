// The terminal tables that every lookup reads instead of the list.
#include <string>

#include "console/f_main.h"
#include "console/terminal_tables.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "shared/shared_state.h"

namespace plx {

bool F_MAIN::SYNC_TABLES() {
    return indexRows() < 0;
}

int F_MAIN::indexRows() {
    const SharedState& state = gateway_.state();
    const int stopped = rebuildTerminalTables(gateway_.state(), LST_PRODUIT.texts());
    const int indexed = stopped < 0 ? LST_PRODUIT.count() : std::min(stopped, kMaxRows);
    for (int row = 0; row < indexed; ++row) LST_PRODUIT.setItemData(row, state.TAB_NO_OF_ROW[row]);
    return stopped;
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
    gateway_.eventLog().ADD_EVENTS(-1, "Warning",
                                   "Products.cfg line " + std::to_string(row + 1) +
                                       " cannot be indexed, it and the lines after it get no "
                                       "commands: " +
                                       quoted,
                                   true);
}

}  // namespace plx
