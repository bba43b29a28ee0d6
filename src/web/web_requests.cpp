// The web console's answers: the page, what it reads, and the commands, each the procedure
// its button runs.
#include <algorithm>
#include <cctype>

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

// A terminal number as the API takes it: digits only, no sign, blank or exponent.
std::optional<int> digitsOnly(std::string_view text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    return std::stoi(std::string(text));
}

const char* const kNumberDigitsOnly = "The terminal number in the path must be digits only";

std::string from(const HttpRequest& request) {
    return " from the web console (" + request.peer + ")";
}

}  // namespace

HttpResponse WebConsole::page(const HttpRequest& request) {
    // The route's path names the page's file: "/" its document, "/app.js" its script.
    static constexpr std::pair<std::string_view, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"}};
    const std::string file = request.path == "/" ? "index.html" : request.path.substr(1);
    for (const auto& [ending, type] : kTypes) {
        if (!file.ends_with(ending)) continue;
        if (auto body = gateway_.platform().embeddedFile(file))
            return {200, type, std::move(*body), {}};
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
    ConsoleCounts counts = counts_;
    for (const auto& [reason, count] : server_->refusals()) counts.refusals[reason] += count;
    return {200,
            "text/plain; version=0.0.4; charset=utf-8",
            metricsText(gatewayMetrics(gateway_, counts)),
            {}};
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

HttpResponse WebConsole::live(const HttpRequest& request) {
    std::string upgrade = request.header("upgrade");
    std::transform(upgrade.begin(), upgrade.end(), upgrade.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (upgrade != "websocket")
        return errorResponse(400, "This address takes WebSocket connections only");
    // A page of another site may open a WebSocket to any address: only the console's own
    // page may open this one (a client that is no browser's page sends no origin).
    const std::string origin = request.header("origin");
    const std::string own = address_.substr(0, address_.find(':')) + "://" + request.header("host");
    if (!origin.empty() && origin != own) {
        ++counts_.refusals["origin"];
        return errorResponse(403, "The live stream is for the console's own page");
    }
    HttpResponse accepted{101, {}, {}, {}};
    const std::vector<std::string> offered = offeredProtocols(request);
    if (std::find(offered.begin(), offered.end(), kStreamProtocol) != offered.end())
        accepted.headers.emplace_back("Sec-WebSocket-Protocol", std::string(kStreamProtocol));
    return accepted;
}

HttpResponse WebConsole::test(const HttpRequest& request) {
    std::string error;
    const auto fields = parseJsonObject(request.body, error);
    if (!fields) return errorResponse(400, error);
    static const std::pair<const char*, F_TEST::Test> kTests[] = {{"dash", F_TEST::Test::Dash},
                                                                  {"number", F_TEST::Test::Number},
                                                                  {"time", F_TEST::Test::Time}};
    const auto kind = jsonField<std::string>(*fields, "test", error);
    const auto numbers = jsonField<std::vector<long long>>(*fields, "terminals", error);
    if (!error.empty()) return errorResponse(400, error);
    const auto* test = !kind ? nullptr : [&]() -> const F_TEST::Test* {
        for (const auto& [name, value] : kTests) {
            if (*kind == name) return &value;
        }
        return nullptr;
    }();
    if (!test) return errorResponse(400, "\"test\" must be \"dash\", \"number\" or \"time\"");
    // The page's own selection, by terminal number: the workstation's stays as it is.
    const SharedState& state = gateway_.state();
    std::vector<int> rows;
    for (const long long number : numbers.value_or(std::vector<long long>{})) {
        if (number < 0 || number >= kTerminalNumbers || state.TAB_ROW_OF_NO[number] == kNoRow)
            return errorResponse(400, "No terminal " + fourDigits(number) + " in the list");
        rows.push_back(state.TAB_ROW_OF_NO[number]);
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
    const std::optional<int> row = adding ? -1 : rowOfPath(request.path);
    if (!row) return errorResponse(400, kNumberDigitsOnly);
    if (!adding && *row < 0) return errorResponse(404, "No such terminal in the list");
    std::string error;
    const auto fields = parseJsonObject(request.body, error);
    if (!fields) return errorResponse(400, error);
    const auto number = jsonField<std::string>(*fields, "number", error).value_or("");
    const auto address = jsonField<std::string>(*fields, "address", error).value_or("");
    const auto description = jsonField<std::string>(*fields, "description", error).value_or("");
    if (!error.empty()) return errorResponse(400, error);
    // Read as the editor reads a number, "1e3" would be 1000 and "+3" 3.
    if (!number.empty() && !digitsOnly(number))
        return errorResponse(400, "\"number\" must be digits only");
    const TerminalEntryCheck check = gateway_.window<F_MAIN>().storeTerminal(
        *row, {number, address, description}, from(request));
    if (!check.accepted) {
        return errorResponse(
            422, check.message.empty() ? "Please give a terminal number" : check.message);
    }
    return listChanged(",\"entry\":" + jsonString(check.entry));
}

HttpResponse WebConsole::removeTerminal(const HttpRequest& request) {
    if (gateway_.exists<F_ADD_PRODUCT>()) return errorResponse(409, kEditorOpen);
    const std::optional<int> row = rowOfPath(request.path);
    if (!row) return errorResponse(400, kNumberDigitsOnly);
    if (*row < 0) return errorResponse(404, "No such terminal in the list");
    gateway_.window<F_MAIN>().removeRow(*row, from(request));
    return listChanged({});
}

HttpResponse WebConsole::listChanged(const std::string& entry) {
    const std::string warning = gateway_.window<F_MAIN>().listChanged();
    return jsonResponse(
        "{\"ok\":true,\"saved\":" +
        (warning.empty() ? std::string("true") : "false,\"warning\":" + jsonString(warning)) +
        entry + "}");
}

std::optional<int> WebConsole::rowOfPath(const std::string& path) {
    const auto number = digitsOnly(path.substr(path.rfind('/') + 1));
    if (!number) return std::nullopt;
    const SharedState& state = gateway_.state();
    if (*number >= kTerminalNumbers) return -1;
    const int row = state.TAB_ROW_OF_NO[*number];
    return row == kNoRow || row >= gateway_.window<F_MAIN>().LST_PRODUIT.count() ? -1 : row;
}

}  // namespace plx
