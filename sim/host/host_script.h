#pragma once
// What the simulated AS/400 application commands on the terminals at each step of its
// screen refresh: a clock on terminal 0000, a counter on every other terminal, a broadcast
// now and then and a terminal number that no list holds now and then, in colours 0 to 9
// and A. Pure rules: the same step and time always give the same frames.

#include <QByteArray>
#include <QString>
#include <QTime>
#include <vector>

namespace plx::sim {

struct ScriptSettings {
    int terminalCount = 12;             // terminals 0000 .. terminalCount - 1
    int broadcastEvery = 10;            // steps between two broadcasts
    int unknownEvery = 7;               // steps between two frames for unknownNumber
    QByteArray unknownNumber = "0999";  // a terminal number the demo list does not hold
};

// One command frame: the nine characters between "<" and ">", and what it is for.
struct HostFrame {
    QByteArray command;
    QString caption;

    friend bool operator==(const HostFrame&, const HostFrame&) = default;
};

// The colour characters the application cycles through: every default colour pattern.
inline constexpr char kColourCycle[] = "0123456789A";
inline constexpr int kColourCount = 11;
// The value a broadcast shows: every segment lit, a lamp test.
inline constexpr char kBroadcastValue[] = "8888";

// The colour of terminal `terminal` at step `step`: neighbours differ, each one cycles.
char colourAt(int terminal, int step);
// The counter terminal `terminal` shows at step `step`: it counts up by its own number.
QByteArray counterAt(int terminal, int step);

// The frames of step `step` (from 1), in screen order: the clock, the counters, then the
// unknown number and the broadcast on the steps that carry them.
std::vector<HostFrame> framesForStep(const ScriptSettings& settings, int step, QTime time);

// The frames as they stand on the screen, "<...>" each, blank-separated, for a log line.
QString framesText(const std::vector<HostFrame>& frames);

}  // namespace plx::sim
