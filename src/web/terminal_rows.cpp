#include "web/terminal_rows.h"

#include "console/f_main.h"
#include "display/terminal_frame.h"
#include "gateway/gateway.h"
#include "shared/list_entry.h"
#include "web/json_text.h"

namespace plx {
namespace {

constexpr std::size_t kValueCharacters = 4;  // then two blanks and the colour character

std::string rowJson(const SharedState& state, std::size_t row, const std::string& entry,
                    const std::string& value, long long sentAtMs, long long nowMs) {
    const ListEntry fields = ListEntry::of(entry);
    std::string json = "{\"row\":" + std::to_string(row);
    json += ",\"number\":" + jsonString(fields.number);
    json += ",\"type\":" + jsonString(fields.type);
    json += ",\"address\":" + jsonString(fields.address);
    json += ",\"description\":" + jsonString(fields.description);
    if (value.empty()) return json + ",\"value\":null}";
    // Drawn as the terminal shows it: the characters in the colour pattern's attributes.
    const char colour = value.back();
    json += ",\"value\":" + jsonString(value.substr(0, kValueCharacters));
    json += ",\"colour\":" + jsonString(std::string(1, colour));
    json += ",\"pattern\":" + jsonString(colourPattern(colour, state.TAB_COLOR_PATERN));
    return json + ",\"sentSecondsAgo\":" + std::to_string((nowMs - sentAtMs) / 1000) + "}";
}

}  // namespace

void TerminalRows::refresh(Gateway& gateway) {
    const ListBox& list = gateway.window<F_MAIN>().LST_PRODUIT;
    const SharedState& state = gateway.state();
    const auto count = static_cast<std::size_t>(list.count());
    bool listChanged = count != rows_.size();
    for (std::size_t row = 0; row < count && !listChanged; ++row)
        listChanged = rows_[row].entry != list.text(static_cast<int>(row));
    const long long next = version_ + 1;
    if (listChanged) {
        rows_.assign(count, Row{});
        for (std::size_t row = 0; row < count; ++row)
            rows_[row].entry = list.text(static_cast<int>(row));
        listVersion_ = next;
    }
    bool changed = listChanged;
    for (std::size_t row = 0; row < count && row < state.TAB_AFF_VALUE.size(); ++row) {
        Row& seen = rows_[row];
        if (!listChanged && seen.value == state.TAB_AFF_VALUE[row] &&
            seen.sentAtMs == state.TAB_AFF_TIME[row])
            continue;
        seen.value = state.TAB_AFF_VALUE[row];
        seen.sentAtMs = state.TAB_AFF_TIME[row];
        seen.version = next;
        changed = true;
    }
    if (changed) version_ = next;
}

std::string TerminalRows::json(Gateway& gateway, long long since) const {
    const bool full = since < listVersion_;
    const long long nowMs = gateway.platform().uptimeMs();
    std::string json = "{\"version\":" + std::to_string(version_) +
                       ",\"full\":" + (full ? "true" : "false") + ",\"terminals\":[";
    bool first = true;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const Row& seen = rows_[row];
        if (!full && seen.version <= since) continue;
        if (!first) json += ',';
        first = false;
        json += rowJson(gateway.state(), row, seen.entry, seen.value, seen.sentAtMs, nowMs);
    }
    return json + "]}";
}

}  // namespace plx
