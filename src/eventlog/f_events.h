#pragma once
// F_EVENTS, the event window: the view of the event log (eventlog/event_log.h), its file
// switch and its Clear button. ADD_EVENTS stays here too, where its callers look for it.

#include <string>

#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/list_box.h"

namespace plx {

class EventLog;
class Gateway;

class F_EVENTS {
  public:
    static constexpr int kMaxLines = 350;

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

    void ADD_EVENTS(int Index, const std::string& THE_MODE, const std::string& THE_EVENT,
                    bool SW_LOG_ALL);
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
