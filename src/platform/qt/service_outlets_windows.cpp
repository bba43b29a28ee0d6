#include <io.h>

#include "platform/qt/service_outlets.h"

namespace plx::qtp {

// Windows has no journal stream and no notification socket: standard error, where there is
// one, is the console's.
ErrorOutlet openErrorOutlet() {
    return ErrorOutlet{.fd = 2};
}

long writeWithoutWaiting(const ErrorOutlet& outlet, std::string_view bytes) {
    const int written = ::_write(outlet.fd, bytes.data(), static_cast<unsigned>(bytes.size()));
    return written < 0 ? -1 : written;
}

void notifyServiceManager(std::string_view) {}

int watchdogPingMs() {
    return 0;
}

}  // namespace plx::qtp
