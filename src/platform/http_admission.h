#pragma once
// Who may open one more connection to the web console's server. Every connection, live
// streams included, counts against one cap; a few slots are kept for this machine, so that
// monitoring on loopback still gets in while peers on the network hold the rest; and each
// address beyond loopback may hold only a few.

#include <map>
#include <string>

namespace plx {

class HttpAdmission {
  public:
    static constexpr int kMaxConnections = 64;
    static constexpr int kLoopbackReserve = 8;  // of kMaxConnections, for 127.0.0.0/8 and ::1
    static constexpr int kMaxPerPeer = 8;       // beyond loopback; a browser opens six at most
    enum class Verdict { Admitted, Busy, PeerLimit };

    // Admitted counts the connection until release() is told its peer.
    Verdict admit(const std::string& peer);
    void release(const std::string& peer);

  private:
    int open_ = 0;
    int beyondLoopback_ = 0;
    std::map<std::string, int> perPeer_;
};

}  // namespace plx
