#pragma once
// The event log: the one service through which every subsystem reports what it does
// (ADD_EVENTS). It keeps the last 350 events as data for the event window and the web
// console, appends each line to the day's file when file logging is on or the caller forces
// it, and gives the journal what the file always receives. A line's text is made when it is
// read: an event that nobody reads before 350 newer ones push it out costs none.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "eventlog/journal_priority.h"
#include "platform/local_time.h"

namespace plx {

class Platform;
struct SharedState;

// One event as it was logged, what its line is made from.
struct Event {
    LocalTime time{0, 0, 0};
    std::string mode;
    int terminal = -1;  // the number of the terminal it concerns; -1: the host side
    std::string host;   // the host side's connect address at the time
    std::string text;
};

class EventLog {
  public:
    static constexpr int kMaxLines = 350;

    EventLog(Platform& platform, SharedState& state);
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Index: a row of the terminal list, or -1 for the host side. SW_LOG_ALL: to the file
    // even while file logging is off, and then to the journal too, with the priority the
    // event's kind gives it.
    void ADD_EVENTS(int Index, std::string_view THE_MODE, std::string_view THE_EVENT,
                    bool SW_LOG_ALL, EventKind kind = EventKind::Routine);

    // The line of an event, "14:05:09 CMD:0042,<...>", and its source, "0042" or
    // "Server [10.1.200.1]": made here and nowhere else.
    static std::string line(const Event& event);
    static std::string source(const Event& event);
    // A line read back, as a day's file holds it (its time without a date); nothing for a
    // line that is not an event's (the file's header).
    static std::optional<Event> parse(std::string_view line);

    // The window's events, oldest first, at most 350.
    int count() const { return count_; }
    const Event& event(int i) const { return events_[(first_ + i) % kMaxLines]; }
    std::string line(int i) const { return line(event(i)); }
    // Events listed since the start: the newest of the window is number linesShown(), the
    // one before it linesShown() - 1, and so on, whatever was cleared or dropped.
    long long linesShown() const { return linesShown_; }
    // Empties the window's events; the file keeps its lines.
    void clear() { count_ = 0; }

    // Every event to the file (the event window's switch).
    bool fileLogging = false;
    // Today's file, named at the first event of the day.
    const std::string& logFile() const { return logFile_; }

    // What a new day's file lists: the web page name and the terminal list's entries as
    // lines, as the main window holds them then.
    struct Listing {
        std::string webPage, entries;
    };
    std::function<Listing()> listing;
    // The view: told of each event added to the window's, and of each new day's file.
    std::function<void()> onEvent;
    std::function<void()> onNewFile;

  private:
    // A new event at the end of the window's (the oldest gives its place), the source taken
    // now from the shared state.
    Event& append(const LocalTime& time, int Index, std::string_view mode, std::string_view text);
    void writeToFile(const Event& event);

    Platform& platform_;
    SharedState& state_;
    // Slots reused in turn, so that their texts keep their room.
    std::array<Event, kMaxLines> events_;
    int first_ = 0;
    int count_ = 0;
    long long linesShown_ = 0;
    LocalTime logDate_{0, 0, 0};
    std::string logFile_;
    // Lines the log file refused since its last successful write: the window says so at the
    // first, and the file gets their count once it takes lines again.
    int missedFileLines_ = 0;
};

}  // namespace plx
