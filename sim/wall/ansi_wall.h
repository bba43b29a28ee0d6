#pragma once
// The wall in a text terminal: a compact grid of terminals drawn with ANSI colours, redrawn
// in place on the terminal's alternate screen, which is left as it was at the end.

#include <array>
#include <cstdio>
#include <string>

#include "led_attribute.h"
#include "wall_model.h"

namespace plx::wall {

class AnsiWall {
  public:
    // Draws on `out`, which must be a terminal; takes its alternate screen at once.
    AnsiWall(const WallModel& model, std::FILE* out);
    // Gives the terminal back: main screen, cursor, colours.
    ~AnsiWall();
    AnsiWall(const AnsiWall&) = delete;
    AnsiWall& operator=(const AnsiWall&) = delete;

    void draw(FlashPhase phase);
    // Draws only when flashing characters have turned since the last drawing.
    void drawOnPhaseChange(FlashPhase phase);

  private:
    std::string screen(FlashPhase phase, int width, int height) const;
    using Cell = std::array<std::string, 3>;  // the lines of one terminal
    Cell cell(const TerminalState& terminal, FlashPhase phase) const;

    const WallModel& model_;
    std::FILE* const out_;
    FlashPhase drawnPhase_ = FlashPhase::First;
};

}  // namespace plx::wall
