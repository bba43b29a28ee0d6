#include "console/f_main.h"

#include "gateway/gateway.h"

namespace plx {

// Design measures in twips, for a client area of 12000 x 9705. The list's size, the clock
// and the management buttons follow the window's size (its layout handler).
namespace {
constexpr int kWidth = 12000;
constexpr int kHeight = 9705;
constexpr int kMargin = 120;
constexpr int kButtonHeight = 495;   // every push button, and the management frame
constexpr int kPictureButton = 615;  // width of a picture button
constexpr int kFooterHeight = 600;
constexpr int kListTop = 1500;
constexpr int kManageWidth = 1935 + 75 + 3 * kPictureButton + 2 * 75;
constexpr int kTopRowRight = 10710 + 1035;  // right edge of B_HELP, last of the top row
constexpr int kMinimumListHeight = 1200;    // a few terminals stay in view
}  // namespace

F_MAIN::F_MAIN(Gateway& gateway)
    : form("F_MAIN", kCaption, kWidth, kHeight),
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
      gateway_(gateway) {
    layOut();
    wireHandlers();
    Form_Resize();
}

// Design positions in twips: the top row of window and terminal commands, the link lamp,
// log indicator, daily file name and clock under it, the list with its management buttons,
// the footer; the hidden controls of the products writer and the web page.
void F_MAIN::layOut() {
    // Top row: the windows and the commands on every terminal.
    B_AS400_COMM.move(kMargin, 120, 2175, kButtonHeight);
    B_EVENTS.move(2395, 120, 1575, kButtonHeight);
    B_STATUS.move(4070, 120, 1335, kButtonHeight);
    B_SYNCHRONIZE.move(5505, 120, 1575, kButtonHeight);
    B_PING.move(7180, 120, 2295, kButtonHeight);
    B_TEST.move(9575, 120, 1035, kButtonHeight);
    B_HELP.move(10710, 120, 1035, kButtonHeight);
    B_TEST.setImage("test");
    B_HELP.setImage("help");

    // Second row: link lamp, file logging indicator and daily file name, clock.
    PIC_OFFLINE.move(kMargin, 750, 375, 375);
    PIC_SW_LOG_DISPLAY_0.move(615, 750, 375, 375);
    PIC_SW_LOG_DISPLAY_1.move(1035, 750, 375, 375);  // moved onto index 0 at start-up
    PIC_SW_LOG_DISPLAY_1.setVisible(false);
    SW_LOG.move(1110, 780, 7500, 315);
    AFF_HEURE.move(0, 780, 1215, 315);

    // The terminal list with its header; the management buttons under it, right-aligned.
    Label1_0.move(kMargin, 1230, 6000, 255);
    LST_PRODUIT.move(kMargin, kListTop, 0, 0);
    FR_B_MANAGE.move(0, 0, kManageWidth, kButtonHeight);
    B_SELECT_ALL.move(0, 0, 1935, kButtonHeight);
    B_ADD_TERM.move(2010, 0, kPictureButton, kButtonHeight);
    B_EDIT_TERM.move(2010 + kPictureButton + 75, 0, kPictureButton, kButtonHeight);
    B_REMOVE_TERM.move(2010 + 2 * (kPictureButton + 75), 0, kPictureButton, kButtonHeight);
    B_ADD_TERM.setImage("add");
    B_EDIT_TERM.setImage("edit");
    B_REMOVE_TERM.setImage("remove");
    B_ADD_TERM.setToolTip("Add a new terminal");
    B_EDIT_TERM.setToolTip("Edit the selected terminal");
    B_REMOVE_TERM.setToolTip("Remove the selected terminal");

    PIC_FOOTER.move(0, kHeight - kFooterHeight, kWidth, kFooterHeight);
    PIC_FOOTER.setDockedBottom(true);
    // Smaller, the top row of buttons or the management buttons would drop out of reach.
    form.setMinimumClientSize(kTopRowRight + kMargin,
                              kListTop + kMinimumListHeight + kButtonHeight + kFooterHeight);

    // The products writer's button and the web page group are never shown.
    B_SAVE_CFG.move(kMargin, kHeight - kFooterHeight - kButtonHeight, 1335, kButtonHeight);
    B_OPEN_WEBP.move(7260, 1140, 375, 375);
    B_OPEN_WEBP.setImage("webpage");
    INP_WEBPAGE.move(7740, 1155, 2775, 315);
    Label1_1.move(7740, 1230, 4095, 255);
    URL_WEBPAGE.move(10620, 1200, 1245, 255);
    INP_WEBPAGE.setToolTip(
        "Dans la page Web {[AF0001]} = Valeur de l'affichagel {[IP0001]} = Valeur du IP "
        "{[DE0001]} = Description du Terminal  {[TY0001]} = Type de Terminal");
    URL_WEBPAGE.setText("View Web Page 2");
    for (Control* hidden : std::initializer_list<Control*>{&B_SAVE_CFG, &B_OPEN_WEBP, &INP_WEBPAGE,
                                                           &Label1_1, &URL_WEBPAGE}) {
        hidden->setVisible(false);
    }
}

void F_MAIN::wireHandlers() {
    LST_PRODUIT.onDblClick = [this] { LST_PRODUIT_DblClick(); };
    B_SELECT_ALL.onClick = [this] { B_SELECT_ALL_Click(); };
    B_ADD_TERM.onClick = [this] { B_ADD_TERM_Click(); };
    B_EDIT_TERM.onClick = [this] { B_EDIT_TERM_Click(); };
    B_REMOVE_TERM.onClick = [this] { B_REMOVE_TERM_Click(); };
    B_PING.onClick = [this] { B_PING_Click(); };
    B_SYNCHRONIZE.onClick = [this] { B_SYNCHRONIZE_Click(); };
    B_AS400_COMM.onClick = [this] { B_AS400_COMM_Click(); };
    B_EVENTS.onClick = [this] { B_EVENTS_Click(); };
    B_STATUS.onClick = [this] { B_STATUS_Click(); };
    B_TEST.onClick = [this] { B_TEST_Click(); };
    B_HELP.onClick = [this] { B_HELP_Click(); };
    B_SAVE_CFG.onClick = [this] { B_SAVE_CFG_Click(); };
    B_OPEN_WEBP.onClick = [this] { B_OPEN_WEBP_Click(); };
    TIM_REFRESH.onTimer = [this] { TIM_REFRESH_Timer(); };
    form.onResize = [this] { Form_Resize(); };
    form.onUnload = [this] { Form_Unload(); };
}

}  // namespace plx
