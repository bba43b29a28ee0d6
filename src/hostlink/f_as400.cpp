#include "hostlink/f_as400.h"

#include <array>

#include "display/display_road.h"
#include "gateway/gateway.h"
#include "hostlink/host_stream.h"

namespace plx {

namespace {

// Offset of the second heart picture: alternating the two makes the heart beat.
constexpr int kHeartBeatOffset = 50;  // twips right and down

}  // namespace

F_AS400::F_AS400(Gateway& gateway)
    : form("F_AS400", "AS/400 Server Communication", 9000, 7000),
      LBL_IP(form, "LBL_IP", "Server IP/DNS:"),
      INP_IP(form, "INP_IP", "127.0.0.1"),
      LBL_PORT(form, "LBL_PORT", "Server Port:"),
      INP_PORT(form, "INP_PORT", "1024"),
      LBL_USR(form, "LBL_USR", "User Name:"),
      INP_USR(form, "INP_USR"),
      LBL_PSW(form, "LBL_PSW", "Password:"),
      INP_PSW(form, "INP_PSW"),
      SW_LOG(form, "SW_LOG", "Log AS-400 communication", 1),
      B_SAVE_CFG(form, "B_SAVE_CFG", "Save Configuration"),
      B_HELP(form, "B_HELP", "Help"),
      SW_DISPLAY(form, "SW_DISPLAY", "Display AS400 communication", 0),
      AFF_RX_400(form, "AFF_RX_400"),
      B_CLEAR(form, "B_CLEAR", "Clear"),
      B_PAUSE(form, "B_PAUSE", "PAUSE"),
      B_RESET_TERM(form, "B_RESET_TERM"),
      AFF_STATUS(form, "AFF_STATUS", "----"),
      PIC_OFFLINE(form, "PIC_OFFLINE", "lamp-offline"),
      PIC_ONLINE(form, "PIC_ONLINE", "lamp-online"),
      PIC_PAUSE(form, "PIC_PAUSE", "lamp-pause"),
      PIC_HEART(form, "PIC_HEART", "heart"),
      PIC_HEARTP(form, "PIC_HEARTP", "heart"),
      PIC_HEART_BREAK(form, "PIC_HEART_BREAK", "heart-break"),
      Aff_ColorPatern(form, "Aff_ColorPatern", "Color Patern "),
      LST_COLOR_PATERN(form, "LST_COLOR_PATERN"),
      TIM_CONNECT(gateway.platform(), kConnectPeriodMs),
      TIM_WATCHDOG(gateway.platform(), kWatchdogPeriodMs),
      TIM_TX_USR_PW(gateway.platform(), 0),
      TCPAS400(gateway.platform().createTcpClient()),
      gateway_(gateway) {
    layOut();
    wireHandlers();
}

F_AS400::~F_AS400() {
    gateway_.hostStream().onShown = nullptr;
}

// Design positions in twips: the settings on the left, the link state on the right, the
// receive display across the bottom.
void F_AS400::layOut() {
    constexpr int labelLeft = 240, fieldLeft = 1800, fieldWidth = 3000, rowHeight = 315;
    LBL_IP.move(labelLeft, 240, 1500, rowHeight);
    INP_IP.move(fieldLeft, 240, fieldWidth, rowHeight);
    LBL_PORT.move(labelLeft, 660, 1500, rowHeight);
    INP_PORT.move(fieldLeft, 660, fieldWidth, rowHeight);
    LBL_USR.move(labelLeft, 1080, 1500, rowHeight);
    INP_USR.move(fieldLeft, 1080, fieldWidth, rowHeight);
    LBL_PSW.move(labelLeft, 1500, 1500, rowHeight);
    INP_PSW.move(fieldLeft, 1500, fieldWidth, rowHeight);
    SW_LOG.move(fieldLeft, 1920, fieldWidth, 300);
    B_SAVE_CFG.move(fieldLeft, 2340, 1900, 400);
    B_HELP.move(3800, 2340, 1000, 400);
    B_HELP.setImage("help");
    B_HELP.setToolTip("Help about how to use in AS-400");

    // One lamp: the three state pictures share a spot; the load handler aligns them.
    PIC_OFFLINE.move(5400, 240, 480, 480);
    PIC_ONLINE.move(5400, 240, 480, 480);
    PIC_PAUSE.move(5400, 240, 480, 480);
    PIC_HEART.move(6200, 240, 480, 480);
    PIC_HEARTP.move(6200, 240, 480, 480);
    PIC_HEART_BREAK.move(6200, 240, 480, 480);
    B_PAUSE.move(5400, 900, 1500, 400);
    B_RESET_TERM.move(7100, 860, 600, 480);
    B_RESET_TERM.setImage("reset");
    B_RESET_TERM.setToolTip("Reset Terminal");
    AFF_STATUS.move(5400, 1500, 3300, rowHeight);
    Aff_ColorPatern.move(5400, 1920, 3300, 255);
    LST_COLOR_PATERN.move(5400, 2200, 3300, 1100);

    SW_DISPLAY.move(labelLeft, 2900, 3000, 300);
    B_CLEAR.move(3800, 2850, 1000, 400);
    AFF_RX_400.move(labelLeft, 3400, 8300, 2900);
    AFF_RX_400.setMultiLine(true);
    AFF_RX_400.setReadOnly(true);  // nothing reads back what would be typed there
    AFF_RX_400.setVisible(false);
}

void F_AS400::wireHandlers() {
    form.onQueryUnload = [this] { return Form_QueryUnload(); };

    INP_IP.onChange = [this] { INP_IP_Change(); };
    INP_PORT.onChange = [this] { INP_PORT_Change(); };
    // Every setting is saved as soon as the operator leaves it.
    for (Control* setting :
         std::array<Control*, 5>{&INP_IP, &INP_PORT, &INP_USR, &INP_PSW, &SW_LOG}) {
        setting->onLostFocus = [this] { B_SAVE_CFG_Click(); };
    }
    B_SAVE_CFG.onClick = [this] { B_SAVE_CFG_Click(); };
    B_HELP.onClick = [this] { B_HELP_Click(); };

    SW_DISPLAY.onClick = [this] { SW_DISPLAY_Click(); };
    B_CLEAR.onClick = [this] { B_CLEAR_Click(); };
    AFF_RX_400.onDblClick = [this] { B_CLEAR_Click(); };

    B_PAUSE.onClick = [this] { B_PAUSE_Click(); };
    B_RESET_TERM.onClick = [this] { B_RESET_TERM_Click(); };

    TIM_CONNECT.onTimer = [this] { TIM_CONNECT_Timer(); };
    TIM_WATCHDOG.onTimer = [this] { TIM_WATCHDOG_Timer(); };
    TIM_TX_USR_PW.onTimer = [this] { TIM_TX_USR_PW_Timer(); };

    TCPAS400->onConnect = [this] { TCPAS400_Connect(); };
    TCPAS400->onClose = [this] { TCPAS400_Close(); };
    TCPAS400->onError = [this](const std::string& description) { TCPAS400_Error(description); };
    TCPAS400->onDataArrival = [this] { TCPAS400_DataArrival(); };
    gateway_.hostStream().onShown = [this](const std::string& shown) { showOnDisplay(shown); };
}

void F_AS400::Form_Load() {
    SET_LINK_STATE(OFFLINE);
    PIC_ONLINE.setTop(PIC_OFFLINE.top());
    PIC_PAUSE.setTop(PIC_OFFLINE.top());
    // The first connect need not wait for the timer.
    TIM_CONNECT_Timer();
    PIC_HEART_BREAK.setLeft(PIC_HEART.left());
    PIC_HEART_BREAK.setTop(PIC_HEART.top());
    PIC_HEARTP.setLeft(PIC_HEART.left() + kHeartBeatOffset);
    PIC_HEARTP.setTop(PIC_HEART.top() + kHeartBeatOffset);
}

bool F_AS400::Form_QueryUnload() {
    // The window only hides: the link and its timers go on.
    B_SAVE_CFG_Click();
    form.hide();
    return true;
}

void F_AS400::GEST_CMD(const std::string& THE_CMD) {
    gateway_.display().GEST_CMD(THE_CMD);
}

void F_AS400::SEND_CMD_UDP(int Index, const std::string& ID_CMD) {
    gateway_.display().SEND_CMD_UDP(Index, ID_CMD);
}

}  // namespace plx
