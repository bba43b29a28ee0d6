#include "shared/event_nesting.h"

#include "platform/platform.h"

namespace plx {

template <class Run>
void EventNesting::nest(bool pumps, const Run& run) {
    ++depth_;
    if (pumps) ++pumping_;
    run();
    if (pumps) --pumping_;
    if (--depth_ == 0 && onUnwound) onUnwound();
}

void EventNesting::pump() {
    nest(true, [this] { platform_.processPendingEvents(); });
}

void EventNesting::awaitWritable(UdpSocketPort& socket, int timeoutMs) {
    nest(true, [&socket, timeoutMs] { socket.awaitWritable(timeoutMs); });
}

void EventNesting::runModal(Form& form, const Form& owner) {
    nest(false, [&] { platform_.runModal(form, owner); });
}

}  // namespace plx
