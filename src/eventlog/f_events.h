#pragma once
// F_EVENTS, the event window, and ADD_EVENTS, the one operation through which every
// subsystem reports what it does: a list of the last 350 lines and the daily log file.

#include <string>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/list_box.h"
#include "platform/local_time.h"

namespace plx {

class Gateway;

class F_EVENTS {
  public:
    static constexpr int kMaxLines = 350;

    explicit F_EVENTS(Gateway& gateway);

    Form form;
    ListBox LST_EVENTS;
    CheckBox SW_LOG;
    Button B_CLEAR;
    Label AFF_LOG_FILE;

    void ADD_EVENTS(int Index, const std::string& THE_MODE, const std::string& THE_EVENT,
                    bool SW_LOG_ALL);
    void SW_LOG_Click();
    void B_CLEAR_Click();
    void LST_EVENTS_DblClick();
    void Form_Resize();
    // The close box hides the window, which goes on collecting events; returns true (cancel).
    bool Form_Unload();
    // Lines listed since the start: the newest line of the list is line number linesShown(),
    // the one above it linesShown() - 1, and so on, whatever was cleared or dropped.
    long long linesShown() const { return linesShown_; }

  private:
    // Who the line is about, from the shared state: the host by its connect address, or the
    // terminal of a row by its number.
    std::string source(int Index) const;
    void showLine(const std::string& line);
    void writeToFile(const LocalTime& now, const std::string& line, const std::string& source);

    Gateway& gateway_;
    // Today's log file, recomputed when the date changes.
    LocalTime logDate_{0, 0, 0};
    std::string logFile_;
    // Lines the log file refused since its last successful write: the list says so at the
    // first, and the file gets their count once it takes lines again.
    int missedFileLines_ = 0;
    long long linesShown_ = 0;
};

}  // namespace plx
