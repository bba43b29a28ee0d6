// The automatic sign-on.
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "hostlink/password_mask.h"
#include "shared/numeric_text.h"

namespace plx {

void F_AS400::TIM_TX_USR_PW_Timer() {
    if (TIM_TX_USR_PW.interval() == 0) return;
    TIM_TX_USR_PW.setInterval(0);  // once per connection

    const std::string user = trimSpaces(INP_USR.text());
    const std::string password = trimSpaces(INP_PSW.text());
    std::string logged;
    if (TCPAS400->state() != TcpClientPort::State::Connected) {
        logged = "Login not sent: no connection";
    } else if (!TCPAS400->send(user + '\t' + password + '\r')) {
        logged = "Login not sent: the send failed";
    } else {
        // The password goes to the host, never to the event window or the log file, nor
        // does its length: only whether there was one.
        logged = user + "{TAB}" + (password.empty() ? "" : kPasswordMask) + "{ENTER}";
    }
    gateway_.eventLog().ADD_EVENTS(-1, "Login", logged, true);
}

}  // namespace plx
