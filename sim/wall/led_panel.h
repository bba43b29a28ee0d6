#pragma once
// One terminal on the wall: a dark panel with its four-character LED display, its number,
// address and frame count, and what went wrong with it, if anything.

#include <QWidget>

#include "led_attribute.h"
#include "wall_model.h"

namespace plx::wall {

class LedPanel : public QWidget {
  public:
    static constexpr int kWidth = 250;   // pixels: four 38-pixel characters with dots, margins
    static constexpr int kHeight = 172;  // pixels: display, two text lines

    LedPanel(const WallModel& model, std::size_t row, const FlashPhase& phase, QWidget* parent);
    LedPanel(const LedPanel&) = delete;
    LedPanel& operator=(const LedPanel&) = delete;

    QSize sizeHint() const override { return {kWidth, kHeight}; }
    // Whether the display shows a flashing character, so only those repaint at each phase.
    bool flashing() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintDisplay(QPainter& painter, const QRectF& window) const;
    void paintCaptions(QPainter& painter, const QRectF& area) const;

    const WallModel& model_;
    const std::size_t row_;
    const FlashPhase& phase_;
};

}  // namespace plx::wall
