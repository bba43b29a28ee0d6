#pragma once
// The event loop run from inside a handler: the pump after a datagram, the wait for a full
// socket, a modal dialog. Counted, so that what must not happen inside one (a released window
// destroyed, a command from outside the windows) can wait until the outermost has returned.

#include <functional>

namespace plx {

class Form;
class Platform;
class UdpSocketPort;

class EventNesting {
  public:
    explicit EventNesting(Platform& platform) : platform_(platform) {}
    EventNesting(const EventNesting&) = delete;
    EventNesting& operator=(const EventNesting&) = delete;

    // Lets pending events run once: the nesting point after each datagram.
    void pump();
    // Lets events run as a pump does until the socket may take datagrams again, or for
    // timeoutMs at most: where a datagram waits for a slow link.
    void awaitWritable(UdpSocketPort& socket, int timeoutMs);
    // Shows a form modally over its owner and waits until it is hidden; events go on
    // meanwhile.
    void runModal(Form& form, const Form& owner);

    // Inside a pump or a wait: a dispatch (a chunk's frames, a Synchronize, a test) is under
    // way further up.
    bool dispatching() const { return pumping_ > 0; }
    // Inside a pump, a wait or a modal dialog.
    bool nested() const { return depth_ > 0; }
    // Runs each time the outermost of them has returned.
    std::function<void()> onUnwound;

  private:
    template <class Run>
    void nest(bool pumps, const Run& run);

    Platform& platform_;
    int depth_ = 0;
    int pumping_ = 0;
};

}  // namespace plx
