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
    // The gateway's own time of day, that of its event lines, which a page ticks on from.
    json += ",\"clock\":" + jsonString(gateway.platform().now().timeText());
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

}  // namespace plx
