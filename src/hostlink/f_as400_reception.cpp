// Reception of the host stream: watchdog, log, receive display, negotiation, frames.
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "shared/global.h"
#include "shared/numeric_text.h"

namespace plx {

void F_AS400::TCPAS400_DataArrival() {
    WATCHDOG_COUNT = 0;
    readNextChunk();
}

void F_AS400::readNextChunk() {
    // Nested inside the dispatch of an older chunk: its frames must go first, so the
    // newer data waits in the socket until that dispatch is done.
    if (receiving_) return;
    // In PAUSE the data stays unread; the PAUSE test is made before each chunk.
    if (gateway_.state().LINK_STATE == PAUSE || !TCPAS400->hasPendingData()) return;
    if (discardingOldStream_) {
        TCPAS400->readAll();
        return;
    }
    receiving_ = true;
    handleChunk(TCPAS400->readAll());
    receiving_ = false;
    // Data that came during the dispatch is read from the event loop, after the operator's
    // input that waited meanwhile: a host that never pauses cannot freeze the windows.
    if (TCPAS400->hasPendingData()) gateway_.platform().post([this] { readNextChunk(); });
}

void F_AS400::handleChunk(const std::string& chunk) {
    Statistics& stats = gateway_.state().STATS;
    stats.hostBytes += static_cast<long long>(chunk.size());
    stats.hostDataAtMs = gateway_.platform().uptimeMs();
    // Whatever the host sends back, the password it was sent never shows.
    showReceived(passwordMask_.shown(chunk, trimSpaces(INP_PSW.text())));
    GEST_TELNET(chunk);
    // Each frame's datagrams are sent (events pumped) before the next frame goes.
    DisplayRoad& display = gateway_.display();
    for (const std::string& frame : frames_.scan(chunk)) {
        ++stats.hostFrames;
        display.GEST_CMD(frame);
    }
}

void F_AS400::showReceived(const std::string& shown) {
    if (shown.empty()) return;  // all of it held back, to be shown with the next read
    if (SW_LOG.value() == 1) {
        gateway_.window<F_EVENTS>().ADD_EVENTS(-1, "RX-AS400", ESCAPE_CTRL_CHARS(shown), false);
    }
    if (SW_DISPLAY.value() == 1) {
        if (AFF_RX_400.text().size() > kReceiveDisplayLimit) AFF_RX_400.setText({});
        AFF_RX_400.appendAtEnd(shown);
    }
}

void F_AS400::endOfStream() {
    frames_.reset();
    telnet_.reset();
    showReceived(passwordMask_.end());
}

void F_AS400::SW_DISPLAY_Click() {
    AFF_RX_400.setVisible(SW_DISPLAY.value() == 1);
}

void F_AS400::B_CLEAR_Click() {
    AFF_RX_400.setText({});
}

}  // namespace plx
