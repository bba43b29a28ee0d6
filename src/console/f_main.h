#pragma once
// F_MAIN, the operator's console: the terminal list, the clock, the buttons that act on the
// list or open the other windows; start-up and shut-down of the whole gateway.

#include <memory>
#include <string>
#include <string_view>

#include "console/terminal_entry.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/list_box.h"
#include "platform/controls/picture.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/local_time.h"
#include "tools/url_link.h"

namespace plx {

class Gateway;
class F_ADD_PRODUCT;

class F_MAIN {
  public:
    // The window's caption, which names the version.
    static constexpr const char* kCaption = "Plyxen AS-400 Mervax Version: 1.0H";
    // The version the caption ends with.
    static constexpr std::string_view kVersion =
        std::string_view(kCaption).substr(std::string_view(kCaption).rfind(' ') + 1);
    // What the operator is told when a command on the selected terminals finds none selected.
    static constexpr const char* kNoneSelected = "Please seclect a product(s)";

    explicit F_MAIN(Gateway& gateway);

    Form form;
    ListBox LST_PRODUIT;
    Label Label1_0;  // list header "Terminal #, Type, IP, Description"
    Frame FR_B_MANAGE;
    Button B_SELECT_ALL;
    Button B_ADD_TERM;
    Button B_EDIT_TERM;
    Button B_REMOVE_TERM;
    Button B_PING;
    Button B_SYNCHRONIZE;
    Button B_AS400_COMM;
    Button B_EVENTS;
    Button B_STATUS;
    Button B_TEST;
    Button B_HELP;
    Label AFF_HEURE;
    CheckBox SW_LOG;
    Picture PIC_SW_LOG_DISPLAY_0;
    Picture PIC_SW_LOG_DISPLAY_1;
    Picture PIC_OFFLINE;
    Picture PIC_FOOTER;
    Button B_SAVE_CFG;    // hidden
    Button B_OPEN_WEBP;   // hidden
    TextBox INP_WEBPAGE;  // hidden
    Label Label1_1;       // hidden: "Web Page Template to create WebPageName2.html"
    URLLink URL_WEBPAGE;  // hidden
    Timer TIM_REFRESH;

    Picture& PIC_SW_LOG_DISPLAY(int index) {
        return index == 0 ? PIC_SW_LOG_DISPLAY_0 : PIC_SW_LOG_DISPLAY_1;
    }

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    void Form_Resize();

    // Terminal tables and configuration files. SYNC_TABLES returns false when it stopped
    // at a row that cannot be indexed.
    bool SYNC_TABLES();
    void LOAD_CFG();
    void B_SAVE_CFG_Click();

    // List commands.
    void B_SELECT_ALL_Click();
    void LST_PRODUIT_DblClick();
    bool LST_PRODUIT_SELECT();
    void B_ADD_TERM_Click();
    void B_EDIT_TERM_Click();
    void B_REMOVE_TERM_Click();
    // The list commands' work, for the editor and the web console alike; `origin` ends the
    // log line when someone other than this window asks. storeTerminal adds (editedRow -1)
    // or replaces a row when the editor's checks accept; neither rebuilds nor saves:
    // listChanged does, after the command, and returns the Warning's text when Products.cfg
    // could not be written (empty when it was).
    TerminalEntryCheck storeTerminal(int editedRow, const TypedTerminal& typed,
                                     const std::string& origin);
    void removeRow(int row, const std::string& origin);
    std::string listChanged();

    // Display commands and tools.
    void B_SYNCHRONIZE_Click();
    void B_PING_Click();
    void B_OPEN_WEBP_Click();

    // Windows.
    void B_AS400_COMM_Click();
    void B_EVENTS_Click();
    void B_STATUS_Click();
    void B_TEST_Click();
    void B_HELP_Click();

    void TIM_REFRESH_Timer();

    // The daily file name shown as SW_LOG's caption for today's date.
    std::string dailyFileName() const;

  private:
    void layOut();
    void wireHandlers();
    // The rebuild behind SYNC_TABLES: the row it stopped at, -1 when every row is indexed.
    int indexRows();
    // A rebuild after start-up or a list command; a row that cannot be indexed is reported.
    void syncTablesAndWarn();
    // Moves the Products.cfg that could not be read at start aside, with a Warning; the
    // Warning's text when it cannot be moved, and then nothing may be written in its place.
    std::string moveUnreadListAside();
    // Shows the terminal editor modally, releases it, then rebuilds and saves the list.
    void runEditor(F_ADD_PRODUCT& editor);
    // B_SAVE_CFG_Click's work: the Warning's text when Products.cfg could not be written.
    std::string saveList();
    std::string dailyFileName(const LocalTime& now) const;

    Gateway& gateway_;
    // Products.cfg was there at start but could not be read: it is kept as found, never
    // written over by the list that took its place, until it has been moved aside.
    bool unreadListKept_ = false;
};

}  // namespace plx
