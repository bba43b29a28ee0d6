#include "platform/local_time.h"

#include <cstdio>

namespace plx {

std::string LocalTime::timeText() const {
    // Every logged event starts with it: the clock's own values are written digit by digit.
    if (hour >= 0 && hour < 100 && minute >= 0 && minute < 100 && second >= 0 && second < 100) {
        return {static_cast<char>('0' + hour / 10),   static_cast<char>('0' + hour % 10),   ':',
                static_cast<char>('0' + minute / 10), static_cast<char>('0' + minute % 10), ':',
                static_cast<char>('0' + second / 10), static_cast<char>('0' + second % 10)};
    }
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    return text;
}

std::string LocalTime::dateText() const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", day, month, year);
    return text;
}

std::string LocalTime::hourMinuteText() const {
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d", hour, minute);
    return text;
}

}  // namespace plx
