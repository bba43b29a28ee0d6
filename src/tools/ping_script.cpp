#include "tools/ping_script.h"

#include "shared/global.h"

namespace plx {
namespace {

constexpr int kSeparatorWidth = 80;  // dashes between rows, as wide as a console line

std::string echoLine(const std::string& text) {
    return "printf '%s\\n' " + shellQuote(text) + "\n";
}

}  // namespace

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";  // close the quote, one escaped quote, open again
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string pingScript(const std::vector<PingRow>& rows) {
    std::string script = "#!/bin/sh\n";
    const std::string separator = echoLine(std::string(kSeparatorWidth, '-'));
    for (const PingRow& row : rows) {
        if (row.selected) {
            script += echoLine(row.entry);
            // "--" so that an address starting with "-" is never read as an option.
            script += "ping " + kPingOptions + " -- " +
                      shellQuote(EXTRACT_FIELD(row.entry, ",", 3)) + "\n";
        }
        script += separator;
    }
    script += "printf '%s' 'Press Enter to continue . . . '\n";
    script += "read -r answer\n";
    return script;
}

}  // namespace plx
