#pragma once
// A gateway on the fake platform, online, for the targets that fuzz what the windows do.

#include <string>
#include <vector>

#include "console/f_main.h"
#include "fuzz_check.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "platform/fake/fake_platform.h"

namespace plx::fuzz {

// A started gateway with these terminals, online, the sign-on not yet due.
struct OnlineGateway {
    explicit OnlineGateway(const std::vector<std::string>& terminals) {
        gateway.start();
        for (const std::string& entry : terminals)
            gateway.window<F_MAIN>().LST_PRODUIT.addItem(entry);
        FUZZ_CHECK(gateway.window<F_MAIN>().SYNC_TABLES());
        platform.advance(F_AS400::kConnectPeriodMs);
        platform.tcp().acceptConnection();
        platform.runEvents();
        FUZZ_CHECK(gateway.state().LINK_STATE == ONLINE);
    }
    fake::FakePlatform platform;
    Gateway gateway{platform};
};

// The gateway's shut-down, which ends a real process, as a call that returns.
inline void shutDown(Gateway& gateway) {
    try {
        gateway.shutDown();
    } catch (const fake::ProcessEnded&) {
    }
}

}  // namespace plx::fuzz
