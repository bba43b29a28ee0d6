#include "web/web_views.h"

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "eventlog/f_events.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "web/json_text.h"

namespace plx {
namespace {

std::string secondsSince(long long nowMs, long long thenMs) {
    return thenMs < 0 ? "null" : std::to_string((nowMs - thenMs) / 1000);
}

// "14:05:09 CMD:0001,<...>": the mode is between the first blank and the first colon after it.
std::string modeOf(const std::string& line) {
    const std::size_t start = line.find(' ');
    if (start == std::string::npos) return {};
    const std::size_t end = line.find(':', start + 1);
    return end == std::string::npos ? std::string() : line.substr(start + 1, end - start - 1);
}

}  // namespace

HttpResponse jsonResponse(std::string body, int status) {
    return {status, "application/json", std::move(body), {}};
}

HttpResponse errorResponse(int status, const std::string& message) {
    return jsonResponse("{\"error\":" + jsonString(message) + "}", status);
}

std::string statusJson(Gateway& gateway) {
    F_AS400& link = gateway.window<F_AS400>();
    const Statistics& stats = gateway.state().STATS;
    const long long nowMs = gateway.platform().uptimeMs();
    const bool online = gateway.state().LINK_STATE == ONLINE;
    // Over TLS the lamp's tooltip says what was trusted; in clear it is empty.
    const std::string& tls = link.PIC_ONLINE.toolTip();
    std::string json = "{\"link\":\"" + linkStateName(gateway.state().LINK_STATE) + "\"";
    json += ",\"tls\":" + std::string(online && !tls.empty() ? jsonString(tls) : "null");
    json += ",\"host\":" + jsonString(link.INP_IP.text() + ":" + link.INP_PORT.text());
    json += ",\"status\":" + jsonString(link.AFF_STATUS.caption());
    json += ",\"sinceSeconds\":" + secondsSince(nowMs, stats.linkSinceMs);
    json += ",\"hostDataSeconds\":" + secondsSince(nowMs, stats.hostDataAtMs);
    json += ",\"heart\":" + std::string(link.PIC_HEART.visible() ? "true" : "false");
    json += ",\"editorOpen\":" + std::string(gateway.exists<F_ADD_PRODUCT>() ? "true" : "false");
    json += ",\"caption\":" + jsonString(F_MAIN::kCaption);
    return json + ",\"uptimeSeconds\":" + std::to_string(nowMs / 1000) + "}";
}

std::string statusKey(Gateway& gateway) {
    F_AS400& link = gateway.window<F_AS400>();
    return linkStateName(gateway.state().LINK_STATE) + '\n' + link.AFF_STATUS.caption() + '\n' +
           link.PIC_ONLINE.toolTip() + (link.PIC_HEART.visible() ? "\n1" : "\n0") +
           (gateway.exists<F_ADD_PRODUCT>() ? "1" : "0");
}

std::string eventsJson(Gateway& gateway, long long after) {
    F_EVENTS& events = gateway.window<F_EVENTS>();
    const long long newest = events.linesShown();
    const int count = events.LST_EVENTS.count();
    std::string json = "{\"newest\":" + std::to_string(newest) + ",\"events\":[";
    for (int i = count - 1; i >= 0; --i) {
        const long long id = newest - (count - 1 - i);
        if (id <= after) break;
        const std::string& line = events.LST_EVENTS.text(i);
        if (i != count - 1) json += ',';
        json += "{\"id\":" + std::to_string(id) + ",\"mode\":" + jsonString(modeOf(line)) +
                ",\"line\":" + jsonString(line) + "}";
    }
    return json + "]}";
}

std::string metricsText(Gateway& gateway) {
    const Statistics& s = gateway.state().STATS;
    const long long nowMs = gateway.platform().uptimeMs();
    std::string text;
    const auto metric = [&text](const std::string& name, const char* type, const char* help,
                                const std::string& samples) {
        text += "# HELP plyxen400_" + name + " " + help + "\n# TYPE plyxen400_" + name + " " +
                type + "\n" + samples;
    };
    const auto sample = [](const std::string& name, long long value) {
        return "plyxen400_" + name + " " + std::to_string(value) + "\n";
    };
    const auto drop = [](const char* cause, long long value) {
        return "plyxen400_host_drops_total{cause=\"" + std::string(cause) + "\"} " +
               std::to_string(value) + "\n";
    };
    metric("link_state", "gauge", "Host link: 0 OFFLINE, 1 ONLINE, 2 PAUSE.",
           sample("link_state", gateway.state().LINK_STATE));
    metric("host_connects_total", "counter", "Connections to the host made.",
           sample("host_connects_total", s.connects));
    metric("host_drops_total", "counter", "Links lost while ONLINE, by cause.",
           drop("host_close", s.dropsHostClose) + drop("error", s.dropsError) +
               drop("watchdog", s.dropsWatchdog) + drop("operator", s.dropsOperator));
    metric("host_received_bytes_total", "counter", "Bytes received from the host.",
           sample("host_received_bytes_total", s.hostBytes));
    metric("host_frames_total", "counter", "Display commands cut out of the host stream.",
           sample("host_frames_total", s.hostFrames));
    metric("commands_sent_total", "counter", "Display commands sent to terminals.",
           sample("commands_sent_total", s.commandsSent));
    metric("commands_already_shown_total", "counter",
           "Display commands dropped because the terminal already showed them.",
           sample("commands_already_shown_total", s.commandsAlreadyShown));
    metric("unknown_terminal_warnings_total", "counter",
           "Host commands naming a terminal that is not in the list.",
           sample("unknown_terminal_warnings_total", s.unknownTerminals));
    metric("log_write_failures_total", "counter", "Event lines the day's log file refused.",
           sample("log_write_failures_total", s.logWriteFailures));
    metric("list_write_failures_total", "counter", "Failed writes of Products.cfg.",
           sample("list_write_failures_total", s.listWriteFailures));
    metric("journal_dropped_lines_total", "counter", "Journal lines dropped for a slow reader.",
           sample("journal_dropped_lines_total", gateway.platform().journalLinesDropped()));
    metric("host_data_age_seconds", "gauge", "Seconds since the host last sent data.",
           "plyxen400_host_data_age_seconds " +
               (s.hostDataAtMs < 0 ? std::string("NaN")
                                   : std::to_string((nowMs - s.hostDataAtMs) / 1000)) +
               "\n");
    metric("uptime_seconds", "gauge", "Seconds since the gateway started.",
           sample("uptime_seconds", nowMs / 1000));
    metric("terminals", "gauge", "Terminals in the list.",
           sample("terminals", gateway.window<F_MAIN>().LST_PRODUIT.count()));
    return text;
}

}  // namespace plx
