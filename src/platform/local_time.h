#pragma once
#include <string>

namespace plx {

// Wall-clock time of day and date, as the operator reads them.
struct LocalTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;

    // "HH:MM:SS", 24-hour.
    std::string timeText() const;
    // "DD-MM-YYYY".
    std::string dateText() const;
    // "HHMM".
    std::string hourMinuteText() const;
};

}  // namespace plx
