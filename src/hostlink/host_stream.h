#pragma once
// The host's stream below the windows: what one connection keeps from one read to the next
// (the telnet walk, the unfinished frame, an echo of the password held back), and what each
// read sets off, in this order: counted; shown, the password masked (its "RX-AS400" line
// when logged, and the receive display told); its telnet commands answered; each frame it
// completes handed to the display road's dispatcher.

#include <functional>
#include <string>

#include "hostlink/frame_scanner.h"
#include "hostlink/password_mask.h"
#include "hostlink/telnet_negotiation.h"

namespace plx {

class DisplayRoad;
class EventLog;
class Platform;
class TcpClientPort;
struct SharedState;

class HostStream {
  public:
    // What a read takes from the host link at the moment of use.
    struct Reading {
        const std::string& password;  // never shown, wherever the host sends it back
        bool logged;                  // "Log AS-400 communication": each read is an event
        TcpClientPort& host;          // where the telnet answers go
    };

    HostStream(Platform& platform, SharedState& state, EventLog& log, DisplayRoad& display);
    HostStream(const HostStream&) = delete;
    HostStream& operator=(const HostStream&) = delete;

    // One read of the stream; its frames' datagrams have been sent when it returns.
    void read(const std::string& chunk, const Reading& reading);
    // The connection's stream has ended: nothing under way is kept, and what was held back
    // as a possible beginning of the password is shown masked.
    void end(bool logged);

    // The receive display: told of each piece of the stream as it may be shown.
    std::function<void(const std::string& shown)> onShown;
    // Told of each frame as it goes to the dispatcher: what the replay reports on.
    std::function<void(const std::string& frame)> onFrame;

  private:
    void show(const std::string& shown, bool logged);

    Platform& platform_;
    SharedState& state_;
    EventLog& log_;
    DisplayRoad& display_;
    FrameScanner frames_;
    TelnetNegotiation telnet_;
    PasswordMask passwordMask_;
};

}  // namespace plx
