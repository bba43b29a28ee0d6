#include "eventlog/f_events.h"

#include <string>

#include "console/f_main.h"
#include "gateway/gateway.h"
#include "platform/system_text.h"

namespace plx {

// Design measures in twips, for the form's size of 12120 x 7335; the layout handler keeps
// the list 300 short of the form's width and the button 50 under the list.
F_EVENTS::F_EVENTS(Gateway& gateway)
    : form("F_EVENTS", "Events", 12120, 7335),
      LST_EVENTS(form, "LST_EVENTS"),
      SW_LOG(form, "SW_LOG", "Log to file:"),
      B_CLEAR(form, "B_CLEAR", "Clear all"),
      AFF_LOG_FILE(form, "AFF_LOG_FILE"),
      gateway_(gateway),
      log_(gateway.eventLog()) {
    SW_LOG.move(120, 105, 1455, 315);
    AFF_LOG_FILE.move(1695, 135, 10125, 255);
    LST_EVENTS.move(120, 480, 11820, 5960);
    B_CLEAR.move(10605, 6490, 1335, 375);
    LST_EVENTS.setFollowsEnd(true);

    SW_LOG.onClick = [this] { SW_LOG_Click(); };
    B_CLEAR.onClick = [this] { B_CLEAR_Click(); };
    LST_EVENTS.onDblClick = [this] { LST_EVENTS_DblClick(); };
    form.onQueryUnload = [this] { return Form_Unload(); };
    form.onResize = [this] { Form_Resize(); };
    // An unseen list would cost every event its line: it is made when the window shows.
    form.onShow = [this] { fillList(); };
    log_.onEvent = [this] { showNewestLine(); };
    log_.onNewFile = [this] { showLogFile(); };
    if (!log_.logFile().empty()) showLogFile();
}

F_EVENTS::~F_EVENTS() {
    log_.onEvent = nullptr;
    log_.onNewFile = nullptr;
}

long long F_EVENTS::linesShown() const {
    return log_.linesShown();
}

void F_EVENTS::showNewestLine() {
    if (!form.visible()) return;
    LST_EVENTS.addItem(log_.line(log_.count() - 1));
    if (LST_EVENTS.count() > kMaxLines) LST_EVENTS.removeItem(0);
}

void F_EVENTS::fillList() {
    LST_EVENTS.clear();
    for (int i = 0; i < log_.count(); ++i) LST_EVENTS.addItem(log_.line(i));
}

void F_EVENTS::showLogFile() {
    AFF_LOG_FILE.setCaption(pathText(log_.logFile()));
    AFF_LOG_FILE.setToolTip(AFF_LOG_FILE.caption());
}

void F_EVENTS::SW_LOG_Click() {
    F_MAIN& main = gateway_.window<F_MAIN>();
    const int state = SW_LOG.value();
    log_.fileLogging = state == 1;
    main.PIC_SW_LOG_DISPLAY(0).setVisible(false);
    main.PIC_SW_LOG_DISPLAY(1).setVisible(false);
    main.PIC_SW_LOG_DISPLAY(state == 1 ? 1 : 0).setVisible(true);
    log_.ADD_EVENTS(-1, "LOG TO FILE", std::to_string(state), true);
}

void F_EVENTS::B_CLEAR_Click() {
    log_.clear();
    LST_EVENTS.clear();
}

void F_EVENTS::LST_EVENTS_DblClick() {
    B_CLEAR_Click();
}

bool F_EVENTS::Form_Unload() {
    form.hide();
    return true;
}

}  // namespace plx
