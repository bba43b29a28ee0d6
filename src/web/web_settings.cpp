#include "web/web_settings.h"

#include "platform/ipv4.h"
#include "shared/numeric_text.h"
#include "shared/text_lines.h"

namespace plx {

WebConsoleSettings readWebConsoleSettings(std::string_view content) {
    WebConsoleSettings settings;
    int lineNumber = 0;
    for (const std::string& raw : splitLines(std::string(content))) {
        ++lineNumber;
        const std::string line = trimSpaces(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line == "read-token") {
            settings.readToken = true;
            continue;
        }
        const std::size_t colon = line.rfind(':');
        if (line.rfind("listen ", 0) != 0 || colon == std::string::npos) {
            settings.problem = where + "expected \"listen ADDRESS:PORT\" or \"read-token\"";
            return settings;
        }
        const std::string address = trimSpaces(line.substr(7, colon - 7));
        const auto bytes = parseDottedIPv4(address);
        const auto port = portNumber(line.substr(colon + 1));
        if (!bytes) {
            settings.problem = where + "\"" + address + "\" is not an IPv4 address";
            return settings;
        }
        if (!port) {
            settings.problem = where + "\"" + line.substr(colon + 1) + "\" is not a port";
            return settings;
        }
        // Written back in plain decimal, as the address parts were read ("010" is ten).
        settings.address = std::to_string((*bytes)[0]) + "." + std::to_string((*bytes)[1]) + "." +
                           std::to_string((*bytes)[2]) + "." + std::to_string((*bytes)[3]);
        settings.port = *port;
    }
    return settings;
}

bool sameSecret(std::string_view given, std::string_view expected) {
    // Every character of the expected secret is looked at, whatever the given one holds.
    unsigned difference = given.size() == expected.size() ? 0U : 1U;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char other = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(other ^ expected[i]);
    }
    return difference == 0 && !expected.empty();
}

}  // namespace plx
