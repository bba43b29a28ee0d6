#include "console/f_main.h"

#include "console/gateway.h"

namespace plx {

F_MAIN::F_MAIN(Gateway& gateway)
    : form("F_MAIN", "Plyxen AS-400 Mervax Version: 1.0H", 12000, 9705),
      LST_PRODUIT(form, "LST_PRODUIT", true),
      Label1_0(form, "Label1", "Terminal #, Type, IP, Description", nullptr, 0),
      FR_B_MANAGE(form, "FR_B_MANAGE"),
      B_SELECT_ALL(form, "B_SELECT_ALL", "Select/Unselect All", &FR_B_MANAGE),
      B_ADD_TERM(form, "B_ADD_TERM", "", &FR_B_MANAGE),
      B_EDIT_TERM(form, "B_EDIT_TERM", "", &FR_B_MANAGE),
      B_REMOVE_TERM(form, "B_REMOVE_TERM", "", &FR_B_MANAGE),
      B_PING(form, "B_PING", "Ping Selected Product"),
      B_SYNCHRONIZE(form, "B_SYNCHRONIZE", "Synchronize"),
      B_AS400_COMM(form, "B_AS400_COMM", "AS400 Communication"),
      B_EVENTS(form, "B_EVENTS", "Last Events"),
      B_STATUS(form, "B_STATUS", "Status"),
      B_TEST(form, "B_TEST", "Test"),
      B_HELP(form, "B_HELP", "Help"),
      AFF_HEURE(form, "AFF_HEURE"),
      SW_LOG(form, "SW_LOG"),
      PIC_SW_LOG_DISPLAY_0(form, "PIC_SW_LOG_DISPLAY", "log-to-file-off", 0),
      PIC_SW_LOG_DISPLAY_1(form, "PIC_SW_LOG_DISPLAY", "log-to-file-on", 1),
      PIC_OFFLINE(form, "PIC_OFFLINE", "lamp-offline"),
      PIC_FOOTER(form, "PIC_FOOTER", "footer"),
      B_SAVE_CFG(form, "B_SAVE_CFG", "Save Config"),
      B_OPEN_WEBP(form, "B_OPEN_WEBP"),
      INP_WEBPAGE(form, "INP_WEBPAGE", "c:\\WebPageName.html"),
      Label1_1(form, "Label1", "Web Page Template to create WebPageName2.html", nullptr, 1),
      URL_WEBPAGE(form, "URL_WEBPAGE", gateway.platform()),
      TIM_REFRESH(gateway.platform(), 500),
      SOCK_UPD(gateway.platform().createUdpSocket()),
      gateway_(gateway) {}

}  // namespace plx
