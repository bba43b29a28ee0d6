#include "hostlink/f_as400.h"

#include "console/gateway.h"

namespace plx {

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
      gateway_(gateway) {}

}  // namespace plx
