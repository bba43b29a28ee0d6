#pragma once
// Where a window opened from the main window first appears. The rules, each giving way only
// to the ones before it:
//   1. wholly on the screen (one larger than the screen with its top-left corner on it);
//   2. never over the main window's title bar or its buttons, where the screen allows;
//   3. never over the beginning of another of our windows' title bar (its icon, the first
//      words of its caption): where it would open on one's place, it goes a title bar
//      lower, as a desktop cascades its windows;
//   4. hiding as little of the main window as it can: nothing where the screen has room;
//   5. hiding as little as it can of any other of our windows;
//   6. nearest the main window: on its right, else its left, below, above; along that side
//      as near its top (or left) edge as it can.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace plx::qtp {

// What a new window finds on the screen; every rectangle frame included, in screen pixels.
struct Surroundings {
    QRect screen;                  // where windows may go: the screen less its panels
    QRect main;                    // the main window
    std::vector<QRect> keepClear;  // what of it is never hidden: its title bar, its buttons
    std::vector<QRect> open;       // our other windows in sight
    int titleBar = 0;              // px: the band atop each window that its title bar takes
};

// The top-left corner of the frame of a window of `size`.
QPoint placeOpenedWindow(const QSize& size, const Surroundings& around);

}  // namespace plx::qtp
