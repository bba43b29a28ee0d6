#pragma once
// Where a window opened from the main window first appears.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace plx::qtp {

// The top-left corner (frame included) of a window of `size` (frame included) opened from
// the window at `main`: beside it, on its right, else its left, below or above, wholly on
// `screen`, where it hides the least of any window already `open`; where there is no room
// beside it, as near its right side as the screen allows.
QPoint besideMainWindow(const QRect& main, const QSize& size, const QRect& screen,
                        const std::vector<QRect>& open);

}  // namespace plx::qtp
