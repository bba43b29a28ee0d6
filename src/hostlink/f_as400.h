#pragma once
// F_AS400, the host link window: the telnet connection to the AS/400 (supervision, sign-on,
// reception, settings). What it reads goes to the host stream (hostlink/host_stream.h), whose
// frames go to the display road; it also offers the road's dispatcher and sender under their
// established names.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "eventlog/journal_priority.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/list_box.h"
#include "platform/controls/picture.h"
#include "platform/controls/text_box.h"
#include "platform/controls/timer.h"
#include "platform/platform.h"
#include "shared/shared_state.h"

namespace plx {

class Gateway;

class F_AS400 {
  public:
    static constexpr int kWatchdogLimit = 180;         // ticks of 1 s ONLINE without host data
    static constexpr int kConnectPeriodMs = 5000;      // connection tick
    static constexpr int kWatchdogPeriodMs = 1000;     // watchdog tick
    static constexpr int kSignOnDelayMs = 3000;        // from Connect to the sign-on
    static constexpr int kReceiveDisplayLimit = 4000;  // characters before the display empties

    explicit F_AS400(Gateway& gateway);
    ~F_AS400();
    F_AS400(const F_AS400&) = delete;
    F_AS400& operator=(const F_AS400&) = delete;

    Form form;
    // Settings.
    Label LBL_IP;
    TextBox INP_IP;
    Label LBL_PORT;
    TextBox INP_PORT;
    Label LBL_USR;
    TextBox INP_USR;
    Label LBL_PSW;
    TextBox INP_PSW;
    CheckBox SW_LOG;
    Button B_SAVE_CFG;
    Button B_HELP;
    // Reception.
    CheckBox SW_DISPLAY;
    TextBox AFF_RX_400;
    Button B_CLEAR;
    // Supervision.
    Button B_PAUSE;
    Button B_RESET_TERM;
    Label AFF_STATUS;
    Picture PIC_OFFLINE;
    Picture PIC_ONLINE;
    Picture PIC_PAUSE;
    Picture PIC_HEART;
    Picture PIC_HEARTP;
    Picture PIC_HEART_BREAK;
    // Colour patterns loaded at start-up.
    Label Aff_ColorPatern;
    ListBox LST_COLOR_PATERN;

    Timer TIM_CONNECT;
    Timer TIM_WATCHDOG;
    Timer TIM_TX_USR_PW;
    std::unique_ptr<TcpClientPort> TCPAS400;

    int WATCHDOG_COUNT = 0;

    void Form_Load();
    bool Form_QueryUnload();  // hides instead of closing; returns true (cancel)

    // Supervision.
    void SET_LINK_STATE(std::uint8_t THE_STATE);
    // A link that failed or fell silent is said so to the journal's readers.
    void SHOW_STATUS(const std::string& THE_STATUS, EventKind kind = EventKind::Routine);
    void TIM_CONNECT_Timer();
    void TIM_WATCHDOG_Timer();
    void TCPAS400_Connect();
    void TCPAS400_Close();
    void TCPAS400_Error(const std::string& description);
    void B_PAUSE_Click();
    void B_RESET_TERM_Click();
    // What the two buttons do; `origin` ends the status line when someone other than this
    // window asks.
    void pauseOrResume(const std::string& origin);
    void resetLink(const std::string& origin);

    // Sign-on.
    void TIM_TX_USR_PW_Timer();

    // Reception.
    void TCPAS400_DataArrival();
    void SW_DISPLAY_Click();
    void B_CLEAR_Click();

    // Settings.
    void B_SAVE_CFG_Click();
    void INP_IP_Change();
    void INP_PORT_Change();
    void B_HELP_Click();

    // Display commands: the display road's (display/display_road.h).
    void GEST_CMD(const std::string& THE_CMD);
    void SEND_CMD_UDP(int Index, const std::string& ID_CMD);

  private:
    // A link lost while ONLINE, counted by its cause.
    void countDrop(long long Statistics::*cause);
    void layOut();
    void wireHandlers();
    // Tells the service manager what the link is doing, when that changed.
    void tellServiceManager();
    // How the next connection is protected, from SERVER_AS400.pem and the port; nothing, and
    // `problem` says why, when the certificates file is unusable: then nothing connects.
    std::optional<TlsSettings> hostSecurity(std::uint16_t port, std::string& problem);
    // Reads the socket's data into the host stream unless a chunk is being handled or in
    // PAUSE.
    void readNextChunk();
    // The receive display of what was received, the password masked.
    void showOnDisplay(const std::string& shown);
    // A command or frame under way, the options agreed and an echo of the password held back
    // belong to one connection's stream only.
    void endOfStream();

    Gateway& gateway_;
    // True while a chunk is being handled: a DataArrival nested in its dispatch leaves
    // the newer data in the socket for the outer handler, which keeps stream order.
    bool receiving_ = false;
    // Set when a pause ends on a connection that is still open: its data is read and
    // dropped until the next connection tick closes it or a new connection is made.
    bool discardingOldStream_ = false;
    std::string serviceStatus_;  // what the service manager was last told
    // Set between a status and the state that follows it in one step: the manager hears the
    // step once it is done.
    bool serviceStatusHeld_ = false;
    // How the connection under way is protected.
    enum class Security { Clear, PinnedCertificates, SystemTrust };
    Security security_ = Security::Clear;
};

}  // namespace plx
