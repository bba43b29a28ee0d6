#include "platform/controls/timer.h"

namespace plx {

Timer::Timer(Platform& platform, int intervalMs, bool enabled)
    : port_(platform.createTimer()), interval_(intervalMs), enabled_(enabled) {
    port_->onTimeout = [this] {
        if (onTimer) onTimer();
    };
    rearm();
}

void Timer::setInterval(int intervalMs) {
    interval_ = intervalMs;
    rearm();
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    rearm();
}

void Timer::rearm() {
    if (enabled_ && interval_ > 0) {
        port_->start(interval_);
    } else {
        port_->stop();
    }
}

}  // namespace plx
