#include "platform/qt/window_placement.h"

#include <algorithm>
#include <compare>
#include <cstdlib>

namespace plx::qtp {
namespace {

constexpr int kGap = 8;  // px between two windows side by side
// px: the step of a cascade where the window system draws no title bar (a bare X server)
constexpr int kLeastTitleBar = 16;
// The beginning of a title bar that stays in sight, in title bar heights: its icon and the
// first words of its caption, where a cascade leaves it.
constexpr int kTitleStartWidth = 3;

long long areaOf(const QRect& rect) {
    return rect.isEmpty() ? 0 : static_cast<long long>(rect.width()) * rect.height();
}

long long hiddenOf(const QRect& place, const std::vector<QRect>& rects) {
    long long hidden = 0;
    for (const QRect& rect : rects) hidden += areaOf(place.intersected(rect));
    return hidden;
}

// A start moved back between low and high; low wins where the window is the larger, so its
// title bar stays on the screen.
int slide(int start, int low, int high) {
    return std::max(std::min(start, high), low);
}

// The coordinates, along one axis, where a window of `length` may best start: against the
// screen's edges, level with or beside each window and each part of the main window to keep
// clear, just clear of each title bar's beginning (the cascade); each slid onto the screen.
std::vector<int> startsAlong(bool vertical, int length, int titleBar, const Surroundings& around) {
    const auto first = [vertical](const QRect& r) { return vertical ? r.top() : r.left(); };
    const auto last = [vertical](const QRect& r) { return vertical ? r.bottom() : r.right(); };
    std::vector<int> starts{first(around.screen), last(around.screen) + 1 - length};
    const auto beside = [&](const QRect& r) {
        starts.push_back(first(r) - kGap - length);
        starts.push_back(last(r) + 1 + kGap);
    };
    starts.push_back(first(around.main));
    beside(around.main);
    for (const QRect& window : around.open) {
        starts.push_back(first(window));
        // Just clear of the beginning of its title bar: below it, or right of it.
        starts.push_back(first(window) + (vertical ? titleBar : kTitleStartWidth * titleBar));
        beside(window);
    }
    for (const QRect& part : around.keepClear) beside(part);
    for (int& start : starts) {
        start = slide(start, first(around.screen), last(around.screen) + 1 - length);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

// What a place costs, compared rule by rule in the order of the header's rules.
struct Cost {
    long long keepClear = 0;    // px² of the main window's title bar and buttons hidden
    long long titleStarts = 0;  // px² of the beginnings of our windows' title bars hidden
    long long main = 0;         // px² of the main window hidden
    double others = 0;          // the largest share of any other window and its margin hidden
    int distance = 0;           // px between the place and the main window
    int side = 0;               // 0 right of it, 1 left, 2 below, 3 above, 4 over it
    int along = 0;              // px from its top (or left) edge along that side
    auto operator<=>(const Cost&) const = default;
};

Cost costOf(const QRect& place, int titleBar, const Surroundings& around) {
    Cost cost;
    const QRect& main = around.main;
    cost.keepClear = hiddenOf(place, around.keepClear);
    for (const QRect& window : around.open) {
        const QSize start(std::min(window.width(), kTitleStartWidth * titleBar), titleBar);
        cost.titleStarts += areaOf(place.intersected(QRect(window.topLeft(), start)));
        // With its margin: a window a pixel or two from another looks stuck to it.
        const QRect spaced = window.adjusted(-kGap, -kGap, kGap, kGap);
        cost.others = std::max(cost.others,
                               double(areaOf(place.intersected(spaced))) / double(areaOf(spaced)));
    }
    cost.main = areaOf(place.intersected(main));
    const int apartX =
        std::max({0, place.left() - main.right() - 1, main.left() - place.right() - 1});
    const int apartY =
        std::max({0, place.top() - main.bottom() - 1, main.top() - place.bottom() - 1});
    cost.distance = std::max(apartX, apartY);
    const int alongTop = std::abs(place.top() - main.top());
    const int alongLeft = std::abs(place.left() - main.left());
    if (place.left() > main.right()) {
        cost.side = 0;
        cost.along = alongTop;
    } else if (place.right() < main.left()) {
        cost.side = 1;
        cost.along = alongTop;
    } else if (place.top() > main.bottom()) {
        cost.side = 2;
        cost.along = alongLeft;
    } else if (place.bottom() < main.top()) {
        cost.side = 3;
        cost.along = alongLeft;
    } else {
        cost.side = 4;
        cost.along = alongTop + alongLeft;
    }
    return cost;
}

}  // namespace

QPoint placeOpenedWindow(const QSize& size, const Surroundings& around) {
    const int titleBar = std::max(around.titleBar, kLeastTitleBar);
    const std::vector<int> lefts = startsAlong(false, size.width(), titleBar, around);
    const std::vector<int> tops = startsAlong(true, size.height(), titleBar, around);
    QPoint best(lefts.front(), tops.front());
    Cost least = costOf(QRect(best, size), titleBar, around);
    for (const int left : lefts) {
        for (const int top : tops) {
            const Cost cost = costOf(QRect(QPoint(left, top), size), titleBar, around);
            if (cost < least) {
                least = cost;
                best = QPoint(left, top);
            }
        }
    }
    return best;
}

}  // namespace plx::qtp
