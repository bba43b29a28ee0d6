// Supervision of the host connection: state pictures, status, connection and watchdog
// ticks, socket events, pause and reset.
#include <algorithm>

#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "hostlink/pem_certificates.h"
#include "hostlink/service_status.h"
#include "shared/numeric_text.h"
#include "tools/dns.h"

namespace plx {

void F_AS400::countDrop(long long Statistics::*cause) {
    if (gateway_.state().LINK_STATE == ONLINE) ++(gateway_.state().STATS.*cause);
}

void F_AS400::SET_LINK_STATE(std::uint8_t THE_STATE) {
    if (gateway_.state().LINK_STATE != THE_STATE)
        gateway_.state().STATS.linkSinceMs = gateway_.platform().uptimeMs();
    gateway_.state().LINK_STATE = THE_STATE;
    PIC_ONLINE.setVisible(THE_STATE == ONLINE);
    PIC_OFFLINE.setVisible(THE_STATE == OFFLINE);
    PIC_PAUSE.setVisible(THE_STATE == PAUSE);
    PIC_HEART.setVisible(THE_STATE == ONLINE);
    if (THE_STATE != ONLINE) PIC_HEARTP.setVisible(false);
    PIC_HEART_BREAK.setVisible(THE_STATE != ONLINE);

    // The main window's indicator mirrors the lamp; its tag names the state, and so does its
    // tooltip, so that the colours need not be learned (over TLS it tells what was trusted).
    const Picture& lamp = THE_STATE == ONLINE  ? PIC_ONLINE
                          : THE_STATE == PAUSE ? PIC_PAUSE
                                               : PIC_OFFLINE;
    const std::string state = linkStateName(THE_STATE);
    Picture& indicator = gateway_.window<F_MAIN>().PIC_OFFLINE;
    indicator.setImage(lamp.image());
    indicator.setToolTip(lamp.toolTip().empty() ? state : state + "\n" + lamp.toolTip());
    indicator.setTag(state);
    tellServiceManager();
}

void F_AS400::SHOW_STATUS(const std::string& THE_STATUS, EventKind kind) {
    AFF_STATUS.setCaption(THE_STATUS);
    gateway_.eventLog().ADD_EVENTS(-1, "Status", THE_STATUS, true, kind);
    tellServiceManager();
}

void F_AS400::tellServiceManager() {
    if (serviceStatusHeld_) return;
    const TcpClientPort::State socket = TCPAS400->state();
    const std::string text = serviceStatusText(
        {gateway_.state().LINK_STATE, INP_IP.text(), INP_PORT.text(),
         socket == TcpClientPort::State::Connecting, socket == TcpClientPort::State::Closed,
         AFF_STATUS.caption(), security_ != Security::Clear});
    if (text == serviceStatus_) return;
    serviceStatus_ = text;
    gateway_.platform().serviceStatus(text);
}

void F_AS400::TIM_CONNECT_Timer() {
    if (gateway_.state().LINK_STATE != OFFLINE) return;
    discardingOldStream_ = false;  // the socket is closed by now, or closed here

    if (TCPAS400->state() != TcpClientPort::State::Closed) {
        // Whatever is under way (a connect, a dead connection) is closed by this tick and
        // the connect waits for the next one.
        SHOW_STATUS("Try to close");
        TCPAS400->close();
        endOfStream();
        return;
    }

    const std::string& field = INP_IP.text();
    // Three full stops: taken as a dotted address as it stands, without resolution.
    const std::string address = std::count(field.begin(), field.end(), '.') == 3
                                    ? trimSpaces(field)
                                    : GET_HOST_IP(gateway_.platform(), field);
    INP_IP.setToolTip(address);
    gateway_.state().CONNECT_ADDRESS = address;
    const std::optional<std::uint16_t> port = portNumber(INP_PORT.text());
    std::string securityProblem;
    std::optional<TlsSettings> tls;
    if (!address.empty() && port) tls = hostSecurity(*port, securityProblem);
    if (tls) TCPAS400->connectTo(address, *port, *tls);
    SHOW_STATUS("Try to connect to " + address);
    // An attempt that cannot even start leaves the link OFFLINE with the socket closed: the
    // next tick tries again.
    if (address.empty()) {
        SHOW_STATUS("Error: No remote host given", EventKind::LinkLost);
    } else if (!port) {
        SHOW_STATUS("Error: Invalid remote port \"" + INP_PORT.text() + "\"", EventKind::LinkLost);
    } else if (!tls) {
        SHOW_STATUS("Error: " + securityProblem, EventKind::LinkLost);
    }
}

void F_AS400::TIM_WATCHDOG_Timer() {
    if (!PIC_ONLINE.visible()) return;
    ++WATCHDOG_COUNT;
    if (WATCHDOG_COUNT == 1) {
        // First tick since host data: the heart beats once.
        const bool beat = !PIC_HEART.visible();
        PIC_HEART.setVisible(beat);
        PIC_HEARTP.setVisible(!beat);
    }
    if (WATCHDOG_COUNT >= kWatchdogLimit) {
        WATCHDOG_COUNT = 0;
        countDrop(&Statistics::dropsWatchdog);
        SET_LINK_STATE(OFFLINE);
        SHOW_STATUS("Reset connection by Watchdog", EventKind::LinkLost);
    }
}

void F_AS400::TCPAS400_Connect() {
    endOfStream();
    discardingOldStream_ = false;
    const bool encrypted = security_ != Security::Clear;
    PIC_ONLINE.setToolTip(!encrypted ? ""
                          : security_ == Security::PinnedCertificates
                              ? "Encrypted (TLS), host certificate checked against " +
                                    kHostCertificatesFile
                              : "Encrypted (TLS), host certificate checked against the system's "
                                "trusted authorities");
    // Told ONLINE at once: between the status and the state the link would read as
    // "OFFLINE, next attempt ... (Connected)".
    ++gateway_.state().STATS.connects;
    serviceStatusHeld_ = true;
    SHOW_STATUS(encrypted ? "Connected (TLS)" : "Connected");
    serviceStatusHeld_ = false;
    SET_LINK_STATE(ONLINE);
    TIM_TX_USR_PW.setInterval(kSignOnDelayMs);
}

void F_AS400::TCPAS400_Close() {
    // The socket itself is closed by the next connection tick.
    endOfStream();
    countDrop(&Statistics::dropsHostClose);
    SET_LINK_STATE(OFFLINE);
    SHOW_STATUS("Close connection");
}

void F_AS400::TCPAS400_Error(const std::string& description) {
    SHOW_STATUS("Error: " + description, EventKind::LinkLost);
    TCPAS400->close();
    endOfStream();
    countDrop(&Statistics::dropsError);
    SET_LINK_STATE(OFFLINE);
}

void F_AS400::B_PAUSE_Click() {
    pauseOrResume({});
}

void F_AS400::pauseOrResume(const std::string& origin) {
    if (gateway_.state().LINK_STATE == PAUSE) {
        SHOW_STATUS("Reset connection PAUSE finish" + origin);
        SET_LINK_STATE(OFFLINE);
        // What waited in the socket during the pause is old screens: it is dropped unread, and
        // so is whatever this connection still brings until the next tick closes it.
        discardingOldStream_ = TCPAS400->state() != TcpClientPort::State::Closed;
    } else {
        countDrop(&Statistics::dropsOperator);
        SET_LINK_STATE(PAUSE);
        SHOW_STATUS("PAUSE" + origin);
    }
}

void F_AS400::B_RESET_TERM_Click() {
    resetLink({});
}

void F_AS400::resetLink(const std::string& origin) {
    countDrop(&Statistics::dropsOperator);
    SET_LINK_STATE(OFFLINE);
    SHOW_STATUS("Reset connection" + origin);
}

}  // namespace plx
