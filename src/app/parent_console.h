#pragma once
// On Windows the gateway is a program with windows, which gets no console of its own: no
// console window stands beside it, and none can end it by being closed. What it writes on
// standard output and error (the answers to --help and --version, the journal of a headless
// run) goes where its parent sent it: a pipe or a file when it was redirected, else the
// parent's console when it was started from one. Elsewhere a program's output is always
// where its parent put it.

namespace plx::app {

#ifdef _WIN32
void useParentConsole();
#else
inline void useParentConsole() {}
#endif

}  // namespace plx::app
