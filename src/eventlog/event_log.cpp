#include "eventlog/event_log.h"

#include "platform/platform.h"
#include "platform/system_text.h"
#include "shared/numeric_text.h"
#include "shared/shared_state.h"
#include "shared/text_lines.h"

namespace plx {

namespace {

const std::string kDashes(50, '-');
const std::string kLogFileNotWritten = "The log file cannot be written: ";
const std::string kHostSource = "Server [";

bool sameDate(const LocalTime& a, const LocalTime& b) {
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

}  // namespace

EventLog::EventLog(Platform& platform, SharedState& state) : platform_(platform), state_(state) {}

std::string EventLog::source(const Event& event) {
    if (event.terminal < 0) return kHostSource + event.host + "]";
    return fourDigits(event.terminal);
}

std::string EventLog::line(const Event& event) {
    const std::string from = source(event);
    std::string line;
    line.reserve(12 + event.mode.size() + from.size() + event.text.size());
    line += event.time.timeText();
    line += ' ';
    line += event.mode;
    line += ':';
    line += from;
    line += ',';
    line += event.text;
    return line;
}

Event& EventLog::append(const LocalTime& time, int Index, std::string_view mode,
                        std::string_view text) {
    ++linesShown_;
    if (count_ == kMaxLines) {
        first_ = (first_ + 1) % kMaxLines;
    } else {
        ++count_;
    }
    Event& event = events_[(first_ + count_ - 1) % kMaxLines];
    event.time = time;
    event.mode.assign(mode);
    event.terminal = Index < 0 ? -1 : state_.TAB_NO_OF_ROW.at(Index);
    if (Index < 0) event.host.assign(state_.CONNECT_ADDRESS);
    event.text.assign(text);
    return event;
}

std::optional<Event> EventLog::parse(std::string_view line) {
    // "HH:MM:SS MODE:SOURCE,TEXT": the mode holds no colon, the source no comma.
    constexpr std::size_t kTimeLength = 8;
    const std::size_t colon = line.find(':', kTimeLength + 1);
    const std::size_t comma = line.find(',', colon);
    if (line.size() <= kTimeLength || line[kTimeLength] != ' ' || comma == std::string::npos)
        return std::nullopt;
    const auto part = [line](std::size_t from, std::size_t to) {
        return std::string(line.substr(from, to - from));
    };
    Event event;
    const auto hour = wholeNumber(part(0, 2)), minute = wholeNumber(part(3, 5)),
               second = wholeNumber(part(6, 8));
    if (!hour || !minute || !second || line[2] != ':' || line[5] != ':') return std::nullopt;
    event.time.hour = *hour;
    event.time.minute = *minute;
    event.time.second = *second;
    event.mode = part(kTimeLength + 1, colon);
    const std::string from = part(colon + 1, comma);
    if (from.starts_with(kHostSource) && from.ends_with(']')) {
        event.host = from.substr(kHostSource.size(), from.size() - kHostSource.size() - 1);
    } else if (const auto terminal = wholeNumber(from); terminal && *terminal >= 0) {
        event.terminal = *terminal;
    } else {
        return std::nullopt;
    }
    event.text = part(comma + 1, line.size());
    return event;
}

void EventLog::ADD_EVENTS(int Index, std::string_view THE_MODE, std::string_view THE_EVENT,
                          bool SW_LOG_ALL, EventKind kind) {
    const LocalTime now = platform_.now();
    const Event& event = append(now, Index, THE_MODE, THE_EVENT);
    if (onEvent) onEvent();
    if (!sameDate(now, logDate_)) {
        logDate_ = now;
        logFile_ = state_.filePath("Plyxen400_" + now.dateText() + ".LOG");
        if (onNewFile) onNewFile();
    }
    // What the file always receives goes to the journal too, so a headless gateway is seen;
    // commands and host traffic never (their volume would drown it).
    if (SW_LOG_ALL) platform_.journal(line(event), journalPriority(THE_MODE, kind));
    if (SW_LOG_ALL || fileLogging) writeToFile(event);
}

void EventLog::writeToFile(const Event& event) {
    Files& files = platform_.files();
    std::string bytes;
    // A new file starts with the web page name and the terminal list as they are now.
    if (!files.exists(logFile_)) {
        const Listing listed = listing ? listing() : Listing{};
        bytes = "Web Page: " + listed.webPage + kLineEnd + kDashes + kLineEnd + listed.entries +
                kDashes + kLineEnd;
    }
    // A file that failed (full disk, read-only folder) and takes lines again says how many
    // it lost, so a reader knows the gap is not a quiet time.
    if (missedFileLines_ > 0) {
        const Event note{
            event.time, "Warning", -1, state_.CONNECT_ADDRESS,
            std::to_string(missedFileLines_) + " event(s) could not be written to this file"};
        bytes += line(note) + kLineEnd;
    }
    bytes += line(event);
    bytes += kLineEnd;
    if (files.append(logFile_, bytes)) {
        missedFileLines_ = 0;
        return;
    }
    // The event is kept in the window whatever the disk does; the window says once that the
    // file is not being written.
    ++state_.STATS.logWriteFailures;
    if (missedFileLines_++ > 0) return;
    const std::string text = kLogFileNotWritten + pathText(logFile_);
    // Told about the same source as the event that failed.
    const Event failed = event;
    Event& warning = append(failed.time, -1, "Warning", text);
    warning.terminal = failed.terminal;
    warning.host = failed.host;
    if (onEvent) onEvent();
    platform_.journal(line(warning), journalPriority("Warning", EventKind::DataLost));
}

}  // namespace plx
