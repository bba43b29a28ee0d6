// The main window's commands: the terminal list, the clock and the other windows.
#include "console/f_add_product.h"
#include "console/f_main.h"
#include "display/display_road.h"
#include "display/f_test.h"
#include "eventlog/event_log.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/system_text.h"
#include "shared/list_entry.h"
#include "tools/f_help.h"
#include "tools/f_status.h"

namespace plx {

void F_MAIN::B_SELECT_ALL_Click() {
    const int count = LST_PRODUIT.count();
    if (count == 0) return;
    const int current = LST_PRODUIT.currentRow();
    const bool select = !LST_PRODUIT.selected(0);
    for (int row = 0; row < count; ++row) LST_PRODUIT.setSelected(row, select);
    LST_PRODUIT.setCurrentRow(current);
}

void F_MAIN::LST_PRODUIT_DblClick() {
    B_SELECT_ALL_Click();
}

bool F_MAIN::LST_PRODUIT_SELECT() {
    for (int row = 0; row < LST_PRODUIT.count(); ++row) {
        if (LST_PRODUIT.selected(row)) return true;
    }
    gateway_.platform().messageBox(kNoneSelected, "Warning !", MessageIcon::Critical);
    return false;
}

void F_MAIN::B_ADD_TERM_Click() {
    F_ADD_PRODUCT& editor = gateway_.window<F_ADD_PRODUCT>();
    editor.SW_EDIT_SAVE(1).setValue(true);
    runEditor(editor);
}

void F_MAIN::B_EDIT_TERM_Click() {
    const int row = LST_PRODUIT.currentRow();
    if (row < 0) return;
    F_ADD_PRODUCT& editor = gateway_.window<F_ADD_PRODUCT>();
    editor.SW_EDIT_SAVE(0).setValue(true);
    const ListEntry entry = ListEntry::of(LST_PRODUIT.text(row));
    editor.INP_NO.setText(entry.number);
    editor.INP_TYPE.setText(entry.type);
    editor.INP_IP.setText(entry.address);
    editor.INP_DESCRIPTION.setText(entry.description);
    runEditor(editor);
}

void F_MAIN::runEditor(F_ADD_PRODUCT& editor) {
    // Added, edited or cancelled: the tables are rebuilt and the list saved all the same.
    gateway_.runModal(editor.form, form);
    gateway_.release<F_ADD_PRODUCT>();
    listChanged();
}

std::string F_MAIN::listChanged() {
    syncTablesAndWarn();
    return saveList();
}

TerminalEntryCheck F_MAIN::storeTerminal(int editedRow, const TypedTerminal& typed,
                                         const std::string& origin) {
    TerminalEntryCheck check = checkTerminalEntry(LST_PRODUIT.texts(), editedRow, typed);
    if (!check.accepted) return check;
    if (editedRow < 0) {
        LST_PRODUIT.addItem(check.entry);
    } else {
        // What the row's old terminal shows says nothing of another one.
        if (check.anotherTerminal) gateway_.display().rowReplaced(editedRow);
        LST_PRODUIT.setText(editedRow, check.entry);
    }
    gateway_.eventLog().ADD_EVENTS(
        -1, "GENERAL", (editedRow < 0 ? "ADD PRODUCT: " : "EDIT PRODUCT: ") + check.entry + origin,
        true);
    return check;
}

void F_MAIN::B_REMOVE_TERM_Click() {
    const int row = LST_PRODUIT.currentRow();
    if (row < 0) return;
    removeRow(row, {});
    listChanged();
}

void F_MAIN::removeRow(int row, const std::string& origin) {
    // Logged like an addition, so that a terminal removed by mistake can be rebuilt.
    const std::string removed = LST_PRODUIT.text(row);
    LST_PRODUIT.removeItem(row);
    gateway_.display().rowRemoved(row);
    gateway_.eventLog().ADD_EVENTS(-1, "GENERAL", "REMOVE PRODUCT: " + removed + origin, true);
}

void F_MAIN::B_SYNCHRONIZE_Click() {
    gateway_.display().synchronize();
}

void F_MAIN::B_AS400_COMM_Click() {
    gateway_.window<F_AS400>().form.show();
}
void F_MAIN::B_EVENTS_Click() {
    gateway_.window<F_EVENTS>().form.show();
}
void F_MAIN::B_STATUS_Click() {
    gateway_.window<F_STATUS>().form.show();
}
void F_MAIN::B_TEST_Click() {
    gateway_.window<F_TEST>().form.show();
}
void F_MAIN::B_HELP_Click() {
    gateway_.window<F_HELP>().form.show();
}

void F_MAIN::TIM_REFRESH_Timer() {
    const LocalTime now = gateway_.platform().now();
    const std::string clock = now.timeText();
    if (clock == AFF_HEURE.caption()) return;
    AFF_HEURE.setCaption(clock);
    SW_LOG.setCaption(dailyFileName(now));
}

std::string F_MAIN::dailyFileName() const {
    return dailyFileName(gateway_.platform().now());
}

std::string F_MAIN::dailyFileName(const LocalTime& now) const {
    return pathText(gateway_.state().filePath("LOG_PLYXEN_400_" + now.dateText() + ".TXT"));
}

}  // namespace plx
