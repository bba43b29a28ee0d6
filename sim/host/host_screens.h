#pragma once
// The VT100 screens the simulated AS/400 paints: sign-on, sign-on refused, and the
// application screen whose lines carry the command frames. Only cursor positioning,
// clears and attributes, as the host's VT100 mode sends them.

#include <QByteArray>
#include <QTime>
#include <vector>

#include "host_script.h"

namespace plx::sim {

inline constexpr char kSystemName[] = "PLX400";
// Frames fit in two columns between the title lines and the function key line; a screen
// carries at most every terminal, the unknown number and the broadcast.
inline constexpr int kFrameRows = 20;
inline constexpr int kMaxTerminals = 2 * kFrameRows - 2;
// Shown on the sign-on screen when the user or password does not match.
inline constexpr char kSignOnRefused[] = "User or password not correct.";

QByteArray signOnScreen();
QByteArray signOnRefusedScreen();
// One refresh of the application: a title, the time, one line per frame, the function keys.
QByteArray applicationScreen(const std::vector<HostFrame>& frames, int step, QTime time);

}  // namespace plx::sim
