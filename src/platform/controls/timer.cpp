#include "platform/controls/timer.h"

namespace plx {

Timer::Timer(Platform& platform, int intervalMs)
    : port_(platform.createTimer()), interval_(intervalMs) {
    port_->onTimeout = [this] {
        if (onTimer) onTimer();
    };
    rearm();
}

void Timer::setInterval(int intervalMs) {
    interval_ = intervalMs;
    rearm();
}

void Timer::rearm() {
    if (interval_ > 0) {
        port_->start(interval_);
    } else {
        port_->stop();
    }
}

}  // namespace plx
