// Reception of the host stream: watchdog, PAUSE, the read into the host stream, the receive
// display.
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "hostlink/host_stream.h"
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
    gateway_.hostStream().read(TCPAS400->readAll(),
                               {trimSpaces(INP_PSW.text()), SW_LOG.value() == 1, *TCPAS400});
    receiving_ = false;
    // Data that came during the dispatch is read from the event loop, after the operator's
    // input that waited meanwhile: a host that never pauses cannot freeze the windows.
    if (TCPAS400->hasPendingData()) gateway_.platform().post([this] { readNextChunk(); });
}

void F_AS400::showOnDisplay(const std::string& shown) {
    if (SW_DISPLAY.value() != 1) return;
    if (AFF_RX_400.text().size() > kReceiveDisplayLimit) AFF_RX_400.setText({});
    AFF_RX_400.appendAtEnd(shown);
}

void F_AS400::endOfStream() {
    gateway_.hostStream().end(SW_LOG.value() == 1);
}

void F_AS400::SW_DISPLAY_Click() {
    AFF_RX_400.setVisible(SW_DISPLAY.value() == 1);
}

void F_AS400::B_CLEAR_Click() {
    AFF_RX_400.setText({});
}

}  // namespace plx
