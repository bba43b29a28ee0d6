#include "platform/qt/window_placement.h"

#include <algorithm>

namespace plx::qtp {
namespace {

constexpr int kGap = 8;  // px between two windows side by side

// A start moved back between low and high; low wins where the window is the larger, so its
// title bar stays on the screen.
int slide(int start, int low, int high) {
    return std::max(std::min(start, high), low);
}

// The places along one side of the main window: level with its top (or left) edge, then
// after each open window, in order; each slid back onto the screen along that side.
std::vector<QRect> alongSide(QPoint first, bool downwards, const QSize& size, const QRect& screen,
                             const std::vector<QRect>& open) {
    std::vector<int> starts{downwards ? first.y() : first.x()};
    std::vector<int> after;
    for (const QRect& window : open)
        after.push_back(downwards ? window.bottom() + 1 + kGap : window.right() + 1 + kGap);
    std::sort(after.begin(), after.end());
    starts.insert(starts.end(), after.begin(), after.end());
    std::vector<QRect> places;
    for (int start : starts) {
        if (downwards) {
            start = slide(start, screen.top(), screen.bottom() + 1 - size.height());
            places.emplace_back(QPoint(first.x(), start), size);
        } else {
            start = slide(start, screen.left(), screen.right() + 1 - size.width());
            places.emplace_back(QPoint(start, first.y()), size);
        }
    }
    return places;
}

}  // namespace

QPoint besideMainWindow(const QRect& main, const QSize& size, const QRect& screen,
                        const std::vector<QRect>& open) {
    const QPoint right(main.right() + 1 + kGap, main.top());
    std::vector<QRect> places;
    for (const auto& [first, downwards] :
         {std::pair{right, true},
          std::pair{QPoint(main.left() - kGap - size.width(), main.top()), true},
          std::pair{QPoint(main.left(), main.bottom() + 1 + kGap), false},
          std::pair{QPoint(main.left(), main.top() - kGap - size.height()), false}}) {
        const auto side = alongSide(first, downwards, size, screen, open);
        places.insert(places.end(), side.begin(), side.end());
    }
    // The place on the screen that hides the least of any open window, the first of equals:
    // every window keeps as much of itself in sight as can be.
    const QRect* best = nullptr;
    double leastHidden = 0;
    for (const QRect& place : places) {
        if (!screen.contains(place)) continue;
        double hidden = 0;
        for (const QRect& window : open) {
            const QRect both = window.intersected(place);
            hidden = std::max(hidden, double(both.width()) * both.height() /
                                          (double(window.width()) * window.height()));
        }
        if (best == nullptr || hidden < leastHidden) {
            best = &place;
            leastHidden = hidden;
        }
    }
    if (best != nullptr) return best->topLeft();
    return QPoint(slide(right.x(), screen.left(), screen.right() + 1 - size.width()),
                  slide(right.y(), screen.top(), screen.bottom() + 1 - size.height()));
}

}  // namespace plx::qtp
