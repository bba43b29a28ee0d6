#include "web/web_views.h"

#include "console/f_add_product.h"
#include "console/f_main.h"
#include "eventlog/event_log.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "web/json_text.h"

namespace plx {
namespace {

std::string secondsSince(long long nowMs, long long thenMs) {
    return thenMs < 0 ? "null" : std::to_string((nowMs - thenMs) / 1000);
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
    const EventLog& events = gateway.eventLog();
    const long long newest = events.linesShown();
    const int count = events.count();
    std::string json = "{\"newest\":" + std::to_string(newest) + ",\"events\":[";
    for (int i = count - 1; i >= 0; --i) {
        const long long id = newest - (count - 1 - i);
        if (id <= after) break;
        if (i != count - 1) json += ',';
        json += "{\"id\":" + std::to_string(id) + ",\"mode\":" + jsonString(events.event(i).mode) +
                ",\"line\":" + jsonString(events.line(i)) + "}";
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
    const auto failed = [](const char* reason, long long value) {
        return "plyxen400_datagrams_failed_total{reason=\"" + std::string(reason) + "\"} " +
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
    metric("datagrams_sent_total", "counter", "Datagrams handed to the network.",
           sample("datagrams_sent_total", s.datagramsSent));
    metric(
        "datagrams_failed_total", "counter", "Datagrams given up, by reason.",
        failed("address", s.datagramsFailedAddress) + failed("no_route", s.datagramsFailedNoRoute) +
            failed("refused", s.datagramsFailedRefused) +
            failed("stalled", s.datagramsFailedStalled) + failed("other", s.datagramsFailedOther));
    metric("datagram_send_waits_total", "counter", "Waits for a full socket to take datagrams.",
           sample("datagram_send_waits_total", s.datagramSendWaits));
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
