#include "line_wall.h"

#include "report_lines.h"

namespace plx::wall {

LineWall::LineWall(const WallModel& model) : model_(model), told_(model.terminals().size()) {}

std::vector<std::string> LineWall::changes() {
    std::vector<std::string> lines;
    const auto& terminals = model_.terminals();
    for (std::size_t row = 0; row < terminals.size(); ++row) {
        const TerminalState& terminal = terminals[row];
        Told& told = told_[row];
        const bool frameChanged =
            terminal.lit && (!told.lit || terminal.shown.value != told.shown.value ||
                             terminal.shown.attributes != told.shown.attributes);
        // Listening is the usual case: the summary line counts those terminals.
        const bool cannotListen =
            terminal.binding != told.binding && terminal.binding != Binding::Listening;
        told = {terminal.binding, terminal.lit, terminal.shown};
        if (!frameChanged && !cannotListen) continue;
        std::string line =
            printableValue(terminal.entry.number) + " " + printableValue(terminal.entry.address);
        if (frameChanged) line += " [" + printableValue(terminal.shown.value) + "]";
        lines.push_back(line + " " + terminalNote(terminal).text);
    }
    if (model_.malformed() != malformedTold_) {
        lines.push_back("malformed: " + model_.lastMalformed() + " (" +
                        std::to_string(model_.malformed()) + " in all)");
        malformedTold_ = model_.malformed();
    }
    return lines;
}

}  // namespace plx::wall
