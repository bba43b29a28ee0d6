#pragma once
// F_EVENTS, the event window: the view of the event log (eventlog/event_log.h, where
// ADD_EVENTS is), its file switch and its Clear button.

#include "eventlog/event_log.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/list_box.h"

namespace plx {

class Gateway;

class F_EVENTS {
  public:
    static constexpr int kMaxLines = EventLog::kMaxLines;

    explicit F_EVENTS(Gateway& gateway);
    ~F_EVENTS();
    F_EVENTS(const F_EVENTS&) = delete;
    F_EVENTS& operator=(const F_EVENTS&) = delete;

    Form form;
    // The log's lines while the window is shown; filled anew each time it is shown.
    ListBox LST_EVENTS;
    CheckBox SW_LOG;
    Button B_CLEAR;
    Label AFF_LOG_FILE;

    void SW_LOG_Click();
    void B_CLEAR_Click();
    void LST_EVENTS_DblClick();
    void Form_Resize();
    // The close box hides the window, which goes on collecting events; returns true (cancel).
    bool Form_Unload();
    // Lines listed since the start (EventLog::linesShown).
    long long linesShown() const;

  private:
    void showNewestLine();
    void fillList();
    void showLogFile();

    Gateway& gateway_;
    EventLog& log_;
};

}  // namespace plx
