#include "tools/ping_script.h"

#include <string_view>

#include "shared/list_entry.h"

namespace plx {
namespace {

constexpr int kSeparatorWidth = 80;  // dashes between rows, as wide as a console line

std::string echoLine(const std::string& text) {
    return "printf '%s\\n' " + shellQuote(text) + "\n";
}

// A line break would end the batch file's command line and start one of its own.
bool endsCommandLine(char c) {
    return c == '\r' || c == '\n';
}

// Text for a cmd.exe command line taken literally: % doubled (it is expanded before any
// quoting is seen), every other character cmd acts on behind a caret, a line break a blank.
std::string batchLiteral(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (endsCommandLine(c)) {
            escaped += ' ';
            continue;
        }
        if (c == '%') escaped += '%';
        if (std::string_view("&|<>^\"()!").find(c) != std::string_view::npos) escaped += '^';
        escaped += c;
    }
    return escaped;
}

// An address as one quoted argument of cmd.exe: blanks cannot add options to ping, and
// inside the quotes only % still acts (a quote or a line break cannot be part of an address).
std::string batchArgument(std::string text) {
    std::erase_if(text, [](char c) { return c == '"' || endsCommandLine(c); });
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '%' ? std::string("%%") : std::string(1, c);
    return quoted + "\"";
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

std::string pingBatchFile(const std::vector<PingRow>& rows) {
    const std::string separator = "ECHO " + std::string(kSeparatorWidth, '-') + "\r\n";
    std::string batch = "@ECHO OFF\r\n";
    for (const PingRow& row : rows) {
        if (row.selected) {
            batch += "ECHO " + batchLiteral(row.entry) + "\r\n";
            batch += "PING " + batchArgument(ListEntry::of(row.entry).address) +
                     " -l 10 -n 1 -w 500\r\n";
        }
        batch += separator;
    }
    return batch + "PAUSE \r\n";
}

std::string pingScript(const std::vector<PingRow>& rows) {
    std::string script = "#!/bin/sh\n";
    const std::string separator = echoLine(std::string(kSeparatorWidth, '-'));
    for (const PingRow& row : rows) {
        if (row.selected) {
            script += echoLine(row.entry);
            // "--" so that an address starting with "-" is never read as an option.
            script += "ping " + kPingOptions + " -- " +
                      shellQuote(ListEntry::of(row.entry).address) + "\n";
        }
        script += separator;
    }
    script += "printf '%s' 'Press Enter to continue . . . '\n";
    script += "read -r answer\n";
    return script;
}

}  // namespace plx
