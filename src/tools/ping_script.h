#pragma once
// The reachability test's script: for each selected terminal its list entry and one echo
// request, a separator line for every row, and a wait for the operator at the end.

#include <string>
#include <vector>

namespace plx {

struct PingRow {
    std::string entry;  // the whole list entry: number, type, address, description
    bool selected = false;
};

// One echo request of 10 bytes, waiting at most 0.5 s for the reply (iputils ping takes
// the timeout in seconds, fractions allowed).
inline const std::string kPingOptions = "-c 1 -s 10 -W 0.5";

// The text as one shell word that the shell takes literally, whatever it holds.
std::string shellQuote(const std::string& text);

// A POSIX shell script, lines ending LF. Entries and addresses are quoted, so the script
// echoes and pings them and runs nothing else.
std::string pingScript(const std::vector<PingRow>& rows);

// The same for cmd.exe, lines ending CR LF: "@ECHO OFF", per row "ECHO" the entry and
// "PING" its address with "-l 10 -n 1 -w 500" when selected and a dash line, then "PAUSE ".
// Every character cmd would act on is escaped, so entries and addresses are echoed and
// pinged literally and nothing else runs.
std::string pingBatchFile(const std::vector<PingRow>& rows);

}  // namespace plx
