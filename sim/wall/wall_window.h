#pragma once
// The wall as a window: one LED panel per terminal in a grid that follows the window's
// width, and a status line with the datagrams that were not frames.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "led_attribute.h"
#include "wall_model.h"

class QGridLayout;
class QLabel;

namespace plx::wall {

class LedPanel;

class WallWindow : public QWidget {
  public:
    explicit WallWindow(const WallModel& model, QWidget* parent = nullptr);
    WallWindow(const WallWindow&) = delete;
    WallWindow& operator=(const WallWindow&) = delete;

    // The model changed: repaint the panels and the status line.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void arrange();
    void tick();

    const WallModel& model_;
    FlashPhase phase_ = FlashPhase::First;
    QElapsedTimer clock_;
    QTimer flashTimer_;
    std::vector<LedPanel*> panels_;  // owned by the grid's widget
    QWidget* grid_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
    QLabel* status_ = nullptr;
    int columns_ = 0;
};

}  // namespace plx::wall
