#pragma once
// The wall where its output is no terminal (a pipe, a file): instead of a drawing, a line
// for each change, as it comes, which a pipe through tee or a log file keeps whole.

#include <cstdint>
#include <string>
#include <vector>

#include "wall_model.h"

namespace plx::wall {

class LineWall {
  public:
    explicit LineWall(const WallModel& model);

    // The lines for what changed since the last call: a terminal that shows another value
    // or other colours, one that cannot listen, datagrams that were not frames.
    std::vector<std::string> changes();

  private:
    struct Told {
        Binding binding = Binding::Pending;
        bool lit = false;
        TerminalFrame shown;
    };
    const WallModel& model_;
    std::vector<Told> told_;  // per terminal, what the last lines said
    std::uint64_t malformedTold_ = 0;
};

}  // namespace plx::wall
