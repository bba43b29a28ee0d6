// The web console's answers: the page, what it reads, and the commands, each the procedure
// its button runs.
#include "console/f_add_product.h"
#include "console/f_main.h"
#include "display/display_road.h"
#include "display/f_test.h"
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "shared/list_entry.h"
#include "shared/numeric_text.h"
#include "web/json_text.h"
#include "web/web_console.h"
#include "web/web_views.h"

namespace plx {
namespace {

const HttpResponse kDone = jsonResponse("{\"ok\":true}");

// The number after "name=" in a query ("since=12"); 0 when it is missing or not a number.
long long queryNumber(const std::string& query, const std::string& name) {
    const std::string key = name + "=";
    for (std::size_t at = 0; at <= query.size();) {
        const std::size_t end = std::min(query.find('&', at), query.size());
        if (query.compare(at, key.size(), key) == 0) {
            const auto number = wholeNumber(query.substr(at + key.size(), end - at - key.size()));
            return number.value_or(0);
        }
        at = end + 1;
    }
    return 0;
}

std::string from(const HttpRequest& request) {
    return " from the web console (" + request.peer + ")";
}

}  // namespace

HttpResponse WebConsole::page(const HttpRequest& request) {
    struct Asset {
        const char* path;
        const char* file;
        const char* type;
    };
    static constexpr Asset kAssets[] = {{"/", "index.html", "text/html; charset=utf-8"},
                                        {"/app.js", "app.js", "text/javascript; charset=utf-8"},
                                        {"/app.css", "app.css", "text/css; charset=utf-8"}};
    for (const Asset& asset : kAssets) {
        if (request.path != asset.path) continue;
        if (auto body = gateway_.platform().embeddedFile(asset.file))
            return {200, asset.type, std::move(*body), {}};
    }
    return errorResponse(404, "No such page");
}

HttpResponse WebConsole::status(const HttpRequest&) {
    return jsonResponse(statusJson(gateway_));
}

HttpResponse WebConsole::terminals(const HttpRequest& request) {
    rows_.refresh(gateway_);
    return jsonResponse(rows_.json(gateway_, queryNumber(request.query, "since")));
}

HttpResponse WebConsole::events(const HttpRequest& request) {
    return jsonResponse(eventsJson(gateway_, queryNumber(request.query, "after")));
}

HttpResponse WebConsole::metrics(const HttpRequest&) {
    return {200, "text/plain; version=0.0.4; charset=utf-8", metricsText(gateway_), {}};
}

HttpResponse WebConsole::healthz(const HttpRequest&) {
    const std::string link = linkStateName(gateway_.state().LINK_STATE);
    return jsonResponse("{\"link\":\"" + link + "\"}", link == "ONLINE" ? 200 : 503);
}

// Whenever the event loop answers, whatever the host link does: a pair's check asks this, so
// that a host that is down does not make both gateways give up in turn.
HttpResponse WebConsole::livez(const HttpRequest&) {
    return jsonResponse("{\"live\":true}");
}

// Prometheus's HTTP service discovery: one target per terminal that has an address, for a
// probe of each display (the blackbox exporter's ICMP).
HttpResponse WebConsole::prometheusTargets(const HttpRequest&) {
    const ListBox& list = gateway_.window<F_MAIN>().LST_PRODUIT;
    std::string targets;
    for (int row = 0; row < list.count(); ++row) {
        const ListEntry entry = ListEntry::of(list.text(row));
        if (entry.address.empty()) continue;
        if (!targets.empty()) targets += ',';
        targets += "{\"targets\":[" + jsonString(entry.address) +
                   "],\"labels\":{\"number\":" + jsonString(entry.number) +
                   ",\"description\":" + jsonString(entry.description) + "}}";
    }
    return jsonResponse("[" + targets + "]");
}

HttpResponse WebConsole::liveWithoutUpgrade(const HttpRequest&) {
    return errorResponse(400, "This address takes WebSocket connections only");
}

HttpResponse WebConsole::test(const HttpRequest& request) {
    std::string error;
    const auto fields = parseJsonObject(request.body, error);
    if (!fields) return errorResponse(400, error);
    static const std::pair<const char*, F_TEST::Test> kTests[] = {{"dash", F_TEST::Test::Dash},
                                                                  {"number", F_TEST::Test::Number},
                                                                  {"time", F_TEST::Test::Time}};
    const auto kind = fields->texts.find("test");
    const auto* test = kind == fields->texts.end() ? nullptr : [&]() -> const F_TEST::Test* {
        for (const auto& [name, value] : kTests) {
            if (kind->second == name) return &value;
        }
        return nullptr;
    }();
    if (!test) return errorResponse(400, "\"test\" must be \"dash\", \"number\" or \"time\"");
    // The page's own selection, by terminal number: the workstation's stays as it is.
    const SharedState& state = gateway_.state();
    std::vector<int> rows;
    const auto numbers = fields->lists.find("terminals");
    if (numbers != fields->lists.end()) {
        for (const long long number : numbers->second) {
            if (number < 0 || number >= kTerminalNumbers || state.TAB_ROW_OF_NO[number] == kNoRow)
                return errorResponse(400, "No terminal " + fourDigits(number) + " in the list");
            rows.push_back(state.TAB_ROW_OF_NO[number]);
        }
    }
    if (rows.empty()) return errorResponse(400, F_MAIN::kNoneSelected);
    gateway_.window<F_TEST>().testRows(*test, rows, from(request));
    return kDone;
}

HttpResponse WebConsole::synchronize(const HttpRequest& request) {
    gateway_.display().synchronize(from(request));
    return kDone;
}

HttpResponse WebConsole::pause(const HttpRequest& request) {
    gateway_.window<F_AS400>().pauseOrResume(from(request));
    return kDone;
}

HttpResponse WebConsole::reset(const HttpRequest& request) {
    gateway_.window<F_AS400>().resetLink(from(request));
    return kDone;
}

namespace {

// While the workstation's modal editor is open, the list is the operator's there.
const char* const kEditorOpen =
    "The terminal list is being edited on the workstation (the terminal editor is open); try "
    "again once it is closed";

}  // namespace

HttpResponse WebConsole::putTerminal(const HttpRequest& request) {
    if (gateway_.exists<F_ADD_PRODUCT>()) return errorResponse(409, kEditorOpen);
    const bool adding = request.method == "POST";
    const int row = adding ? -1 : rowOfPath(request.path);
    if (!adding && row < 0) return errorResponse(404, "No such terminal in the list");
    std::string error;
    const auto fields = parseJsonObject(request.body, error);
    if (!fields) return errorResponse(400, error);
    const auto text = [&fields](const char* name) {
        const auto found = fields->texts.find(name);
        return found == fields->texts.end() ? std::string() : found->second;
    };
    F_MAIN& main = gateway_.window<F_MAIN>();
    const TerminalEntryCheck check = main.storeTerminal(
        row, {text("number"), text("address"), text("description")}, from(request));
    if (!check.accepted) {
        return errorResponse(
            422, check.message.empty() ? "Please give a terminal number" : check.message);
    }
    main.listChanged();
    return jsonResponse("{\"ok\":true,\"entry\":" + jsonString(check.entry) + "}");
}

HttpResponse WebConsole::removeTerminal(const HttpRequest& request) {
    if (gateway_.exists<F_ADD_PRODUCT>()) return errorResponse(409, kEditorOpen);
    const int row = rowOfPath(request.path);
    if (row < 0) return errorResponse(404, "No such terminal in the list");
    F_MAIN& main = gateway_.window<F_MAIN>();
    main.removeRow(row, from(request));
    main.listChanged();
    return kDone;
}

int WebConsole::rowOfPath(const std::string& path) {
    const auto number = wholeNumber(path.substr(path.rfind('/') + 1));
    const SharedState& state = gateway_.state();
    if (!number || *number < 0 || *number >= kTerminalNumbers) return -1;
    const int row = state.TAB_ROW_OF_NO[*number];
    return row == kNoRow || row >= gateway_.window<F_MAIN>().LST_PRODUIT.count() ? -1 : row;
}

}  // namespace plx
