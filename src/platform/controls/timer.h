#pragma once
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace plx {

// A timer control: fires onTimer every interval; an interval of 0 stops it.
class Timer {
  public:
    Timer(Platform& platform, int intervalMs);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int interval() const { return interval_; }
    void setInterval(int intervalMs);

    std::function<void()> onTimer;

  private:
    void rearm();

    std::unique_ptr<TimerPort> port_;
    int interval_;
};

}  // namespace plx
