#include "platform/http_admission.h"

#include "platform/ipv4.h"

namespace plx {

HttpAdmission::Verdict HttpAdmission::admit(const std::string& peer) {
    if (isLoopbackAddress(peer)) {
        if (open_ >= kMaxConnections) return Verdict::Busy;
        ++open_;
        return Verdict::Admitted;
    }
    int& mine = perPeer_[peer];
    if (mine >= kMaxPerPeer) return Verdict::PeerLimit;
    if (open_ >= kMaxConnections || beyondLoopback_ >= kMaxConnections - kLoopbackReserve) {
        if (mine == 0) perPeer_.erase(peer);
        return Verdict::Busy;
    }
    ++mine;
    ++beyondLoopback_;
    ++open_;
    return Verdict::Admitted;
}

void HttpAdmission::release(const std::string& peer) {
    --open_;
    if (isLoopbackAddress(peer)) return;
    --beyondLoopback_;
    if (--perPeer_[peer] == 0) perPeer_.erase(peer);
}

}  // namespace plx
