// The ping script over any terminal list: read back as the shell reads it (words, single
// quotes, escaped quotes, commands ended by line ends), it holds exactly the expected
// commands, and every entry and address stands inside single quotes, whole and unchanged.
#include <optional>
#include <string>
#include <vector>

#include "shared/global.h"
#include "fuzz_check.h"
#include "tools/ping_script.h"

namespace {

constexpr std::size_t kMaxRows = 24;  // rows per list: selected and unselected mixed

struct Word {
    std::string text;
    bool literal = true;  // no character outside quotes except escaped quotes
};
using Command = std::vector<Word>;

// The shell's reading of the script, as far as the script may use it; nothing when the
// script uses anything else (an unfinished quote, a stray backslash).
std::optional<std::vector<Command>> shellCommands(const std::string& script) {
    std::vector<Command> commands(1);
    std::optional<Word> word;
    const auto endWord = [&] {
        if (word) commands.back().push_back(*word);
        word.reset();
    };
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c == ' ' || c == '\n') {
            endWord();
            if (c == '\n') commands.emplace_back();
        } else if (c == '\'') {
            const std::size_t close = script.find('\'', i + 1);
            if (close == std::string::npos) return std::nullopt;
            if (!word) word.emplace();
            word->text += script.substr(i + 1, close - i - 1);
            i = close;
        } else if (c == '\\') {
            if (i + 1 >= script.size() || script[i + 1] != '\'') return std::nullopt;
            if (!word) word.emplace();
            word->text += '\'';
            ++i;
        } else {
            if (!word) word.emplace();
            word->text += c;
            word->literal = false;
        }
    }
    endWord();
    if (commands.back().empty()) commands.pop_back();
    return commands;
}

// A command of fixed words followed by one quoted word holding `argument`.
bool isCommand(const Command& command, const std::vector<std::string>& fixed,
               const std::string& argument) {
    if (command.size() != fixed.size() + 1) return false;
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (command[i].text != fixed[i]) return false;
    }
    return command.back().literal && command.back().text == argument;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<plx::PingRow> rows(input.ConsumeIntegralInRange<std::size_t>(0, kMaxRows));
    for (auto& row : rows) {
        row.selected = input.ConsumeBool();
        row.entry = input.ConsumeRandomLengthString(80);
    }
    const std::string script = plx::pingScript(rows);

    const std::string shebang = "#!/bin/sh\n";
    FUZZ_CHECK(script.compare(0, shebang.size(), shebang) == 0);
    const auto commands = shellCommands(script.substr(shebang.size()));
    FUZZ_CHECK(commands.has_value());

    const std::vector<std::string> echo = {"printf", "%s\\n"};
    const std::vector<std::string> ping = {"ping", "-c", "1", "-s", "10", "-W", "0.5", "--"};
    std::size_t next = 0;
    const auto expect = [&](const std::vector<std::string>& fixed, const std::string& argument) {
        FUZZ_CHECK(next < commands->size());
        FUZZ_CHECK(isCommand((*commands)[next++], fixed, argument));
    };
    for (const plx::PingRow& row : rows) {
        if (row.selected) {
            expect(echo, row.entry);
            expect(ping, plx::EXTRACT_FIELD(row.entry, ",", 3));
        }
        expect(echo, std::string(80, '-'));
    }
    expect({"printf", "%s"}, "Press Enter to continue . . . ");
    FUZZ_CHECK(next + 1 == commands->size());
    const Command& wait = (*commands)[next];
    FUZZ_CHECK(wait.size() == 3 && wait[0].text == "read" && wait[1].text == "-r" &&
               wait[2].text == "answer");
    return 0;
}
