#pragma once
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace plx {

// A timer control: fires onTimer every interval while enabled; an interval of 0 stops it.
class Timer {
public:
    Timer(Platform& platform, int intervalMs, bool enabled = true);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int interval() const { return interval_; }
    void setInterval(int intervalMs);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> onTimer;

private:
    void rearm();

    std::unique_ptr<TimerPort> port_;
    int interval_;
    bool enabled_;
};

}  // namespace plx
