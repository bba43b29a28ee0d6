#include "platform/local_time.h"

#include <cstdio>

namespace plx {

std::string LocalTime::timeText() const {
    char text[16];
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
