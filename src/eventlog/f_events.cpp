#include "eventlog/f_events.h"

#include "console/config_files.h"
#include "console/f_main.h"
#include "eventlog/journal_priority.h"
#include "gateway/gateway.h"
#include "platform/system_text.h"
#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace plx {

namespace {

const std::string kDashes(50, '-');

bool sameDate(const LocalTime& a, const LocalTime& b) {
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

}  // namespace

// Design measures in twips, for the form's size of 12120 x 7335; the layout handler keeps
// the list 300 short of the form's width and the button 50 under the list.
F_EVENTS::F_EVENTS(Gateway& gateway)
    : form("F_EVENTS", "Events", 12120, 7335),
      LST_EVENTS(form, "LST_EVENTS"),
      SW_LOG(form, "SW_LOG", "Log to file:"),
      B_CLEAR(form, "B_CLEAR", "Clear all"),
      AFF_LOG_FILE(form, "AFF_LOG_FILE"),
      gateway_(gateway) {
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
}

void F_EVENTS::ADD_EVENTS(int Index, const std::string& THE_MODE, const std::string& THE_EVENT,
                          bool SW_LOG_ALL) {
    const std::string from = source(Index);
    const LocalTime now = gateway_.platform().now();
    std::string line;
    line.reserve(12 + THE_MODE.size() + from.size() + THE_EVENT.size());
    line += now.timeText();
    line += ' ';
    line += THE_MODE;
    line += ':';
    line += from;
    line += ',';
    line += THE_EVENT;

    showLine(line);
    if (!sameDate(now, logDate_)) {
        logDate_ = now;
        logFile_ = gateway_.state().filePath("Plyxen400_" + now.dateText() + ".LOG");
        AFF_LOG_FILE.setCaption(pathText(logFile_));
        AFF_LOG_FILE.setToolTip(AFF_LOG_FILE.caption());
    }
    // What the file always receives goes to the journal too, so a headless gateway is seen;
    // commands and host traffic never (their volume would drown it).
    if (SW_LOG_ALL) gateway_.platform().journal(line, journalPriority(THE_MODE, THE_EVENT));
    if (SW_LOG_ALL || SW_LOG.value() == 1) writeToFile(now, line, from);
}

std::string F_EVENTS::source(int Index) const {
    const SharedState& state = gateway_.state();
    if (Index < 0) return "Server [" + state.CONNECT_ADDRESS + "]";
    return fourDigits(state.TAB_NO_OF_ROW.at(Index));
}

void F_EVENTS::showLine(const std::string& line) {
    ++linesShown_;
    LST_EVENTS.addItem(line);
    if (LST_EVENTS.count() > kMaxLines) LST_EVENTS.removeItem(0);
}

void F_EVENTS::writeToFile(const LocalTime& now, const std::string& line, const std::string& from) {
    Files& files = gateway_.platform().files();
    std::string bytes;
    // A new file starts with the web page name and the terminal list as they are now.
    if (!files.exists(logFile_)) {
        const F_MAIN& main = gateway_.window<F_MAIN>();
        bytes = "Web Page: " + main.INP_WEBPAGE.text() + kLineEnd + kDashes + kLineEnd +
                entriesAsLines(main.LST_PRODUIT) + kDashes + kLineEnd;
    }
    // A file that failed (full disk, read-only folder) and takes lines again says how many
    // it lost, so a reader knows the gap is not a quiet time.
    if (missedFileLines_ > 0) {
        bytes += now.timeText() + " Warning:" + source(-1) + "," +
                 std::to_string(missedFileLines_) + " event(s) could not be written to this file" +
                 kLineEnd;
    }
    bytes += line;
    bytes += kLineEnd;
    if (files.append(logFile_, bytes)) {
        missedFileLines_ = 0;
        return;
    }
    // The event is kept in the list whatever the disk does; the list says once that the
    // file is not being written.
    ++gateway_.state().STATS.logWriteFailures;
    if (missedFileLines_++ > 0) return;
    const std::string text = kLogFileNotWritten + AFF_LOG_FILE.caption();
    const std::string warning = now.timeText() + " Warning:" + from + "," + text;
    showLine(warning);
    gateway_.platform().journal(warning, journalPriority("Warning", text));
}

void F_EVENTS::SW_LOG_Click() {
    F_MAIN& main = gateway_.window<F_MAIN>();
    const int state = SW_LOG.value();
    main.PIC_SW_LOG_DISPLAY(0).setVisible(false);
    main.PIC_SW_LOG_DISPLAY(1).setVisible(false);
    main.PIC_SW_LOG_DISPLAY(state == 1 ? 1 : 0).setVisible(true);
    ADD_EVENTS(-1, "LOG TO FILE", std::to_string(state), true);
}

void F_EVENTS::B_CLEAR_Click() {
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
