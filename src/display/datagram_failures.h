#pragma once
// Why a datagram did not leave: each failure's reason as the metrics label it, and as the
// terminal's Warning tells it ("Datagrams cannot be sent to ...: <told>").

#include <string_view>

#include "platform/platform.h"

namespace plx {

struct DatagramFailure {
    DatagramOutcome outcome;
    std::string_view reason;  // plyxen400_datagrams_failed_total{reason=...}
    std::string_view told;
};

inline constexpr DatagramFailure kDatagramFailures[] = {
    {DatagramOutcome::BadAddress, "address", "not an IPv4 address"},
    {DatagramOutcome::NoRoute, "no_route", "no route to it"},
    {DatagramOutcome::Refused, "refused", "refused by the system"},
    // The socket took none for a second: given up, not failed (DisplayRoad::kStalledAfterMs).
    {DatagramOutcome::Busy, "stalled", "the network took none for a second"},
    {DatagramOutcome::Failed, "other", "the system failed to send them"},
};

}  // namespace plx
